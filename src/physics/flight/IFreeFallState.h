#pragma once

namespace physics::PhyJumperStates {

// The jumper's body in free fall.
class IFreeFallState
{
public:
    // A body position chosen by the jumper; the body falls as it is whatever it is.
    virtual void SetControl(float control) = 0;

protected:
    ~IFreeFallState() = default;
};

} // namespace physics::PhyJumperStates
