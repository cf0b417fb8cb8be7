#pragma once

#include "graphics/IGfxObj.h"
#include "jumper/DummyAttached.h"

namespace sds {

// Places a toggle's graphic object on the point it follows, turned as that
// point's object: first the riser's attachment, once a hand takes the toggle
// the hand. The toggle is placed through its local setters, so it hangs under
// the scene's root.
class CToggleAttached : public IAttachmentPoint
{
public:
    CToggleAttached(const CDummyAttachedPtr& target, const CGfxObjPtr& toggle) : m_Target(target), m_Toggle(toggle) {}
    // Nothing without a target or a toggle; the target is read afresh each time.
    void Update(const CTiming& timing) override;

    void SetTarget(const CDummyAttachedPtr& target) { m_Target = target; }
    const CDummyAttachedPtr& GetTarget() const { return m_Target; }
    const CGfxObjPtr& GetToggle() const { return m_Toggle; }

private:
    CDummyAttachedPtr m_Target;
    CGfxObjPtr m_Toggle;
};

} // namespace sds
