#pragma once

#include "core/Node.h"
#include "core/Timing.h"
#include "physics/DragForce.h"
#include "physics/ForceAtLocalPos.h"
#include "physics/PhyObj.h"

namespace physics {

// A body moved by its own gravity force and drag force every step, not by the
// scene's gravity. The wind of every region it is in during a step adds to
// the air its drag meets.
class CPhyMovingBody : public CPhyObj, public sds::IUpdate
{
public:
    CPhyMovingBody(const xml::CNodePtr& gravity, const xml::CNodePtr& drag);

    void OnTrigger(sdk::IShape& triggerShape, sdk::IShape& otherShape, std::uint32_t status) override;
    virtual void ApplyForces(sdk::IActor& actor);
    virtual void DrawForces();
    void Update(const sds::CTiming& timing) override;

    CForceAtLocalPos& GetGravity() { return m_Gravity; }
    CDragForce& GetDrag() { return m_Drag; }

protected:
    CForceAtLocalPos m_Gravity;
    CDragForce m_Drag;
};

} // namespace physics
