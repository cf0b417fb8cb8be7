#pragma once

#include <memory>

#include "core/StateMachineTmpl.h"
#include "graphics/IGfxObj.h"
#include "jumper/IContainer.h"

namespace sds {
class CJumper;
}

namespace sds::JumperStates {

class CDeploymentSubState;
class CDeployPilotChute;
class CCatchAir;
class CExtractDBag;
class CExtractCanopy;
class CInflateCanopy;
class CSliderDown;

// The stages of a main deployment in their order; the last one leaves the
// machine empty.
class CDeploymentControl : public CStateMachineTmpl<CDeploymentSubState, IUpdate>
{
public:
    // Reads the stages' values from the rig's parts; throws the XML layer's
    // exceptions for a missing one.
    CDeploymentControl(CJumper* jumper, const CAnimationPtr& idleFreeFall, const CAnimationPtr& grabRisers);
    ~CDeploymentControl() override;

    void OnStart() override;

    CJumper* GetJumper() const { return m_Jumper; }
    const CContainerPtr& GetContainer() const { return m_Container; }
    // The physical body advances to its next deployment stage.
    void NextPhysicalStage();
    // Brings every derived transform up to date before world positions are read.
    static void RefreshScene();

    CExtractDBag* GetExtractDBag() const { return m_ExtractDBag.get(); }
    CSliderDown* GetSliderDown() const { return m_SliderDown.get(); }

private:
    CJumper* m_Jumper;
    CContainerPtr m_Container;
    std::shared_ptr<CSliderDown> m_SliderDown;
    std::shared_ptr<CInflateCanopy> m_InflateCanopy;
    std::shared_ptr<CExtractCanopy> m_ExtractCanopy;
    std::shared_ptr<CExtractDBag> m_ExtractDBag;
    std::shared_ptr<CCatchAir> m_CatchAir;
    std::shared_ptr<CDeployPilotChute> m_DeployPilotChute;
};

} // namespace sds::JumperStates
