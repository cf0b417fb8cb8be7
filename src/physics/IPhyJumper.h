#pragma once

#include <functional>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "physics/IPhyCollisionEvent.h"

namespace physics {

namespace PhyJumperStates {
class IExitState;
class IFreeFallState;
class IDeploymentState;
class ICanopyRideState;
class ILandingState;
}

// The physical body of one jumper, which the jumper drives through the phases
// of a jump. Each phase has a body of its own; the getters answer for the
// current one. The world steps it once every fixed step, after the step's
// contacts and triggers and before the moving bodies and windsocks.
class IPhyJumper
{
public:
    typedef std::function<void(const IPhyCollisionEvent&)> CCollisionCallback;

    virtual ~IPhyJumper() = default;

    // Once every fixed step: after the step's contacts and triggers have been
    // handed out, before the moving bodies and the windsocks.
    virtual void Update(const sds::CTiming& step) = 0;
    // The current phase's forces, for the debug view.
    virtual void DrawForces() = 0;

    virtual bool IsInExitState() const = 0;
    virtual bool IsInFreeFallState() const = 0;
    virtual bool IsInDeploymentState() const = 0;
    virtual bool IsInCanopyRideState() const = 0;
    virtual bool IsInLandingState() const = 0;

    // Makes that phase's body the current body, with the collision callback,
    // and that phase current (entering it when it was not). Any order is allowed.
    virtual void SwitchToExitState() = 0;
    virtual void SwitchToFreeFallState() = 0;
    virtual void SwitchToDeploymentState() = 0;
    virtual void SwitchToCanopyRideState() = 0;
    virtual void SwitchToLandingState() = 0;

    // The phases, which live as long as the body.
    virtual PhyJumperStates::IExitState* GetExitState() = 0;
    virtual PhyJumperStates::IFreeFallState* GetFreeFallState() = 0;
    virtual PhyJumperStates::IDeploymentState* GetDeploymentState() = 0;
    virtual PhyJumperStates::ICanopyRideState* GetCanopyRideState() = 0;
    virtual PhyJumperStates::ILandingState* GetLandingState() = 0;

    // Called with the contacts of whichever phase's body is current.
    virtual void SetCollisionCallback(const CCollisionCallback& callback) = 0;

    virtual sds::CVector GetPos() const = 0;
    virtual sds::CVector GetVelocity() const = 0;
    virtual sds::CQuaternion GetOrientation() const = 0;
    // A new "PhyInfo" node with an "Info" child of the wing loading ("Name", "Units").
    virtual xml::CNodePtr GetPhyInfo() const = 0;
};

} // namespace physics
