#pragma once

#include <cstddef>
#include <cstdint>

namespace sds {
namespace fuzz {

// Reads the bytes as the path data of a canopy curve. Data it accepts must
// hold a move and whole cubic segments, and the curve drawn from it over a
// fixed axes box must give finite values; otherwise it aborts.
int FuzzSvgPath(const std::uint8_t* data, std::size_t size);

} // namespace fuzz
} // namespace sds
