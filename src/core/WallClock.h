#pragma once

#include <cstdint>

namespace sds {

// Wall-clock milliseconds from a steady clock with an arbitrary origin. Every
// delay and fade the program measures uses this, never processor time.
std::uint64_t GetWallClockMs();

} // namespace sds
