#pragma once

#include "physics/IPhyJumper.h"

// A jumper's body without phases that stands where the test puts it and keeps the collision callback.
class CFakePhyJumper : public physics::IPhyJumper
{
public:
    void Update(const sds::CTiming&) override {}
    void DrawForces() override {}
    bool IsInExitState() const override { return false; }
    bool IsInFreeFallState() const override { return false; }
    bool IsInDeploymentState() const override { return false; }
    bool IsInCanopyRideState() const override { return false; }
    bool IsInLandingState() const override { return false; }
    void SwitchToExitState() override {}
    void SwitchToFreeFallState() override {}
    void SwitchToDeploymentState() override {}
    void SwitchToCanopyRideState() override {}
    void SwitchToLandingState() override {}
    physics::PhyJumperStates::IExitState* GetExitState() override { return nullptr; }
    physics::PhyJumperStates::IFreeFallState* GetFreeFallState() override { return nullptr; }
    physics::PhyJumperStates::IDeploymentState* GetDeploymentState() override { return nullptr; }
    physics::PhyJumperStates::ICanopyRideState* GetCanopyRideState() override { return nullptr; }
    physics::PhyJumperStates::ILandingState* GetLandingState() override { return nullptr; }
    void SetCollisionCallback(const CCollisionCallback& callback) override { m_Callback = callback; }
    sds::CVector GetPos() const override { return m_Pos; }
    sds::CVector GetVelocity() const override { return m_Velocity; }
    sds::CQuaternion GetOrientation() const override { return sds::CQuaternion::IDENTITY; }
    xml::CNodePtr GetPhyInfo() const override { return xml::CNodePtr(new xml::CNode("PhyInfo", false)); }

    sds::CVector m_Pos;
    sds::CVector m_Velocity;
    CCollisionCallback m_Callback;
};
