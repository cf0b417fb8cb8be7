#pragma once

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace physics::PhyJumperStates {

// The jumper's body between the pull and the open canopy.
class IDeploymentState
{
public:
    virtual sds::CVector GetPos() const = 0;
    virtual sds::CQuaternion GetOrientation() const = 0;
    // The next stage of the deployment: pilot chute out, canopy out, slider down.
    virtual void NextStage() = 0;

protected:
    ~IDeploymentState() = default;
};

} // namespace physics::PhyJumperStates
