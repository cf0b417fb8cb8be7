#pragma once

#include "core/Node.h"
#include "core/Quaternion.h"
#include "graphics/IGfxObj.h"
#include "jumper/IAttachmentPoint.h"

namespace sds {

// A point "Distance" from a reference point towards an anchor that carries a
// graphic object with it: the slider rides on the lines this way. The
// object's orientation is "Orientation" followed by the turn of −y towards the
// anchor, taken as the turn of −y straight up tilted the short way, so that
// the object never swings round as the anchor passes overhead. The object is
// placed in its parent's space, so it may hang under any object.
class CAlignedAttached : public IAttachmentPoint
{
public:
    // Throws the XML layer's exceptions for a missing or empty "Distance" or "Orientation".
    CAlignedAttached(const xml::CNodePtr& element, const CGfxObjPtr& object, const CAttachmentPointPtr& anchor,
                     const CAttachmentPointPtr& reference);
    // Reads the two points' positions; it updates neither.
    void Update(const CTiming& timing) override;

private:
    // The turn that points −y along `direction` (a unit vector or zero): the
    // half turn that points it straight up, then the shortest turn from there.
    static CQuaternion Alignment(const CVector& direction);

    CAttachmentPointPtr m_Anchor;
    CAttachmentPointPtr m_Reference;
    float m_Distance;
    CGfxObjPtr m_Object;
    CQuaternion m_Orientation;
};

} // namespace sds
