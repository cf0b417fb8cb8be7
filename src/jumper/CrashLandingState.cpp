#include "jumper/CrashLandingState.h"

#include "core/ILogMgr.h"
#include "jumper/RagDollObj.h"

namespace sds::JumperStates {

void CCrashLandingState::Enter()
{
    CLandingState::Enter();
    ILogMgr::GetSingleton()->LogMessage("CCrashLandingState");
    m_BodyRagDoll->SwitchToPhysics();
    if (m_CanopyRagDoll)
        m_CanopyRagDoll->SwitchToPhysics();
}

} // namespace sds::JumperStates
