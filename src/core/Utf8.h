#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace sds {

// The code point of the well-formed UTF-8 sequence that begins at text[i] and
// its length in bytes; a length of 0 when no well-formed sequence begins there
// (a stray continuation byte, a cut or overlong sequence, a surrogate).
std::pair<std::uint32_t, std::size_t> DecodeUtf8At(const std::string& text, std::size_t i);

// The program's texts are UTF-8, but names from files and scripts may be
// Latin-1. Every byte that begins no well-formed sequence stands for the
// character of its value, so the result is always well-formed UTF-8.
std::string ToValidUtf8(const std::string& text);

// Appends UTF-16 text (the XML parser's) as UTF-8. A surrogate without its
// partner, which no parsed document holds, becomes U+FFFD.
void AppendUtf16AsUtf8(std::string& out, const char16_t* text, std::size_t length);

} // namespace sds
