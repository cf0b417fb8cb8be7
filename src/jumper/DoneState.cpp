#include "jumper/DoneState.h"

#include "core/ILogMgr.h"

namespace sds::JumperStates {

void CDoneState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("CDoneState");
}

} // namespace sds::JumperStates
