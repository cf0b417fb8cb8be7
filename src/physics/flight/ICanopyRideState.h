#pragma once

#include <memory>

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace physics {

class CPhyPilotChute;

namespace PhyJumperStates {

// The jumper's body under the open canopy. Pulls go from 0 (released) to 1
// (fully pulled); the cells limit what is out of range.
class ICanopyRideState
{
public:
    virtual void SetLeftToggle(float pull) = 0;
    virtual void SetRightToggle(float pull) = 0;
    virtual void SetLeftRearRiser(float pull) = 0;
    virtual void SetRightRearRiser(float pull) = 0;
    virtual void SetLeftFrontRiser(float pull) = 0;
    virtual void SetRightFrontRiser(float pull) = 0;
    // Where the canopy is: the body's position moved by the canopy's offset in the body's frame.
    virtual sds::CVector GetCanopyPos() const = 0;
    virtual sds::CQuaternion GetCanopyOrientation() const = 0;
    // Empty when the canopy flies without one.
    virtual std::shared_ptr<CPhyPilotChute> GetPilotChute() const = 0;

protected:
    ~ICanopyRideState() = default;
};

} // namespace PhyJumperStates
} // namespace physics
