#include "jumper/DeployPilotChute.h"

#include "core/ILogMgr.h"

namespace sds::JumperStates {

CDeployPilotChute::CDeployPilotChute(CDeploymentControl* control, const CContainerPtr& container,
                                     const CDeploymentSubStatePtr& next)
    : CDistanceDelay(control,
                     container->GetPilotChute()->GetConfig()->GetAttribute("DeployDistance")->GetValue<float>(),
                     container->GetGfxObj(), container->GetPilotChute()->GetGfxObj(), next),
      m_DeploySpeed(container->GetPilotChute()->GetConfig()->GetAttribute("DeploySpeed")->GetValue<float>()),
      m_PilotChute(container->GetPilotChute()),
      m_Container(container)
{
}

void CDeployPilotChute::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Deploying pilot chute");
    m_PilotChute->StopInflating();
    m_PilotChute->GetGfxObj()->SetPos(m_Container->GetGfxObj()->GetWorldPos());
    m_PilotChute->GetGfxObj()->SetVisible(true);
    m_Offset = CVector::ZERO;
}

void CDeployPilotChute::OnUpdate(const CTiming& timing)
{
    CDeploymentControl::RefreshScene();
    const CVector rig = m_Container->GetGfxObj()->GetWorldPos();
    m_Offset += VerticalDirection(rig, m_PilotChute->GetGfxObj()->GetWorldPos()) * (m_DeploySpeed * timing.m_Elapsed);
    m_PilotChute->GetGfxObj()->SetPos(rig + m_Offset);
    m_PilotChute->GetGfxObj()->UpdateTransform();
    CDistanceDelay::OnUpdate(timing);
}

} // namespace sds::JumperStates
