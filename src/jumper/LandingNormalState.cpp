#include "jumper/LandingNormalState.h"

#include "core/ILogMgr.h"
#include "jumper/Jumper.h"

namespace sds::JumperStates {

CLandingNormalState::CLandingNormalState(CJumper* jumper, const CAnimationPtr& walking)
    : CLandingState(jumper), m_Animation(walking)
{
}

void CLandingNormalState::Enter()
{
    m_StandUp = true;
    GetJumper()->GetGfxObj()->SetOrientation(CQuaternion::IDENTITY);
    CLandingState::Enter();
    ILogMgr::GetSingleton()->LogMessage("CLandingNormalState");
    GetJumper()->PushInputMode("LandingNormal");
    GetJumper()->GetAnimationBlender()->FadeIn(m_Animation);
    GetJumper()->GetAnimationBlender()->Start();
}

void CLandingNormalState::Exit()
{
    GetJumper()->PopInputMode();
}

} // namespace sds::JumperStates
