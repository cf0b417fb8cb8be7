#pragma once

#include "jumper/JumperState.h"

namespace sds::JumperStates {

// The jump is over; nothing more happens.
class CDoneState : public CJumperState
{
public:
    explicit CDoneState(CJumper* jumper) : CJumperState(jumper) {}
    void OnUpdate(const CTiming&) override {}
    void Enter() override;
    void Exit() override {}
};

} // namespace sds::JumperStates
