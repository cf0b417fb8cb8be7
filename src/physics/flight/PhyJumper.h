#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/StateMachineTmpl.h"
#include "physics/IPhyJumper.h"
#include "physics/PhyJumperDesc.h"
#include "physics/flight/PhyJumperState.h"

namespace physics {

class CPhyRagDoll;

namespace sdk {
class IActor;
}

namespace PhyJumperStates {
class CTestState;
class CExitState;
class CFreeFallState;
class CDeploymentState;
class CCanopyRideState;
class CLandingState;
}

// The physical body of one jumper: a machine over its six phases (exit, test,
// free fall, deployment, canopy ride, landing), all built at once from the
// "PhyJumper" element and living as long as the body. Every step every phase
// is synced, whether current or not, and the current one applies its forces.
class CPhyJumper final : public sds::CStateMachineTmpl<PhyJumperStates::CPhyJumperState, IPhyJumper>
{
public:
    // `phyJumper` becomes the body's own: the creator's overrides are written
    // into it. Throws the XML layer's exceptions for what the configuration
    // lacks, and sds::CException for a jumper or canopy rag doll that is disabled.
    CPhyJumper(const xml::CNodePtr& phyJumper, const CPhyJumperDesc& desc);
    ~CPhyJumper() override;

    // The world's factory of jumpers' bodies.
    static std::shared_ptr<IPhyJumper> Create(const xml::CNodePtr& phyJumper, const CPhyJumperDesc& desc);

    void DrawForces() override;

    bool IsInExitState() const override;
    bool IsInFreeFallState() const override;
    bool IsInDeploymentState() const override;
    bool IsInCanopyRideState() const override;
    bool IsInLandingState() const override;

    void SwitchToExitState() override;
    void SwitchToFreeFallState() override;
    void SwitchToDeploymentState() override;
    void SwitchToCanopyRideState() override;
    void SwitchToLandingState() override;

    PhyJumperStates::IExitState* GetExitState() override;
    PhyJumperStates::IFreeFallState* GetFreeFallState() override;
    PhyJumperStates::IDeploymentState* GetDeploymentState() override;
    PhyJumperStates::ICanopyRideState* GetCanopyRideState() override;
    PhyJumperStates::ILandingState* GetLandingState() override;

    void SetCollisionCallback(const CCollisionCallback& callback) override;

    sds::CVector GetPos() const override;
    sds::CVector GetVelocity() const override;
    sds::CQuaternion GetOrientation() const override;
    xml::CNodePtr GetPhyInfo() const override;

    void OnStart() override {}
    // Syncs every phase, then writes the telemetry when asked to.
    void OnUpdate(const sds::CTiming& step) override;

    // The canopy ride's canopy, which the landing's canopy stands in for.
    sdk::IActor* GetCanopyActor() const;
    const CPhyObj* GetCurrentBody() const { return m_CurrentBody; }
    const std::string& GetName() const { return m_Name; }
    const xml::CNodePtr& GetConfig() const { return m_Config; }

    // The phases themselves, for those that look inside.
    PhyJumperStates::CTestState& GetTest() const { return *m_TestState; }
    PhyJumperStates::CExitState& GetExit() const { return *m_ExitState; }
    PhyJumperStates::CFreeFallState& GetFreeFall() const { return *m_FreeFallState; }
    PhyJumperStates::CDeploymentState& GetDeployment() const { return *m_DeploymentState; }
    PhyJumperStates::CCanopyRideState& GetCanopyRide() const { return *m_CanopyRideState; }
    PhyJumperStates::CLandingState& GetLanding() const { return *m_LandingState; }

private:
    void ApplyOverrides(const CPhyJumperDesc& desc);
    // Makes the phase's body current, with the callback, then the phase.
    void SwitchTo(PhyJumperStates::CPhyJumperState& state);
    // Makes the phase's body current, with the callback, as the phases are built.
    void TakeBody(PhyJumperStates::CPhyJumperState& state);
    bool IsIn(const PhyJumperStates::CPhyJumperState& state) const;
    // Test, exit, free fall, deployment, canopy ride, landing: the order they are synced and told the callback.
    std::array<PhyJumperStates::CPhyJumperState*, 6> GetStatesInOrder() const;
    // The rag doll of the element's file at its "Position" and "Orientation";
    // none when it carries "Disabled".
    std::shared_ptr<CPhyRagDoll> LoadRagDoll(const xml::CNodePtr& element, const std::string& fileAttribute) const;
    void StartIn(const std::string& phase);
    void WriteTelemetry(float time);
    const sdk::IActor& CurrentActor() const;

    xml::CNodePtr m_Config;
    std::string m_Name;
    // The names of the body's own data-log columns, made once.
    std::vector<std::string> m_Columns;
    int m_Index;
    bool m_LogData;
    std::uint64_t m_World; // the serial of the world the bodies are in
    CPhyObj* m_CurrentBody = nullptr;
    CCollisionCallback m_CollisionCallback;
    // Released in the reverse order: the landing first, the test last.
    std::shared_ptr<PhyJumperStates::CTestState> m_TestState;
    std::shared_ptr<PhyJumperStates::CExitState> m_ExitState;
    std::shared_ptr<PhyJumperStates::CFreeFallState> m_FreeFallState;
    std::shared_ptr<PhyJumperStates::CDeploymentState> m_DeploymentState;
    std::shared_ptr<PhyJumperStates::CCanopyRideState> m_CanopyRideState;
    std::shared_ptr<PhyJumperStates::CLandingState> m_LandingState;
};

} // namespace physics
