#pragma once

#include "core/Node.h"
#include "physics/PhyMovingBody.h"
#include "physics/flight/IFreeFallState.h"
#include "physics/flight/PhyJumperState.h"

namespace physics::PhyJumperStates {

// The jumper in free fall: the jumper's box with its weight and a drag that
// acts behind the body's back, which turns it belly to the air.
class CFreeFallState : public IFreeFallState, public CPhyJumperState, public CPhyMovingBody
{
public:
    // Forces: the "ForceGravity" named "Gravity" (an acceleration: it is
    // multiplied by the body's mass) and the "ForceDrag" named "Body" of the
    // "State" named "FreeFall".
    CFreeFallState(CPhyJumper* owner, const xml::CNodePtr& phyJumper);
    ~CFreeFallState() override;

    void SetControl(float) override {}

    void OnUpdate(const sds::CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    float GetBodyDragMagnitude() const override { return m_Drag.GetForce().Length(); }
    CPhyObj* GetBody() override { return this; }
    void DrawForces() override { CPhyMovingBody::DrawForces(); }
    using CPhyJumperState::SetCollisionCallback;
};

} // namespace physics::PhyJumperStates
