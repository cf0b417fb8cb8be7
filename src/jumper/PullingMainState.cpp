#include "jumper/PullingMainState.h"

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "jumper/IContainer.h"
#include "jumper/Jumper.h"
#include "jumper/DeploymentState.h"

namespace sds::JumperStates {

CPullingMainState::CPullingMainState(CJumper* jumper)
    : CJumperState(jumper), m_Animation(jumper->ReadBodyAnimation("PullingMain"))
{
}

void CPullingMainState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Pulling Main Handle");
    GetJumper()->GetAnimationBlender()->FadeIn(m_Animation);
    m_Animation->SetAutoUpdate(true);
    GetJumper()->GetAnimationBlender()->Start();
    GetJumper()->GetContainer()->CreateBridleLine();
}

void CPullingMainState::OnUpdate(const CTiming&)
{
    GetJumper()->SyncToPhysics();
    if (m_Animation->GetRelativePosition() >= 1.0f)
        GetJumper()->ChangeState(GetJumper()->GetDeploymentState());
}

void CPullingMainState::Exit()
{
    ILogMgr::GetSingleton()->LogMessage("Pulling Main Handle Done");
    GetJumper()->GetAnimationBlender()->FadeOut(m_Animation);
    m_Animation->SetAutoUpdate(false);
}

} // namespace sds::JumperStates
