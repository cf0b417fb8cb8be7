#include "core/Utf8.h"

#include <cstring>

namespace sds {

namespace {

// Writes the UTF-8 form of a code point; its length.
std::size_t EncodeCodePoint(std::uint32_t c, char* to)
{
    if (c < 0x80) {
        to[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        to[0] = static_cast<char>(0xC0 | (c >> 6));
        to[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        to[0] = static_cast<char>(0xE0 | (c >> 12));
        to[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        to[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    to[0] = static_cast<char>(0xF0 | (c >> 18));
    to[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    to[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    to[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

void AppendUtf8(std::uint32_t codePoint, std::string& out)
{
    char encoded[4];
    out.append(encoded, EncodeCodePoint(codePoint, encoded));
}

bool IsHighSurrogate(std::uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::pair<std::uint32_t, std::size_t> DecodeUtf8At(const std::string& text, std::size_t i)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length;
    std::uint32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return {0, 0};
    }
    if (i + length > text.size())
        return {0, 0};
    std::uint32_t codePoint = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < least || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {0, 0};
    return {codePoint, length};
}

std::string ToValidUtf8(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::pair<std::uint32_t, std::size_t> decoded = DecodeUtf8At(text, i);
        if (decoded.second == 0) {
            AppendUtf8(static_cast<unsigned char>(text[i]), result);
            ++i;
        } else {
            result.append(text, i, decoded.second);
            i += decoded.second;
        }
    }
    return result;
}

void AppendUtf16AsUtf8(std::string& out, const char16_t* text, std::size_t length)
{
    // Most texts are short names, numbers and the white space between
    // elements, and nearly all of the program's text is ASCII.
    constexpr std::size_t kShort = 16;
    if (length <= kShort) {
        char narrow[kShort];
        char16_t any = 0;
        for (std::size_t i = 0; i < length; ++i) {
            any |= text[i];
            narrow[i] = static_cast<char>(text[i]);
        }
        if (any < 0x80) {
            out.append(narrow, length);
            return;
        }
    }
    // Longer texts are converted in pieces through a buffer on the stack, so
    // that the string grows by appends alone; four characters at a time are
    // tested and narrowed while they are ASCII.
    constexpr std::size_t kPiece = 256;
    char piece[kPiece + 4];
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < length) {
        if (used >= kPiece - 4) {
            out.append(piece, used);
            used = 0;
        }
        std::uint64_t four = 0;
        if (i + 4 <= length) {
            std::memcpy(&four, text + i, sizeof(four));
            if ((four & 0xFF80FF80FF80FF80ull) == 0) {
                const char16_t* quad = text + i;
                piece[used] = static_cast<char>(quad[0]);
                piece[used + 1] = static_cast<char>(quad[1]);
                piece[used + 2] = static_cast<char>(quad[2]);
                piece[used + 3] = static_cast<char>(quad[3]);
                used += 4;
                i += 4;
                continue;
            }
        }
        std::uint32_t c = text[i++];
        if (IsHighSurrogate(c) && i < length && IsLowSurrogate(text[i]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            c = 0xFFFD;
        used += EncodeCodePoint(c, piece + used);
    }
    out.append(piece, used);
}

} // namespace sds
