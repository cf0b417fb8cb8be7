#include "scene/DropZoneLevel.h"

namespace sds {

CDropZoneLevel::CDropZoneLevel(const xml::CNodePtr& tree, const std::string& path)
    : m_Tree(tree), m_FullName(tree->GetChild("scene")->GetAttribute("FullName")->GetValue()), m_Path(path)
{
    ResetWorkingTree();
}

CDropZoneLevel::~CDropZoneLevel() = default;

bool CDropZoneLevel::HasFullName(const xml::CNodePtr& tree)
{
    return tree && tree->HasChild("scene") && tree->GetChild("scene")->HasAttribute("FullName");
}

void CDropZoneLevel::ResetWorkingTree()
{
    m_WorkingTree = xml::CNode::Clone(m_Tree);
}

} // namespace sds
