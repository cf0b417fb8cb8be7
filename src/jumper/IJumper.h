#pragma once

#include <string>

#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "core/services/Events.h"

namespace sds {

class ITrajectory;

// The jumper as the level sees it: updated once a frame, handed the named
// events meant for it, read by the head-up display and recorded at the end.
class IJumper : public IUpdate
{
public:
    ~IJumper() override = default;
    virtual void OnDiscreteEvent(const CInternalEvent& event) = 0;
    virtual void OnAnalogEvent(const CInternalEvent& event) = 0;
    // Where the jumper is in the world and how fast it moves (m, m/s).
    virtual CVector GetPos() const = 0;
    virtual CVector GetVelocity() const = 0;
    // The name of its graphic object's entity.
    virtual std::string GetName() const = 0;
    // The pull of the left and right hand's active control, 0 to 1.
    virtual float GetLeftTurnValue() const = 0;
    virtual float GetRightTurnValue() const = 0;
    // The altimeter's panel material; empty without an altimeter.
    virtual std::string GetCurrentAnimationName() const = 0;
    // The path flown so far.
    virtual const ITrajectory& GetTrajectory() const = 0;
    // A new "LandingInfo" node: the body's and the landing judge's "Info" rows.
    virtual xml::CNodePtr GetLandingInfo() const = 0;
};

} // namespace sds
