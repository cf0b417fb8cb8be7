#pragma once

#include "core/Node.h"
#include "physics/PhyMovingBody.h"
#include "physics/flight/PhyJumperState.h"

namespace physics::PhyJumperStates {

// A phase for trying the body's forces: the jumper's box with the drag and the
// gravity of the "State" named "Test". Reached only by starting in it.
class CTestState : public CPhyJumperState, private CPhyMovingBody
{
public:
    CTestState(CPhyJumper* owner, const xml::CNodePtr& phyJumper);

    void OnUpdate(const sds::CTiming& timing) override;
    void Enter() override { EnableCollision(true); }
    void Exit() override { EnableCollision(false); }
    float GetBodyDragMagnitude() const override { return m_Drag.GetForce().Length(); }
    CPhyObj* GetBody() override { return this; }
    void DrawForces() override { CPhyMovingBody::DrawForces(); }
    using CPhyJumperState::SetCollisionCallback;
    void Sync() override {}
};

} // namespace physics::PhyJumperStates
