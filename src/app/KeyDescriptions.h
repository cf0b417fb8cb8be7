#pragma once

#include <string>

#include "core/Node.h"

namespace sds {

// A binding's "Seq" as a trainee reads it: alternatives joined by " or ", keys
// held together by "+", keys and mouse axes by their names on the keyboard or
// the mouse ("Ctrl+R", "Space or left mouse button", "right mouse button +
// mouse forward-back"). A token the bindings do not know is kept as written.
std::string DescribeSeq(const std::string& seq);

// Every key bound to the named action in the mode of an "InputBindings"
// element, discrete bindings first, joined by " or "; a mode that binds the
// action to nothing of its own takes the "Global" mode's keys, as the input
// modes do. Empty when nothing is bound.
std::string DescribeKeys(const xml::CNodePtr& bindings, const std::string& mode, const std::string& action);

} // namespace sds
