#pragma once

#include <cstdint>
#include <vector>

#include "core/Quaternion.h"
#include "core/Vector.h"

namespace physics::sdk {

class IScene;
class IShape;
class IUserData;

// A rigid actor. Its frame is the one its shapes are posed in, whatever the
// centre of mass; velocities are those of the centre of mass. Forces act for the
// next step only. Every non-finite position, orientation, velocity or force
// handed in is reported to the output stream and dropped.
class IActor
{
public:
    virtual IScene& GetScene() const = 0;
    virtual bool IsDynamic() const = 0;
    virtual const std::vector<IShape*>& GetShapes() const = 0;

    virtual sds::CVector GetGlobalPosition() const = 0;
    virtual sds::CQuaternion GetGlobalOrientation() const = 0;
    // These place the actor at once; a kinematic actor is moved with the Move… calls.
    virtual void SetGlobalPosition(const sds::CVector& position) = 0;
    virtual void SetGlobalOrientation(const sds::CQuaternion& orientation) = 0;
    virtual void SetGlobalPose(const sds::CVector& position, const sds::CQuaternion& orientation) = 0;
    // A kinematic actor reaches the target in the next step, with the velocity
    // that takes it there, and pushes what is in its way.
    virtual void MoveGlobalPosition(const sds::CVector& position) = 0;
    virtual void MoveGlobalOrientation(const sds::CQuaternion& orientation) = 0;
    // The group: this actor and every dynamic actor joined to it by joints that
    // hold, directly or through others; static actors and the world end it.
    // Placing it puts this actor at the pose and the others where they were
    // relative to it; setting its velocity moves it as one rigid piece whose
    // centre of mass is this actor's.
    virtual void SetGroupPose(const sds::CVector& position, const sds::CQuaternion& orientation) = 0;
    virtual void SetGroupVelocity(const sds::CVector& linear, const sds::CVector& angular) = 0;

    virtual sds::CVector GetLinearVelocity() const = 0;
    virtual void SetLinearVelocity(const sds::CVector& velocity) = 0;
    virtual sds::CVector GetAngularVelocity() const = 0;
    virtual void SetAngularVelocity(const sds::CVector& velocity) = 0;
    // The world velocity of a point given in the actor's frame.
    virtual sds::CVector GetLocalPointVelocity(const sds::CVector& localPoint) const = 0;
    // A world force at a point in the actor's frame.
    virtual void AddForceAtLocalPos(const sds::CVector& force, const sds::CVector& localPoint, bool wakeUp = true) = 0;
    // A force in the actor's axes at a point in the actor's frame.
    virtual void AddLocalForceAtLocalPos(const sds::CVector& force, const sds::CVector& localPoint, bool wakeUp = true) = 0;

    // Spreads `totalMass` over the shapes by their volumes (or `density` x volume
    // when the total is 0) and places the centre of mass and the inertia.
    virtual bool UpdateMassFromShapes(float density, float totalMass) = 0;
    virtual float GetMass() const = 0;
    virtual sds::CVector GetCMassLocalPosition() const = 0;
    virtual float GetLinearDamping() const = 0;
    virtual void SetLinearDamping(float perSecond) = 0;
    virtual float GetAngularDamping() const = 0;
    virtual void SetAngularDamping(float perSecond) = 0;

    // EBodyFlag bits; a dynamic actor only. Switching takes effect at once and
    // keeps the actor's joints.
    virtual void RaiseBodyFlag(std::uint32_t flags) = 0;
    virtual void ClearBodyFlag(std::uint32_t flags) = 0;
    virtual bool ReadBodyFlag(std::uint32_t flags) const = 0; // all of them set
    // EActorFlag bits.
    virtual void RaiseActorFlag(std::uint32_t flags) = 0;
    virtual void ClearActorFlag(std::uint32_t flags) = 0;
    virtual bool ReadActorFlag(std::uint32_t flags) const = 0;
    virtual std::uint16_t GetActorGroup() const = 0;
    virtual void SetActorGroup(std::uint16_t group) = 0;

    virtual bool IsSleeping() const = 0;
    virtual void WakeUp() = 0;

    virtual IUserData* GetUserData() const = 0;
    virtual void SetUserData(IUserData* userData) = 0;

protected:
    ~IActor() = default; // released through IScene::ReleaseActor
};

} // namespace physics::sdk
