#pragma once

#include <memory>

#include "core/StateMachineTmpl.h"
#include "physics/PhyObj.h"
#include "physics/flight/ISyncObj.h"

namespace physics {

class CPhyJumper;

namespace sdk {
class IActor;
}

namespace PhyJumperStates {

// A phase of the jumper's physical body. Every phase has a body of its own that
// outlives the phase: while another phase is current, the phase's sync object
// keeps that body in line with the current one, so that the phase can take over
// where the jumper is. The owner syncs every phase every step, current or not.
class CPhyJumperState : public sds::IStateTmpl<CPhyJumper>, public sds::ISyncObj
{
public:
    explicit CPhyJumperState(CPhyJumper* owner) : IStateTmpl(owner) {}

    void Pause() override {}
    void Resume() override {}
    // The size of the drag on the phase's body (newtons); 0 for a phase without one.
    virtual float GetBodyDragMagnitude() const = 0;
    // The phase's own data-log columns, from `column` on.
    virtual void LogData(float time, int column) {}
    virtual CPhyObj* GetBody() = 0;
    virtual void DrawForces() = 0;
    virtual void SetCollisionCallback(const CPhyObj::CCollisionCallback& callback);

    void Sync() override;

protected:
    // The timing a body's own update takes within a step: the step's length, no global time.
    static sds::CTiming BodyStep(const sds::CTiming& step)
    {
        sds::CTiming timing;
        timing.m_Elapsed = step.m_Elapsed;
        return timing;
    }
    // The actor of the owner's current body, or null.
    sdk::IActor* GetCurrentActor() const;
    // From now on the phase's body moves with the owner's current body (none: it stays where it is).
    void FollowCurrentBody();

    std::shared_ptr<sds::ISyncObj> m_Sync;
};

} // namespace PhyJumperStates
} // namespace physics
