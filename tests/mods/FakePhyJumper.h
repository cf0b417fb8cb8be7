#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jumper/IJudgedJumper.h"
#include "physics/IPhyJumper.h"

// A jumper's body that stands where the test puts it and keeps the collision callback.
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

// A judged jumper that records the landing states it is sent to.
class CFakeJudgedJumper : public sds::IJudgedJumper
{
public:
    std::string GetName() const override { return "Jumper0"; }
    std::shared_ptr<physics::IPhyJumper> GetPhyJumper() const override { return m_Body; }
    void Land(ELanding landing) override
    {
        if (!m_HasState)
            throw std::runtime_error("!m_States.empty() && \"No states are added\"");
        m_Landings.push_back(landing);
    }

    std::shared_ptr<CFakePhyJumper> m_Body = std::make_shared<CFakePhyJumper>();
    bool m_HasState = true;
    std::vector<ELanding> m_Landings;
};
