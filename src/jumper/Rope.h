#pragma once

#include "graphics/IGfxObj.h"
#include "jumper/IAttachmentPoint.h"

namespace sds {

// One drawn line segment: each Update stretches its object, a piece of unit
// length along its y axis centred on its origin, from the first end (its -y
// end) to the second (its +y end). The object hangs under the scene's root;
// its x and z scale (the line's thickness) are kept.
class CRope : public IUpdate
{
public:
    // Between two points that their owner updates.
    CRope(const CGfxObjPtr& object, const CAttachmentPointPtr& first, const CAttachmentPointPtr& second);
    // Between two objects: the rope makes and updates a copy point on each.
    CRope(const CGfxObjPtr& object, const CGfxObjPtr& first, const CGfxObjPtr& second);
    void Update(const CTiming& timing) override;

    const CGfxObjPtr& GetObject() const { return m_Object; }
    const CAttachmentPointPtr& GetFirst() const { return m_First; }
    const CAttachmentPointPtr& GetSecond() const { return m_Second; }

private:
    CAttachmentPointPtr m_First;
    CAttachmentPointPtr m_Second;
    CGfxObjPtr m_Object;
    bool m_OwnEnds;
};

} // namespace sds
