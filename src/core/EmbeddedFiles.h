#pragma once

#include <cstddef>

namespace sds {

// A default file carried inside the program: one zlib stream of the file's bytes.
struct CEmbeddedFile
{
    const char* Path;
    const unsigned char* Data;
    std::size_t Size;
};

// Generated at build time from conf/ and data/ (tools/embed_files).
extern const CEmbeddedFile g_EmbeddedFiles[];
extern const std::size_t g_EmbeddedFileCount;

} // namespace sds
