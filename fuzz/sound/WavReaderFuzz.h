#pragma once

#include <cstddef>
#include <cstdint>

namespace sds {
namespace fuzz {

// Loads the bytes as a WAV file and reads back everything the sound manager
// would; aborts when what comes back does not fit the input.
int FuzzWavReader(const std::uint8_t* data, std::size_t size);

} // namespace fuzz
} // namespace sds
