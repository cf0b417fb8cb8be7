#include "gui/CeguiText.h"

#include "core/Utf8.h"

namespace wrappers {

CEGUI::String ToCegui(const std::string& text)
{
    // The library's own UTF-8 reader trusts its input and reads past the end
    // of a cut sequence.
    CEGUI::String result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const std::pair<std::uint32_t, std::size_t> decoded = sds::DecodeUtf8At(text, i);
        if (decoded.second == 0) {
            result += static_cast<CEGUI::utf32>(static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            result += static_cast<CEGUI::utf32>(decoded.first);
            i += decoded.second;
        }
    }
    return result;
}

} // namespace wrappers
