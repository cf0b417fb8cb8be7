#pragma once

#include <functional>

#include "jumper/DeploymentSubState.h"
#include "jumper/IContainer.h"
#include "jumper/ISlider.h"

namespace sds::JumperStates {

// The slider comes down the lines to the rig; when it is nearer than
// "SliderDownDistance" the canopy flies and the sequence is over.
class CSliderDown : public CDistanceDelay<std::less<float>>
{
public:
    CSliderDown(CDeploymentControl* control, const CContainerPtr& container, const CAnimationPtr& grabRisers);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    // Puts the slider on the rig and the pilot chute under the canopy.
    void Exit() override;

private:
    CContainerPtr m_Container;
    CSliderPtr m_Slider;
    float m_Speed;
    CVector m_Offset;
    // The rig's world position at the last update: the slider falls with it.
    CVector m_LastRig;
    CAnimationPtr m_GrabRisers;
    CVector m_CanopyPosition;
    CVector m_PilotChuteOffset;
};

} // namespace sds::JumperStates
