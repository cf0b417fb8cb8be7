#pragma once

#include <memory>

#include <BulletDynamics/ConstraintSolver/btTypedConstraint.h>
#include <LinearMath/btTransform.h>

#include "physics/sdk/IJoint.h"
#include "physics/sdk/JointDesc.h"

class btGeneric6DofSpring2Constraint;

namespace physics::sdk {

class CBulletActor;
class CBulletScene;
class CDistanceConstraint;
class CLimitPlaneConstraint;

// A joint as one engine constraint: a six-axis constraint with limits, springs
// and a motor for every kind but the distance joint, which has its own. Limit
// planes are a second constraint between the same bodies.
//
// The solver works on velocities, so a light body on a fixed joint to a heavy
// one that turns drifts out of place by its curved path each step, and
// wobbles back (a canopy cell of a kilogram on a body turning at several
// radians a second: centimetres). After every step a fixed joint therefore
// sets its follower, the second actor (or the first when the second cannot
// move), exactly where the joint holds it, moving with the other side. A
// follower with frozen axes is left to the solver.
class CBulletJoint final : public IJoint
{
public:
    // The descriptor has been checked by the scene; a static actor counts as the world.
    CBulletJoint(CBulletScene& scene, const CJointDesc& desc, CBulletActor* actor0, CBulletActor* actor1);
    ~CBulletJoint();

    EJointType GetType() const override { return m_Desc.m_Type; }
    EJointState GetState() const override { return m_State; }
    IActor* GetActor(int index) const override;
    void SetBreakable(float maxForce, float maxTorque) override;
    void GetBreakable(float& maxForce, float& maxTorque) const override;
    void SetLimitPoint(const sds::CVector& worldPoint, bool pointIsOnActor2) override;
    bool AddLimitPlane(const sds::CVector& worldNormal, const sds::CVector& worldPointInPlane,
                       float restitution) override;
    void PurgeLimitPlanes() override;
    unsigned GetLimitPlaneCount() const override;

    // The actor is being released: the joint stays, unbound.
    void Unbind();
    // An actor's centre of mass moved: joint space is kept in the actors' frames.
    void RefreshFrames();
    // Before a step.
    void ApplySprings();
    // After a step: breaks the joint when what held it passed its limits.
    void CheckBreak();
    // After a step: a fixed joint puts its follower back where it holds it.
    void Project();
    bool IsBetween(const CBulletActor* first, const CBulletActor* second) const;
    CBulletActor* GetBulletActor(int side) const { return m_Actors[side]; }

private:
    btRigidBody& BodyOf(int side) const;
    CBulletActor* DynamicActor(int side) const;
    btTransform BodyFrame(int side) const;
    void ConfigureSixAxis();
    void EnsureLimitPlanes();
    void RemoveFromWorld();

    CBulletScene& m_Scene;
    CJointDesc m_Desc;
    CBulletActor* m_Actors[2];
    btTransform m_Frames[2]; // joint space in each actor's frame (the world's without an actor)
    EJointState m_State = JS_SIMULATING;
    btJointFeedback m_Feedback;
    std::unique_ptr<btGeneric6DofSpring2Constraint> m_SixAxis;
    std::unique_ptr<CDistanceConstraint> m_Distance;
    std::unique_ptr<CLimitPlaneConstraint> m_LimitPlanes;
    bool m_CollisionBlocked = false;
};

} // namespace physics::sdk
