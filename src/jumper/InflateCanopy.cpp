#include "jumper/InflateCanopy.h"

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "graphics/IGfxMgr.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/ICanopy.h"
#include "jumper/IDBag.h"
#include "jumper/IPilotChute.h"
#include "jumper/ISlider.h"
#include "jumper/DeploymentControl.h"
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
    // The pieces change parents where they are drawn, and take their places
    // before this frame is drawn, not a frame later.
    CDeploymentControl::RefreshScene();
    const CGfxObjPtr root = IGfxMgr::GetSingleton()->GetRootObject();
    const CGfxObjPtr canopy = m_Container->GetCanopy()->GetGfxObj();
    MoveUnder(root, canopy);
    MoveUnder(root, m_Container->GetSlider()->GetGfxObj());
    MoveUnder(canopy, m_Container->GetDBag()->GetGfxObj());
    Place();
}

void CInflateCanopy::OnUpdate(const CTiming&)
{
    Place();
    if (m_Container->GetCanopy()->GetExtractionAnimation()->GetRelativePosition() >= 1.0f)
        m_Owner->ChangeState(m_Owner->GetSliderDown());
}

void CInflateCanopy::Place()
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
    const float k = m_Container->GetCanopy()->GetExtractionAnimation()->GetRelativePosition();
    pilotChute->SetPos(pilotChutePos + (target - pilotChutePos) * k);
    m_Container->GetSlider()->GetGfxObj()->SetPos(canopyPos + m_SliderOffset);
}

} // namespace sds::JumperStates
