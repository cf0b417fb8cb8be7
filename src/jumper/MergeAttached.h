#pragma once

#include <vector>

#include "core/Node.h"
#include "jumper/IAttachmentPoint.h"

namespace sds {

// Where lines from several points meet on their way to an anchor: each source
// is carried "Distance" towards the anchor, and the points are merged in turn,
// each later one weighing as much as all before it together (two sources give
// their midpoint). A riser's upper end is the merge of its one attachment
// point towards the slider.
class CMergeAttached : public IAttachmentPoint
{
public:
    // Each throws the XML layer's exceptions for a missing or empty "Distance".
    CMergeAttached(const xml::CNodePtr& element, const CAttachmentPointPtr& anchor,
                   const std::vector<CAttachmentPointPtr>& sources);
    CMergeAttached(const xml::CNodePtr& element, const CAttachmentPointPtr& anchor,
                   const CAttachmentPointPtr& first, const CAttachmentPointPtr& second);
    CMergeAttached(const xml::CNodePtr& element, const CAttachmentPointPtr& anchor,
                   const CAttachmentPointPtr& source);
    // Reads the points' positions; it updates none of them.
    void Update(const CTiming& timing) override;

private:
    CAttachmentPointPtr m_Anchor;
    std::vector<CAttachmentPointPtr> m_Sources;
    float m_Distance;
};

} // namespace sds
