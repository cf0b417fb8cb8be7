#pragma once

#include <functional>

#include "jumper/DeploymentSubState.h"
#include "jumper/IContainer.h"
#include "jumper/IPilotChute.h"

namespace sds::JumperStates {

// The pilot chute is thrown out of the rig along the vertical until it is
// "DeployDistance" away, at "DeploySpeed".
class CDeployPilotChute : public CDistanceDelay<std::greater<float>>
{
public:
    CDeployPilotChute(CDeploymentControl* control, const CContainerPtr& container, const CDeploymentSubStatePtr& next);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;

private:
    float m_DeploySpeed;
    CPilotChutePtr m_PilotChute;
    CContainerPtr m_Container;
    CVector m_Offset;
};

} // namespace sds::JumperStates
