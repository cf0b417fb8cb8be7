#pragma once

#include "core/StateMachineTmpl.h"
#include "core/services/Events.h"

namespace sds {

class CJumper;

namespace JumperStates {

// A state of the jumper's machine. The jumper owns its states and outlives
// them; a state reads the jumper through its owner pointer. Pausing and
// resuming do nothing, and an event a state does not handle is ignored.
class CJumperState : public IStateTmpl<CJumper>
{
public:
    explicit CJumperState(CJumper* jumper) : IStateTmpl<CJumper>(jumper) {}
    ~CJumperState() override = default;

    void Pause() override {}
    void Resume() override {}
    virtual void OnAnalogEvent(const CInternalEvent&) {}
    virtual void OnDiscreteEvent(const CInternalEvent&) {}

protected:
    CJumper* GetJumper() const { return m_Owner; }
};

} // namespace JumperStates
} // namespace sds
