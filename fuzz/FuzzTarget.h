#pragma once

#include <cstddef>
#include <cstdint>

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
