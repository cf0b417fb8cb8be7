#pragma once

#include "core/Vector.h"
#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

class IActor;

class IJoint
{
public:
    virtual EJointType GetType() const = 0;
    virtual EJointState GetState() const = 0;
    // The two actors as made; null for the world or an actor released since.
    virtual IActor* GetActor(int index) const = 0;

    // The joint breaks for good when the force or the torque about its anchor
    // that holds it passes these.
    virtual void SetBreakable(float maxForce, float maxTorque) = 0;
    virtual void GetBreakable(float& maxForce, float& maxTorque) const = 0;

    // Limit planes: the limit point (on the second actor unless told otherwise)
    // stays on the positive side of every plane, which moves with the other
    // actor. Setting the point removes the planes. The default point is the
    // second actor's origin.
    virtual void SetLimitPoint(const sds::CVector& worldPoint, bool pointIsOnActor2 = true) = 0;
    virtual bool AddLimitPlane(const sds::CVector& worldNormal, const sds::CVector& worldPointInPlane,
                               float restitution = 0.0f) = 0;
    virtual void PurgeLimitPlanes() = 0;
    virtual unsigned GetLimitPlaneCount() const = 0;

protected:
    ~IJoint() = default; // released through IScene::ReleaseJoint
};

} // namespace physics::sdk
