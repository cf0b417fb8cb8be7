#pragma once

#include "jumper/DeploymentSubState.h"
#include "jumper/IContainer.h"

namespace sds::JumperStates {

// The canopy inflates above the rig while its "Extraction" animation plays;
// the pilot chute closes in on its place by the canopy.
class CInflateCanopy : public CDeploymentSubState
{
public:
    CInflateCanopy(CDeploymentControl* control, const CContainerPtr& container);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;

private:
    // The canopy above the rig, the pilot chute closing in on it, the slider under it.
    void Place();

    CContainerPtr m_Container;
    CVector m_CanopyPosition;
    CVector m_PilotChuteOffset;
    CVector m_SliderOffset;
};

// The canopy's place and the pilot chute's in its frame, read from the rig's
// parts: "Position" of the canopy's "Mesh" and the pilot chute's "OffsetFromCanopy".
CVector CanopyPosition(const CContainerPtr& container);
CVector PilotChuteOffset(const CContainerPtr& container);

} // namespace sds::JumperStates
