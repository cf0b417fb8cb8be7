#include "app/EditionSelection.h"

#include <set>
#include <vector>

namespace sds {

namespace {

bool BelongsToAnyOf(const xml::CNode& node, const std::set<std::string>& editions)
{
    for (const std::string& edition : editions)
        if (node.HasNamedValue("Edition", edition))
            return true;
    return false;
}

void RemoveEditions(xml::CNode& node, const std::set<std::string>& editions)
{
    std::vector<xml::CNodePtr> removed;
    for (const auto& child : node.GetChildren()) {
        if (BelongsToAnyOf(*child.second, editions))
            removed.push_back(child.second);
        else
            RemoveEditions(*child.second, editions);
    }
    for (const xml::CNodePtr& child : removed)
        node.RemoveChild(child);
}

} // namespace

std::string SelectEdition(const xml::CNodePtr& configRoot)
{
    const xml::CNodePtr application = configRoot->GetChild("Application");
    const std::string chosen = application->GetAttribute("Edition")->GetValue();

    std::set<std::string> others;
    xml::ForEachChild(*application, "AvailableEdition", [&](const xml::CNodePtr& edition) {
        if (edition->GetValue() != chosen)
            others.insert(edition->GetValue());
    });
    if (!others.empty())
        RemoveEditions(*configRoot, others);
    return chosen;
}

} // namespace sds
