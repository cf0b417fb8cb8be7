#include "core/WallClock.h"

#include <chrono>

namespace sds {

std::uint64_t GetWallClockMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace sds
