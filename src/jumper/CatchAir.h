#pragma once

#include "jumper/DeploymentSubState.h"
#include "jumper/IContainer.h"
#include "jumper/IPilotChute.h"

namespace sds::JumperStates {

// The pilot chute is towed at a fixed offset for "CatchAirTime" seconds.
class CCatchAir : public CDeploymentSubState
{
public:
    CCatchAir(CDeploymentControl* control, const CContainerPtr& container);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;

private:
    // Counted down once per jumper: the sequence runs once.
    float m_SecondsLeft;
    CPilotChutePtr m_PilotChute;
    CContainerPtr m_Container;
    CVector m_Offset;
};

} // namespace sds::JumperStates
