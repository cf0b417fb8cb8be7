#include "jumper/PLFLandingState.h"

#include "core/ILogMgr.h"
#include "jumper/Jumper.h"

namespace sds::JumperStates {

CPLFLandingState::CPLFLandingState(CJumper* jumper, const CAnimationPtr& fall) : CLandingState(jumper), m_Animation(fall)
{
}

void CPLFLandingState::Enter()
{
    m_StandUp = true;
    CLandingState::Enter();
    ILogMgr::GetSingleton()->LogMessage("CPLFLandingState");
    GetJumper()->GetAnimationBlender()->FadeIn(m_Animation);
    GetJumper()->GetAnimationBlender()->Start();
}

} // namespace sds::JumperStates
