#include "gui/StdRegexMatcher.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/widgets/Editbox.h>

#include "gui/CeguiText.h"

namespace wrappers {

void CStdRegexMatcher::setRegexString(const CEGUI::String& regex)
{
    try {
        m_Regex = std::regex(FromCegui(regex), std::regex::ECMAScript);
    } catch (const std::regex_error& e) {
        CEGUI_THROW(CEGUI::InvalidRequestException("Bad validation expression '" + regex + "': " + e.what()));
    }
    m_Text = regex;
}

CEGUI::RegexMatcher::MatchState CStdRegexMatcher::getMatchStateOfString(const CEGUI::String& text) const
{
    if (text.length() > m_Box.getMaxTextLength())
        return MS_INVALID;
    return std::regex_match(FromCegui(text), m_Regex) ? MS_VALID : MS_INVALID;
}

} // namespace wrappers
