#include "gui/menus/PresetRows.h"

namespace sds {
namespace GuiStates {

void AddRow(const xml::CNodePtr& preset, const std::string& name, const std::string& units, const std::string& value)
{
    const xml::CNodePtr row = preset->AddChild("Info", value);
    row->AddAttribute("Name", name);
    if (!units.empty())
        row->AddAttribute("Units", units);
}

void RemoveChildren(xml::CNode& node, const std::string& name)
{
    while (node.HasChild(name))
        node.RemoveChild(node.GetChild(name));
}

void MergeChildren(xml::CNode& destination, const xml::CNode& source)
{
    for (const auto& child : source.GetChildren())
        RemoveChildren(destination, child.first);
    for (const auto& child : source.GetChildren())
        xml::CNode::Clone(child.second, &destination);
}

} // namespace GuiStates
} // namespace sds
