#include "jumper/ExtractDBag.h"

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "jumper/Jumper.h"

namespace sds::JumperStates {

CExtractDBag::CExtractDBag(CDeploymentControl* control, const CContainerPtr& container,
                           const CAnimationPtr& idleFreeFall, const CAnimationPtr& grabRisers,
                           const CDeploymentSubStatePtr& next)
    : CDistanceDelay(control, container->GetDBag()->GetConfig()->GetAttribute("ExtractDBagDist")->GetValue<float>(),
                     container->GetGfxObj(), container->GetDBag()->GetGfxObj(), next),
      m_Container(container),
      m_PilotChute(container->GetPilotChute()),
      m_DBag(container->GetDBag()),
      m_Speed(container->GetDBag()->GetConfig()->GetAttribute("ExtractDBagSpeed")->GetValue<float>()),
      m_BridleLength(container->GetPilotChute()->GetConfig()->GetAttribute("DeployDistance")->GetValue<float>()),
      m_IdleFreeFall(idleFreeFall),
      m_GrabRisers(grabRisers)
{
}

void CExtractDBag::Enter()
{
    CAnimationBlender* blender = m_Owner->GetJumper()->GetAnimationBlender();
    blender->FadeOut(m_IdleFreeFall);
    m_IdleFreeFall->SetAutoUpdate(false);
    blender->FadeIn(m_GrabRisers);
    m_GrabRisers->SetAutoUpdate(true);
    blender->Start();
    ILogMgr::GetSingleton()->LogMessage("Extracting DBag");
    m_Container->CreateLines();
    const CVector rig = m_Container->GetGfxObj()->GetWorldPos();
    m_DBag->GetGfxObj()->SetPos(rig);
    m_Offset = m_PilotChute->GetGfxObj()->GetWorldPos() - rig;
    m_Owner->NextPhysicalStage();
}

void CExtractDBag::OnUpdate(const CTiming& timing)
{
    CDeploymentControl::RefreshScene();
    const CVector rig = m_Container->GetGfxObj()->GetWorldPos();
    m_Offset += VerticalDirection(rig, m_PilotChute->GetGfxObj()->GetWorldPos()) * (m_Speed * timing.m_Elapsed);
    const CVector pilotChute = rig + m_Offset;
    m_PilotChute->GetGfxObj()->SetPos(pilotChute);
    m_DBag->GetGfxObj()->SetPos(pilotChute + Normalised(rig - pilotChute) * m_BridleLength);
    m_DBag->GetGfxObj()->UpdateTransform();
    CDistanceDelay::OnUpdate(timing);
}

} // namespace sds::JumperStates
