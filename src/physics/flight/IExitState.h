#pragma once

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace physics::PhyJumperStates {

// The jumper's body at the aircraft's door. What is set while another phase is
// current lasts only until the next step, which puts the body back in line.
class IExitState
{
public:
    virtual void SetPos(const sds::CVector& position) = 0;
    virtual void SetOrientation(const sds::CQuaternion& orientation) = 0;
    virtual void SetVelocity(const sds::CVector& velocity) = 0;

protected:
    ~IExitState() = default;
};

} // namespace physics::PhyJumperStates
