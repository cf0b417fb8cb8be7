#pragma once

#include <cstddef>
#include <cstdint>

namespace sds {
namespace fuzz {

// Reads the bytes as a physics-editor file. A file it accepts must hold only
// indices that point at records of the file, and must come out the same when
// written and read again; otherwise it aborts.
int FuzzPhsReader(const std::uint8_t* data, std::size_t size);

} // namespace fuzz
} // namespace sds
