#include "jumper/CatchAir.h"

#include "core/ILogMgr.h"
#include "jumper/ExtractDBag.h"

namespace sds::JumperStates {

CCatchAir::CCatchAir(CDeploymentControl* control, const CContainerPtr& container)
    : CDeploymentSubState(control),
      m_SecondsLeft(container->GetPilotChute()->GetConfig()->GetAttribute("CatchAirTime")->GetValue<float>()),
      m_PilotChute(container->GetPilotChute()),
      m_Container(container)
{
}

void CCatchAir::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Pilot chute is catching air");
    m_Offset = m_PilotChute->GetGfxObj()->GetWorldPos() - m_Container->GetGfxObj()->GetWorldPos();
}

void CCatchAir::OnUpdate(const CTiming& timing)
{
    CDeploymentControl::RefreshScene();
    m_PilotChute->GetGfxObj()->SetPos(m_Container->GetGfxObj()->GetWorldPos() + m_Offset);
    m_SecondsLeft -= timing.m_Elapsed;
    if (m_SecondsLeft <= 0.0f)
        m_Owner->ChangeState(m_Owner->GetExtractDBag());
}

} // namespace sds::JumperStates
