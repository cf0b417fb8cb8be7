#pragma once

#include "core/StateMachineTmpl.h"
#include "jumper/DeploymentSubState.h"
#include "jumper/JumperState.h"

namespace sds::JumperStates {

// From the pull to the open canopy: runs the deployment's stages and hands
// over to canopy ride in the frame the last one ends. Input is ignored.
class CDeploymentState : public CSuperStateTmpl<CJumperState, CDeploymentControl>
{
public:
    CDeploymentState(CJumper* jumper, const CAnimationPtr& idleFreeFall, const CAnimationPtr& grabRisers);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    // Leaves a stage still running as it is.
    void Exit() override { m_Control.OnStop(); }
    void Pause() override { m_Control.Pause(); }
    void Resume() override { m_Control.Resume(); }

    const CDeploymentControl& GetControl() const { return m_Control; }

private:
    CDeploymentControl m_Control;
};

} // namespace sds::JumperStates
