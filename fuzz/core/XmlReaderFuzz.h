#pragma once

#include <cstddef>
#include <cstdint>

namespace sds {
namespace fuzz {

// Reads the bytes as an XML document from memory, writes the tree back and
// reads that again; aborts when the second tree is not the first (or what
// the writer wrote does not load).
int FuzzXmlReader(const std::uint8_t* data, std::size_t size);

} // namespace fuzz
} // namespace sds
