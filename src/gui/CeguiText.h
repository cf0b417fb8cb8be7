#pragma once

#include <string>

#include <CEGUI/String.h>

namespace wrappers {

// The program's texts are UTF-8 both ways across the GUI library. A byte that
// begins no well-formed sequence (a Latin-1 name from a file, a cut sequence)
// stands for the character of its value.
CEGUI::String ToCegui(const std::string& text);

inline std::string FromCegui(const CEGUI::String& text)
{
    return std::string(text.c_str());
}

} // namespace wrappers
