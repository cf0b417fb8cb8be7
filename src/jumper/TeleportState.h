#pragma once

#include "jumper/JumperState.h"

namespace sds::JumperStates {

// Ends a jump without a landing scene: at its first frame the jump is done
// and its display opens with the judge's message.
class CTeleportState : public CJumperState
{
public:
    explicit CTeleportState(CJumper* jumper) : CJumperState(jumper) {}
    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override {}
};

} // namespace sds::JumperStates
