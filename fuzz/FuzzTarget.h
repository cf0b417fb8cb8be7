#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// A fuzz entry is a plain function (data, size) -> 0 that must not crash on
// any input. The libFuzzer build (SDS_LIBFUZZER) exports it as
// LLVMFuzzerTestOneInput; the tests call it by name to replay the seed corpus.
#ifdef SDS_LIBFUZZER
#define SDS_FUZZ_EXPORT(entry)                                                                     \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)              \
    {                                                                                              \
        return entry(data, size);                                                                  \
    }
#else
#define SDS_FUZZ_EXPORT(entry)
#endif

namespace sds {
namespace fuzz {

// A broken promise of the code under test: stops the run, so the fuzzer keeps the input.
inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace fuzz
} // namespace sds
