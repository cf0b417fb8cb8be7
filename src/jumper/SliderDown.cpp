#include "jumper/SliderDown.h"

#include <algorithm>

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "jumper/ICanopy.h"
#include "jumper/IPilotChute.h"
#include "jumper/InflateCanopy.h"
#include "jumper/Jumper.h"

namespace sds::JumperStates {

CSliderDown::CSliderDown(CDeploymentControl* control, const CContainerPtr& container, const CAnimationPtr& grabRisers)
    : CDistanceDelay(control,
                     container->GetSlider()->GetConfig()->GetAttribute("SliderDownDistance")->GetValue<float>(),
                     container->GetSlider()->GetGfxObj(), container->GetGfxObj(), CDeploymentSubStatePtr()),
      m_Container(container),
      m_Slider(container->GetSlider()),
      m_Speed(container->GetSlider()->GetConfig()->GetAttribute("SliderDownSpeed")->GetValue<float>()),
      m_GrabRisers(grabRisers),
      m_CanopyPosition(CanopyPosition(container)),
      m_PilotChuteOffset(PilotChuteOffset(container))
{
}

void CSliderDown::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Slider slides down");
    m_Slider->SlideDown();
    m_Offset = CVector::ZERO;
    m_LastRig = m_Container->GetGfxObj()->GetWorldPos();
    const CCanopyPtr canopy = m_Container->GetCanopy();
    canopy->GetExtractionAnimation()->SetEnabled(false);
    canopy->GetInflatingAnimation()->SetEnabled(true);
    canopy->GetInflatingAnimation()->SetAutoUpdate(true);
    m_Owner->NextPhysicalStage();
}

void CSliderDown::OnUpdate(const CTiming& timing)
{
    const CVector rig = m_Container->GetGfxObj()->GetWorldPos();
    // The slider comes down the lines, which fall with the rig: left where it
    // was, it would hang back in the sky and a fast fall would never let it arrive.
    const CVector slider = m_Slider->GetGfxObj()->GetWorldPos() + (rig - m_LastRig);
    m_LastRig = rig;
    const CCanopyPtr canopy = m_Container->GetCanopy();
    const CVector canopyPos = rig + m_CanopyPosition;
    canopy->GetGfxObj()->SetPos(canopyPos);
    canopy->GetGfxObj()->UpdateTransform();

    // The pilot chute steps towards its place by the canopy, never past it.
    const CGfxObjPtr pilotChute = m_Container->GetPilotChute()->GetGfxObj();
    const CVector pilotChutePos = pilotChute->GetWorldPos();
    const CVector target = canopyPos + canopy->GetGfxObj()->GetWorldOrientation() * m_PilotChuteOffset;
    const float k = canopy->GetExtractionAnimation()->GetRelativePosition();
    const float step = std::min(k, (target - pilotChutePos).Length());
    pilotChute->SetPos(pilotChutePos + Normalised(target - pilotChutePos) * step);

    m_Offset += Normalised(rig - slider) * (m_Speed * timing.m_Elapsed);
    m_Slider->GetGfxObj()->SetPos(slider + m_Offset);
    m_Slider->GetGfxObj()->UpdateTransform();
    CDistanceDelay::OnUpdate(timing);
}

void CSliderDown::Exit()
{
    const CGfxObjPtr rig = m_Container->GetGfxObj();
    const CGfxObjPtr slider = m_Slider->GetGfxObj();
    slider->SetPos(slider->GetWorldPos() - rig->GetWorldPos());
    slider->ResetOrientation();
    slider->SetYawPitchRoll(xml::ParseVector(m_Slider->GetConfig()->GetChild("Mesh")->GetAttribute("Rotation")->GetValue()));
    rig->AddChild(slider);

    const CCanopyPtr canopy = m_Container->GetCanopy();
    const CGfxObjPtr pilotChute = m_Container->GetPilotChute()->GetGfxObj();
    canopy->GetGfxObj()->AddChild(pilotChute);
    pilotChute->SetPos(m_PilotChuteOffset);
    pilotChute->SetYawPitchRoll(xml::ParseVector(
        m_Container->GetPilotChute()->GetConfig()->GetAttribute("RotationFromCanopy")->GetValue()));
    canopy->StartFullFlight();
    m_Slider->ResetToContainer();
    m_GrabRisers->SetAutoUpdate(false);
    m_Owner->GetJumper()->GetAnimationBlender()->FadeOut(m_GrabRisers);
}

} // namespace sds::JumperStates
