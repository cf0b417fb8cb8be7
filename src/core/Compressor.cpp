#include "core/Compressor.h"

#include <zlib.h>

namespace sds {

namespace {

constexpr std::size_t kChunkSize = 1024;

} // namespace

std::string CCompressor::GetErrorText(int code)
{
    const char* meaning = "code is unknown";
    switch (code) {
    case Z_VERSION_ERROR: meaning = "version error"; break;
    case Z_BUF_ERROR: meaning = "buffer error"; break;
    case Z_MEM_ERROR: meaning = "memory error"; break;
    case Z_DATA_ERROR: meaning = "data error"; break;
    case Z_STREAM_ERROR: meaning = "stream error"; break;
    case Z_ERRNO: meaning = "error"; break;
    case Z_NEED_DICT: meaning = "need dictionary error"; break;
    default: break;
    }
    return "Error code " + std::to_string(code) + ": " + meaning;
}

std::string CCompressor::Inflate(const unsigned char* data, std::size_t size)
{
    z_stream stream = {};
    const int initResult = inflateInit(&stream);
    if (initResult != Z_OK)
        throw CException("Could not initialize inflation. " + GetErrorText(initResult));

    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);

    // Runs to the stream's end: a stream that stops short is truncated, which
    // zlib itself reports as a data error.
    std::string text;
    unsigned char chunk[kChunkSize];
    for (;;) {
        stream.next_out = chunk;
        stream.avail_out = kChunkSize;
        int result = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = kChunkSize - stream.avail_out;
        if (result == Z_BUF_ERROR)
            result = Z_DATA_ERROR; // no progress possible: the input ended early
        if (result != Z_OK && result != Z_STREAM_END) {
            inflateEnd(&stream);
            throw CException("Could not inflate. " + GetErrorText(result));
        }
        text.append(reinterpret_cast<const char*>(chunk), produced);
        if (result == Z_STREAM_END)
            break;
    }
    inflateEnd(&stream);
    return text;
}

} // namespace sds
