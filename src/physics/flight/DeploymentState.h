#pragma once

#include "core/Node.h"
#include "physics/DragForce.h"
#include "physics/PhyMovingBody.h"
#include "physics/flight/IDeploymentState.h"
#include "physics/flight/PhyJumperState.h"

namespace physics::PhyJumperStates {

// The jumper between the pull and the open canopy: the free-fall body with one
// more drag for what is out in the air, first the pilot chute, then the canopy
// out of its bag, then the canopy with the slider coming down.
class CDeploymentState : public IDeploymentState, public CPhyJumperState, public CPhyMovingBody
{
public:
    // The body and its forces are the free fall's; the stage drags are the
    // "ForceDrag" named "PilotChute" of the canopy ride's "PilotChute" and those
    // named "CanopyOut" and "SliderDown" of the "State" named "Deployment".
    CDeploymentState(CPhyJumper* owner, const xml::CNodePtr& phyJumper);
    ~CDeploymentState() override;

    sds::CVector GetPos() const override { return CPhyMovingBody::GetPos(); }
    sds::CQuaternion GetOrientation() const override { return CPhyMovingBody::GetOrientation(); }
    void NextStage() override;

    // The wind where the body is meets its drag and the stage drag alike.
    void ApplyWind(IWindMgr& source) override;
    void OnUpdate(const sds::CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    float GetBodyDragMagnitude() const override { return m_Drag.GetForce().Length(); }
    CPhyObj* GetBody() override { return this; }
    void DrawForces() override;
    using CPhyJumperState::SetCollisionCallback;

    // 0 until the first NextStage, then 1, then 2.
    int GetStageCounter() const { return m_StageCounter; }
    const CDragForce& GetActiveStageForce() const { return *m_ActiveStageForce; }
    const CDragForce& GetPilotChuteDrag() const { return m_PilotChuteDrag; }
    const CDragForce& GetCanopyOutDrag() const { return m_CanopyOutDrag; }
    const CDragForce& GetSliderDownDrag() const { return m_SliderDownDrag; }

private:
    int m_StageCounter = 0;
    CDragForce m_PilotChuteDrag;
    CDragForce m_CanopyOutDrag;
    CDragForce m_SliderDownDrag;
    CDragForce* m_ActiveStageForce;
};

} // namespace physics::PhyJumperStates
