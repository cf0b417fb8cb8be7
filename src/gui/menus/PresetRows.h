#pragma once

#include <string>

#include "core/Node.h"

namespace sds {
namespace GuiStates {

// Adds an "Info" row named `name` holding `value`; `units` names its unit
// category, none when empty.
void AddRow(const xml::CNodePtr& preset, const std::string& name, const std::string& units, const std::string& value);
void RemoveChildren(xml::CNode& node, const std::string& name);
// Every child name of `source` replaces the children of that name in `destination`.
void MergeChildren(xml::CNode& destination, const xml::CNode& source);

} // namespace GuiStates
} // namespace sds
