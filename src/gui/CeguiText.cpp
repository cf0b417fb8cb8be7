#include "gui/CeguiText.h"

namespace wrappers {

namespace {

// The code point of the UTF-8 sequence at text[i] and its length in bytes;
// a length of 0 when no well-formed sequence begins there.
std::pair<CEGUI::utf32, size_t> DecodeAt(const std::string& text, size_t i)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return {lead, 1};
    size_t length;
    CEGUI::utf32 least;
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
    CEGUI::utf32 codePoint = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < least || codePoint > 0x10FFFF)
        return {0, 0};
    return {codePoint, length};
}

} // namespace

CEGUI::String ToCegui(const std::string& text)
{
    // The library's own UTF-8 reader trusts its input and reads past the end
    // of a cut sequence.
    CEGUI::String result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const std::pair<CEGUI::utf32, size_t> decoded = DecodeAt(text, i);
        if (decoded.second == 0) {
            result += static_cast<CEGUI::utf32>(static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            result += decoded.first;
            i += decoded.second;
        }
    }
    return result;
}

} // namespace wrappers
