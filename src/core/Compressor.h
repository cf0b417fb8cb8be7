#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace sds {

// Inflates the zlib streams of the embedded default files.
class CCompressor
{
public:
    // A stream that cannot be inflated.
    class CException : public std::runtime_error
    {
    public:
        explicit CException(const std::string& message) : std::runtime_error(message) {}
    };

    // The whole inflated content of one zlib stream. A corrupt or truncated
    // stream throws "Could not inflate. " and the error text.
    static std::string Inflate(const unsigned char* data, std::size_t size);
    // "Error code <code>: <meaning>".
    static std::string GetErrorText(int code);
};

} // namespace sds
