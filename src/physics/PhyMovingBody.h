#pragma once

#include "core/Node.h"
#include "core/Timing.h"
#include "physics/DragForce.h"
#include "physics/ForceAtLocalPos.h"
#include "physics/PhyObj.h"

namespace physics {

// A body moved by its own gravity force and drag force every step, not by the
// scene's gravity. While it is in a wind region its drag meets the wind where
// it is.
class CPhyMovingBody : public CPhyObj, public sds::IUpdate
{
public:
    CPhyMovingBody(const xml::CNodePtr& gravity, const xml::CNodePtr& drag);

    // The wind at the actor's position goes to the drag.
    void ApplyWind(IWindMgr& source) override;
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
