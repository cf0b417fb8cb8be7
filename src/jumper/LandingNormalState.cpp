#include "jumper/LandingNormalState.h"

#include <cmath>

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
    // Upright at once, facing the way he came in: not turned to one fixed
    // heading on the ground.
    const CGfxObjPtr body = GetJumper()->GetGfxObj();
    const CVector forward = body->GetOrientation() * CVector::UNIT_X;
    CQuaternion upright;
    if (forward.x * forward.x + forward.z * forward.z > 1e-6f)
        upright.FromAngleAxis(std::atan2(-forward.z, forward.x), CVector::UNIT_Y);
    body->SetOrientation(upright);
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
