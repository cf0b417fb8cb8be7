#pragma once

#include <string>

#include <CEGUI/String.h>

namespace wrappers {

// The program's texts are UTF-8 both ways across the GUI library.
inline CEGUI::String ToCegui(const std::string& text)
{
    return CEGUI::String(reinterpret_cast<const CEGUI::utf8*>(text.c_str()));
}

inline std::string FromCegui(const CEGUI::String& text)
{
    return std::string(text.c_str());
}

} // namespace wrappers
