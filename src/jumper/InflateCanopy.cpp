#include "jumper/InflateCanopy.h"

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "graphics/IGfxMgr.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/ICanopy.h"
#include "jumper/IDBag.h"
#include "jumper/IPilotChute.h"
#include "jumper/ISlider.h"
#include "jumper/SliderDown.h"

namespace sds::JumperStates {

CVector CanopyPosition(const CContainerPtr& container)
{
    return xml::ParseVector(
        container->GetCanopy()->GetConfig()->GetChild("Mesh")->GetAttribute("Position")->GetValue());
}

CVector PilotChuteOffset(const CContainerPtr& container)
{
    return xml::ParseVector(container->GetPilotChute()->GetConfig()->GetAttribute("OffsetFromCanopy")->GetValue());
}

CInflateCanopy::CInflateCanopy(CDeploymentControl* control, const CContainerPtr& container)
    : CDeploymentSubState(control),
      m_Container(container),
      m_CanopyPosition(CanopyPosition(container)),
      m_PilotChuteOffset(PilotChuteOffset(container)),
      m_SliderOffset(xml::ParseVector(container->GetSlider()->GetConfig()->GetAttribute("CanopyOffset")->GetValue()))
{
    // Required of a canopy, though the sequence does not use it.
    CQuaternion tempFix;
    ParseOrientation(container->GetCanopy()->GetConfig()->GetChild("Mesh")->GetAttribute("TempFix")->GetValue(),
                     tempFix);
}

void CInflateCanopy::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Inflating canopy");
    m_Container->BeginInflation();
    const CGfxObjPtr root = IGfxMgr::GetSingleton()->GetRootObject();
    const CGfxObjPtr canopy = m_Container->GetCanopy()->GetGfxObj();
    root->AddChild(canopy);
    root->AddChild(m_Container->GetSlider()->GetGfxObj());
    canopy->AddChild(m_Container->GetDBag()->GetGfxObj());
}

void CInflateCanopy::OnUpdate(const CTiming&)
{
    const CGfxObjPtr rig = m_Container->GetGfxObj();
    rig->UpdateTransform();
    const CVector canopyPos = rig->GetWorldPos() + m_CanopyPosition;
    const CGfxObjPtr canopy = m_Container->GetCanopy()->GetGfxObj();
    canopy->SetPos(canopyPos);
    const CGfxObjPtr pilotChute = m_Container->GetPilotChute()->GetGfxObj();
    const CVector pilotChutePos = pilotChute->GetWorldPos();
    // The canopy's span lies across the rig's heading.
    const CVector heading = rig->GetWorldOrientation() * CVector(-1.0f, 0.0f, 0.0f);
    const CQuaternion orientation = GetRotationTo(CVector::UNIT_Y, heading.Cross(CVector::UNIT_Y));
    canopy->SetOrientation(orientation);
    const CVector target = canopyPos + orientation * m_PilotChuteOffset;
    const CAnimationPtr extraction = m_Container->GetCanopy()->GetExtractionAnimation();
    const float k = extraction->GetRelativePosition();
    pilotChute->SetPos(pilotChutePos + (target - pilotChutePos) * k);
    m_Container->GetSlider()->GetGfxObj()->SetPos(canopyPos + m_SliderOffset);
    if (k >= 1.0f)
        m_Owner->ChangeState(m_Owner->GetSliderDown());
}

} // namespace sds::JumperStates
