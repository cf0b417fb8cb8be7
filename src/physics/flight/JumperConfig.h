#pragma once

#include <string>

#include "core/Node.h"

namespace physics {

// The child `element` of `node` whose "Name" (or "Id") is `name`; throws
// xml::CNoNodeException when there is none.
inline xml::CNodePtr GetNamedChild(const xml::CNodePtr& node, const std::string& element, const std::string& name)
{
    return node->GetChildById(element, name, "Name,Id");
}

// The "State" element of that name of the "PhyJumper" element.
inline xml::CNodePtr GetJumperState(const xml::CNodePtr& phyJumper, const std::string& name)
{
    return GetNamedChild(phyJumper, "State", name);
}

} // namespace physics
