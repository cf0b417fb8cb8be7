#pragma once

#include "core/Node.h"
#include "core/Quaternion.h"
#include "graphics/IGfxObj.h"
#include "jumper/IAttachmentPoint.h"

namespace sds {

// A point "Distance" from a reference point towards an anchor that carries a
// graphic object with it, the object's −y axis turned towards the anchor and
// then by "Orientation": the slider rides up the lines this way.
class CAlignedAttached : public IAttachmentPoint
{
public:
    // Throws the XML layer's exceptions for a missing or empty "Distance" or "Orientation".
    CAlignedAttached(const xml::CNodePtr& element, const CGfxObjPtr& object, const CAttachmentPointPtr& anchor,
                     const CAttachmentPointPtr& reference);
    // Reads the two points' positions; it updates neither.
    void Update(const CTiming& timing) override;

private:
    CAttachmentPointPtr m_Anchor;
    CAttachmentPointPtr m_Reference;
    float m_Distance;
    CGfxObjPtr m_Object;
    CQuaternion m_Orientation;
};

} // namespace sds
