#pragma once

#include <cstddef>
#include <cstdint>

namespace sds {
namespace fuzz {

// Reads the bytes as a surface-object placement file: the header, the tile
// table and every tile's groups. Any input must end without a crash.
int FuzzSoReader(const std::uint8_t* data, std::size_t size);

} // namespace fuzz
} // namespace sds
