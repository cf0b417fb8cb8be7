#pragma once

#include <regex>

#include <CEGUI/RegexMatcher.h>

namespace CEGUI {
class Editbox;
}

namespace wrappers {

// The validation of an edit box (and so of a spinner) over std::regex, for a
// GUI library built without a regular-expression library. A text is valid when
// the whole of it matches; there is no partial state. The matcher recurses per
// character, so a text longer than the box's maximum length is refused before
// it is matched: a paste of a whole file must not exhaust the stack.
class CStdRegexMatcher : public CEGUI::RegexMatcher
{
public:
    // The box whose maximum text length applies; it must outlive the matcher's use.
    explicit CStdRegexMatcher(const CEGUI::Editbox& box) : m_Box(box) {}

    // An expression std::regex cannot read throws CEGUI::InvalidRequestException.
    void setRegexString(const CEGUI::String& regex) override;
    const CEGUI::String& getRegexString() const override { return m_Text; }
    MatchState getMatchStateOfString(const CEGUI::String& text) const override;

private:
    const CEGUI::Editbox& m_Box;
    CEGUI::String m_Text;
    std::regex m_Regex;
};

} // namespace wrappers
