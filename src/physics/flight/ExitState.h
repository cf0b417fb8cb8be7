#pragma once

#include "core/Node.h"
#include "physics/PhyObj.h"
#include "physics/flight/IExitState.h"
#include "physics/flight/PhyJumperState.h"

namespace physics::PhyJumperStates {

// The jumper at the aircraft's door: a box that never collides and has no
// forces, placed by the jumper until it lets go. While another phase is current
// it moves with the body it follows.
class CExitState : public IExitState, public CPhyJumperState, public CPhyObj
{
public:
    // The box is the "Shape" and "Actor" named "Body" of the "State" named "Exit".
    CExitState(CPhyJumper* owner, const xml::CNodePtr& phyJumper);
    ~CExitState() override;

    // A value that is not finite is logged and ignored; a zero orientation is
    // the identity and others are normalised.
    void SetPos(const sds::CVector& position) override;
    void SetOrientation(const sds::CQuaternion& orientation) override;
    void SetVelocity(const sds::CVector& velocity) override;

    void OnUpdate(const sds::CTiming&) override {}
    void Enter() override;
    void Exit() override;
    float GetBodyDragMagnitude() const override { return 0.0f; }
    CPhyObj* GetBody() override { return this; }
    void DrawForces() override {}
    using CPhyJumperState::SetCollisionCallback;

    // While another phase is current, the exit body moves with `body`.
    void FollowBody(CPhyObj& body);
};

} // namespace physics::PhyJumperStates
