#pragma once

#include <cstddef>
#include <string>

namespace xml {

// Appends UTF-16 text as UTF-8. A surrogate without its partner (which no
// parsed document holds) becomes U+FFFD.
void AppendUtf8(std::string& out, const char16_t* text, std::size_t length);

// Decodes the UTF-8 sequence at `text` (at least one byte before `end`) into
// `codePoint`; the sequence's length, or 0 when the bytes are not UTF-8
// (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t DecodeUtf8(const char* text, const char* end, char32_t& codePoint);

} // namespace xml
