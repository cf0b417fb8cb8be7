#pragma once

#include <stdexcept>
#include <vector>

#include "core/Timing.h"

namespace sds {

// A state of the machine of `Owner`. The owner creates its states and keeps
// them alive; a state must tolerate being entered and exited many times.
template <class Owner>
class IStateTmpl : public IOnUpdate
{
public:
    typedef Owner OwnerType;

    explicit IStateTmpl(Owner* owner) : m_Owner(owner) {}
    void OnUpdate(const CTiming& timing) override = 0;
    ~IStateTmpl() override = default;
    virtual void Enter() = 0;
    virtual void Exit() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;

    Owner* GetOwner() const { return m_Owner; }

protected:
    Owner* const m_Owner;
};

// A stack of states; the back of m_States is the current state. The machine
// never owns its states.
template <class State, class Base = IUpdate>
class CStateMachineTmpl : public Base
{
public:
    void Update(const CTiming& timing) override
    {
        OnUpdate(timing);
        if (!m_States.empty())
            m_States.back()->OnUpdate(timing);
    }

    ~CStateMachineTmpl() override = default;

    virtual void OnUpdate(const CTiming&) {}
    virtual void OnStart() = 0;
    virtual void Start() { OnStart(); }
    virtual void OnStop() {}
    virtual void OnResume() {}
    virtual void OnPause() {}

    // Exits every state from the top down (uncovered states are not resumed).
    virtual void Stop()
    {
        while (!m_States.empty()) {
            State* top = m_States.back();
            top->Exit();
            RemoveTop(top);
        }
        OnStop();
    }

    virtual void Pause()
    {
        OnPause();
        if (!m_States.empty())
            m_States.back()->Pause();
    }

    virtual void Resume()
    {
        OnResume();
        if (!m_States.empty())
            m_States.back()->Resume();
    }

    // A state whose Enter throws is not left on the stack: the state it
    // covered is resumed and the exception goes on.
    void PushState(State* state)
    {
        if (!m_States.empty())
            m_States.back()->Pause();
        m_States.push_back(state);
        try {
            state->Enter();
        } catch (...) {
            if (RemoveTop(state) && !m_States.empty())
                m_States.back()->Resume();
            throw;
        }
    }

    // Replaces the top only; nothing happens when `state` is already current.
    // A state whose Enter throws is not left on the stack; the state it
    // replaced stays exited.
    void ChangeState(State* state)
    {
        if (!m_States.empty()) {
            State* top = m_States.back();
            if (top == state)
                return;
            top->Exit();
            RemoveTop(top);
        }
        m_States.push_back(state);
        try {
            state->Enter();
        } catch (...) {
            RemoveTop(state);
            throw;
        }
    }

    void PopState()
    {
        if (m_States.empty())
            return;
        State* top = m_States.back();
        top->Exit();
        RemoveTop(top);
        if (!m_States.empty())
            m_States.back()->Resume();
    }

    bool HasStates() const { return !m_States.empty(); }

    bool HasState(const State* state) const
    {
        for (const State* s : m_States)
            if (s == state)
                return true;
        return false;
    }

    State* GetCurrentState() const
    {
        if (m_States.empty())
            throw std::runtime_error("!m_States.empty() && \"No states are added\"");
        return m_States.back();
    }

protected:
    std::vector<State*> m_States;

private:
    // A state's Exit may itself change the stack; remove exactly the state that
    // was exited, and only if it is still on top.
    bool RemoveTop(State* exited)
    {
        if (m_States.empty() || m_States.back() != exited)
            return false;
        m_States.pop_back();
        return true;
    }
};

// A state of one machine that runs a second machine: its OnUpdate updates the
// sub-machine; the other operations are the derived state's.
template <class State, class SubMachine>
class CSuperStateTmpl : public State
{
public:
    CSuperStateTmpl(typename State::OwnerType* owner, SubMachine* subMachine)
        : State(owner), m_SubMachine(subMachine)
    {
    }

    void OnUpdate(const CTiming& timing) override { m_SubMachine->Update(timing); }

protected:
    SubMachine* m_SubMachine;
};

} // namespace sds
