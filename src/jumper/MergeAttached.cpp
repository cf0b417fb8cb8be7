#include "jumper/MergeAttached.h"

namespace sds {

CMergeAttached::CMergeAttached(const xml::CNodePtr& element, const CAttachmentPointPtr& anchor,
                               const std::vector<CAttachmentPointPtr>& sources)
    : m_Anchor(anchor), m_Sources(sources), m_Distance(element->GetAttribute("Distance")->GetValue<float>())
{
}

CMergeAttached::CMergeAttached(const xml::CNodePtr& element, const CAttachmentPointPtr& anchor,
                               const CAttachmentPointPtr& first, const CAttachmentPointPtr& second)
    : CMergeAttached(element, anchor, std::vector<CAttachmentPointPtr>{first, second})
{
}

CMergeAttached::CMergeAttached(const xml::CNodePtr& element, const CAttachmentPointPtr& anchor,
                               const CAttachmentPointPtr& source)
    : CMergeAttached(element, anchor, std::vector<CAttachmentPointPtr>{source})
{
}

void CMergeAttached::Update(const CTiming&)
{
    bool first = true;
    for (const CAttachmentPointPtr& source : m_Sources) {
        CVector towards = m_Anchor->m_Pos - source->m_Pos;
        towards.Normalize();
        const CVector carried = source->m_Pos + towards * m_Distance;
        m_Pos = first ? carried : (carried + m_Pos) * 0.5f;
        first = false;
    }
}

} // namespace sds
