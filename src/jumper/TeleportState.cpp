#include "jumper/TeleportState.h"

#include "core/ILogMgr.h"
#include "jumper/IJumpEndDisplay.h"
#include "jumper/Jumper.h"
#include "jumper/DoneState.h"

namespace sds::JumperStates {

void CTeleportState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("CTeleportState");
}

void CTeleportState::OnUpdate(const CTiming&)
{
    CJumper& jumper = *GetJumper();
    jumper.ChangeState(jumper.GetDoneState());
    if (IJumpEndDisplay* display = jumper.GetLinks().JumpEnd)
        display->ShowTrajectory(true, jumper.GetCollisionJudge()->GetMessage() + "\n");
}

} // namespace sds::JumperStates
