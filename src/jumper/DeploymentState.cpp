#include "jumper/DeploymentState.h"

#include "core/ILogMgr.h"
#include "jumper/Jumper.h"
#include "jumper/CanopyRideState.h"
#include "physics/IPhyJumper.h"

namespace sds::JumperStates {

CDeploymentState::CDeploymentState(CJumper* jumper, const CAnimationPtr& idleFreeFall,
                                   const CAnimationPtr& grabRisers)
    : CSuperStateTmpl(jumper, &m_Control), m_Control(jumper, idleFreeFall, grabRisers)
{
}

void CDeploymentState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("CDeploymentState");
    GetJumper()->GetPhyJumper()->SwitchToDeploymentState();
    m_Control.Start();
}

void CDeploymentState::OnUpdate(const CTiming& timing)
{
    GetJumper()->SyncToPhysics();
    m_Control.Update(timing);
    if (!m_Control.HasStates())
        GetJumper()->ChangeState(GetJumper()->GetCanopyRideState());
}

} // namespace sds::JumperStates
