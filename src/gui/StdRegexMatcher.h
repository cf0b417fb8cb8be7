#pragma once

#include <regex>

#include <CEGUI/RegexMatcher.h>

namespace wrappers {

// The validation of edit boxes (and so of spinners) over std::regex, for a GUI
// library built without a regular-expression library. A text is valid when
// the whole of it matches; there is no partial state.
class CStdRegexMatcher : public CEGUI::RegexMatcher
{
public:
    // An expression std::regex cannot read throws CEGUI::InvalidRequestException.
    void setRegexString(const CEGUI::String& regex) override;
    const CEGUI::String& getRegexString() const override { return m_Text; }
    MatchState getMatchStateOfString(const CEGUI::String& text) const override;

private:
    CEGUI::String m_Text;
    std::regex m_Regex;
};

} // namespace wrappers
