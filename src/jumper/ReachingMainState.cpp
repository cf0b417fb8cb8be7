#include "jumper/ReachingMainState.h"

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "core/services/EventCodes.h"
#include "jumper/Jumper.h"
#include "jumper/PullingMainState.h"

namespace sds::JumperStates {

CReachingMainState::CReachingMainState(CJumper* jumper, const CAnimationPtr& animation)
    : CJumperState(jumper), m_Animation(animation)
{
}

void CReachingMainState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("Reaching Main Handle");
    GetJumper()->GetAnimationBlender()->FadeIn(m_Animation);
    m_Animation->SetAutoUpdate(true);
    GetJumper()->GetAnimationBlender()->Start();
}

void CReachingMainState::OnUpdate(const CTiming&)
{
    GetJumper()->SyncToPhysics();
}

void CReachingMainState::Exit()
{
    ILogMgr::GetSingleton()->LogMessage("Reaching Main Handle Done");
    GetJumper()->GetAnimationBlender()->FadeOut(m_Animation);
    m_Animation->SetAutoUpdate(false);
}

void CReachingMainState::OnDiscreteEvent(const CInternalEvent& event)
{
    if (event.Code == EventCodes::OpenCanopy && !event.On)
        GetJumper()->ChangeState(GetJumper()->GetPullingMainState());
}

} // namespace sds::JumperStates
