#include "core/Utf8.h"

namespace xml {

namespace {

void AppendCodePoint(std::string& out, char32_t c)
{
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

void AppendUtf8(std::string& out, const char16_t* text, std::size_t length)
{
    const char16_t* const end = text + length;
    while (text != end) {
        // Runs of ASCII, by far the most of what the program keeps, go in one append.
        const char16_t* run = text;
        while (run != end && *run < 0x80)
            ++run;
        if (run != text) {
            const std::size_t start = out.size();
            out.resize(start + static_cast<std::size_t>(run - text));
            char* to = &out[start];
            for (; text != run; ++text)
                *to++ = static_cast<char>(*text);
            continue;
        }
        char32_t c = *text++;
        if (IsHighSurrogate(c) && text != end && IsLowSurrogate(*text))
            c = 0x10000 + ((c - 0xD800) << 10) + (*text++ - 0xDC00);
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            c = 0xFFFD;
        AppendCodePoint(out, c);
    }
}

std::size_t DecodeUtf8(const char* text, const char* end, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - text) < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < least || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace xml
