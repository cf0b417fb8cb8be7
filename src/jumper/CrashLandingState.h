#pragma once

#include "jumper/LandingState.h"

namespace sds::JumperStates {

// A crash: the body and the canopy are limp from the first frame.
class CCrashLandingState : public CLandingState
{
public:
    explicit CCrashLandingState(CJumper* jumper) : CLandingState(jumper) {}
    void Enter() override;
};

} // namespace sds::JumperStates
