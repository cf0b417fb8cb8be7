#include "physics/sdk/bullet/BulletJoint.h"

#include <cfloat>

#include <BulletDynamics/ConstraintSolver/btGeneric6DofSpring2Constraint.h>
#include <BulletDynamics/Dynamics/btDiscreteDynamicsWorld.h>
#include <BulletDynamics/Dynamics/btRigidBody.h>

#include "physics/sdk/bullet/BulletActor.h"
#include "physics/sdk/bullet/BulletMath.h"
#include "physics/sdk/bullet/BulletScene.h"
#include "physics/sdk/bullet/ConstraintRows.h"
#include "physics/sdk/bullet/DistanceConstraint.h"
#include "physics/sdk/bullet/LimitPlaneConstraint.h"
#include "physics/sdk/bullet/Report.h"

namespace physics::sdk {

namespace {

// How hard a locked axis pulls back its error in one step (the engine's default is 0.2).
const btScalar STOP_ERP = 0.8f;

// Joint space: origin at the anchor, x along the axis, y along the normal.
btTransform MakeFrame(const sds::CVector& anchor, const sds::CVector& axis, const sds::CVector& normal)
{
    btVector3 x = ToBt(axis).normalized();
    btVector3 y = ToBt(normal);
    y = (y - x * x.dot(y)).normalized();
    const btVector3 z = x.cross(y);
    btMatrix3x3 basis(x.x(), y.x(), z.x(), x.y(), y.y(), z.y(), x.z(), y.z(), z.z());
    return btTransform(basis, ToBt(anchor));
}

enum EAxisState
{
    LOCKED,
    FREE,
    LIMITED,
};

} // namespace

CBulletJoint::CBulletJoint(CBulletScene& scene, const CJointDesc& desc, CBulletActor* actor0, CBulletActor* actor1)
    : m_Scene(scene), m_Desc(desc), m_Actors{actor0, actor1}
{
    m_Feedback.m_appliedForceBodyA = m_Feedback.m_appliedForceBodyB = btVector3(0, 0, 0);
    m_Feedback.m_appliedTorqueBodyA = m_Feedback.m_appliedTorqueBodyB = btVector3(0, 0, 0);
    if (m_Desc.m_Type == JOINT_FIXED)
    {
        // A fixed joint keeps the actors as they are now; joint space sits on the
        // second actor (the lighter cell of a canopy), which the engine holds best.
        const btTransform pose0 = SidePose(m_Actors[0]);
        const btTransform pose1 = SidePose(m_Actors[1]);
        m_Frames[0] = pose0.inverse() * pose1;
        m_Frames[1] = btTransform::getIdentity();
    }
    else
    {
        for (int i = 0; i < 2; ++i)
            m_Frames[i] = MakeFrame(m_Desc.m_LocalAnchor[i], m_Desc.m_LocalAxis[i], m_Desc.m_LocalNormal[i]);
    }

    btDiscreteDynamicsWorld& world = m_Scene.GetWorld();
    btTypedConstraint* constraint = nullptr;
    if (m_Desc.m_Type == JOINT_DISTANCE)
    {
        m_Distance = std::make_unique<CDistanceConstraint>(BodyOf(0), BodyOf(1), BodyFrame(0).getOrigin(),
                                                           BodyFrame(1).getOrigin());
        const std::uint32_t f = m_Desc.m_Flags;
        m_Distance->SetLimits(f & DISTANCE_MIN_ENABLED, m_Desc.m_MinDistance, f & DISTANCE_MAX_ENABLED,
                              m_Desc.m_MaxDistance);
        m_Distance->SetSpring(f & DISTANCE_SPRING_ENABLED, m_Desc.m_Spring.m_Spring, m_Desc.m_Spring.m_Damper);
        constraint = m_Distance.get();
    }
    else
    {
        // A ball joint's twist (x) goes in the middle of the angle order, away from
        // the singular middle angle, so that its swing can reach the horizontal.
        const RotateOrder order = m_Desc.m_Type == JOINT_SPHERICAL ? RO_YXZ : RO_XYZ;
        m_SixAxis = std::make_unique<btGeneric6DofSpring2Constraint>(BodyOf(0), BodyOf(1), BodyFrame(0),
                                                                     BodyFrame(1), order);
        ConfigureSixAxis();
        constraint = m_SixAxis.get();
    }
    constraint->setJointFeedback(&m_Feedback);
    SetBreakable(m_Desc.m_MaxForce, m_Desc.m_MaxTorque);
    world.addConstraint(constraint, false);

    for (CBulletActor* actor : m_Actors)
        if (actor)
            actor->AddJoint(this);
    if (!(m_Desc.m_JointFlags & JF_COLLISION_ENABLED) && m_Actors[0] && m_Actors[1])
    {
        m_Scene.BlockCollision(*m_Actors[0], *m_Actors[1], true);
        m_CollisionBlocked = true;
    }
}

CBulletJoint::~CBulletJoint()
{
    Unbind();
}

void CBulletJoint::ConfigureSixAxis()
{
    const std::uint32_t f = m_Desc.m_Flags;
    EAxisState linear[3] = {LOCKED, LOCKED, LOCKED};
    EAxisState angular[3] = {LOCKED, LOCKED, LOCKED};
    switch (m_Desc.m_Type)
    {
    case JOINT_SPHERICAL:
        if (f & SPHERICAL_JOINT_SPRING_ENABLED)
            linear[0] = linear[1] = linear[2] = FREE;
        angular[0] = f & SPHERICAL_TWIST_LIMIT_ENABLED ? LIMITED : FREE;
        angular[1] = angular[2] = f & SPHERICAL_SWING_LIMIT_ENABLED ? LIMITED : FREE;
        break;
    case JOINT_REVOLUTE: angular[0] = f & REVOLUTE_LIMIT_ENABLED ? LIMITED : FREE; break;
    case JOINT_PRISMATIC: linear[0] = FREE; break;
    case JOINT_CYLINDRICAL: linear[0] = FREE, angular[0] = FREE; break;
    case JOINT_POINT_ON_LINE: linear[0] = FREE, angular[0] = angular[1] = angular[2] = FREE; break;
    default: break;
    }

    for (int i = 0; i < 3; ++i)
    {
        if (linear[i] == LOCKED)
            m_SixAxis->setLimit(i, 0, 0);
        else
            m_SixAxis->setLimit(i, 1, -1);
    }
    // The engine's angles turn the first body against the second, the joint's the
    // second against the first: angular limits, targets and speeds change sign.
    for (int i = 0; i < 3; ++i)
    {
        const int axis = 3 + i;
        if (angular[i] == LOCKED)
            m_SixAxis->setLimit(axis, 0, 0);
        else if (angular[i] == FREE)
            m_SixAxis->setLimit(axis, 1, -1);
        else if (i == 0)
            m_SixAxis->setLimit(axis, -m_Desc.m_Limit.m_High.m_Value, -m_Desc.m_Limit.m_Low.m_Value);
        else
            m_SixAxis->setLimit(axis, -m_Desc.m_SwingLimit.m_Value, m_Desc.m_SwingLimit.m_Value);
    }
    for (int axis = 0; axis < 6; ++axis)
        m_SixAxis->setParam(BT_CONSTRAINT_STOP_ERP, STOP_ERP, axis);

    auto spring = [this](int axis, const CSpringDesc& desc) {
        m_SixAxis->enableSpring(axis, true);
        m_SixAxis->setStiffness(axis, desc.m_Spring);
        m_SixAxis->setDamping(axis, desc.m_Damper);
        m_SixAxis->setEquilibriumPoint(axis, axis < 3 ? desc.m_TargetValue : -desc.m_TargetValue);
    };
    if (m_Desc.m_Type == JOINT_SPHERICAL)
    {
        if (f & SPHERICAL_TWIST_SPRING_ENABLED)
            spring(3, m_Desc.m_Spring);
        if (f & SPHERICAL_SWING_SPRING_ENABLED)
            spring(4, m_Desc.m_SwingSpring), spring(5, m_Desc.m_SwingSpring);
        if (f & SPHERICAL_JOINT_SPRING_ENABLED)
            for (int axis = 0; axis < 3; ++axis)
                spring(axis, CSpringDesc{m_Desc.m_JointSpring.m_Spring, m_Desc.m_JointSpring.m_Damper, 0.0f});
    }
    else if (m_Desc.m_Type == JOINT_REVOLUTE)
    {
        if (f & REVOLUTE_SPRING_ENABLED)
            spring(3, m_Desc.m_Spring);
        if (f & REVOLUTE_MOTOR_ENABLED)
        {
            m_SixAxis->enableMotor(3, true);
            m_SixAxis->setTargetVelocity(3, -m_Desc.m_Motor.m_VelTarget);
            m_SixAxis->setMaxMotorForce(3, m_Desc.m_Motor.m_MaxForce);
        }
    }
}

IActor* CBulletJoint::GetActor(int index) const
{
    return index == 0 || index == 1 ? m_Actors[index] : nullptr;
}

CBulletActor* CBulletJoint::DynamicActor(int side) const
{
    CBulletActor* actor = m_Actors[side];
    return actor && actor->IsDynamic() ? actor : nullptr;
}

btRigidBody& CBulletJoint::BodyOf(int side) const
{
    CBulletActor* actor = DynamicActor(side);
    return actor ? *actor->GetBody() : btTypedConstraint::getFixedBody();
}

// Joint space in the frame of the engine's body: the centre-of-mass frame of a
// dynamic actor, the world for a static actor or none.
btTransform CBulletJoint::BodyFrame(int side) const
{
    const CBulletActor* actor = m_Actors[side];
    if (!actor)
        return m_Frames[side];
    if (!actor->IsDynamic())
        return actor->GetActorTransform() * m_Frames[side];
    return actor->GetMassLocalPose().inverse() * m_Frames[side];
}

void CBulletJoint::RefreshFrames()
{
    if (m_SixAxis)
        m_SixAxis->setFrames(BodyFrame(0), BodyFrame(1));
    if (m_Distance)
        m_Distance->SetAnchors(BodyFrame(0).getOrigin(), BodyFrame(1).getOrigin());
}

void CBulletJoint::SetBreakable(float maxForce, float maxTorque)
{
    if (!IsFinite(maxForce) && maxForce != FLT_MAX)
        maxForce = FLT_MAX;
    if (!IsFinite(maxTorque) && maxTorque != FLT_MAX)
        maxTorque = FLT_MAX;
    m_Desc.m_MaxForce = maxForce;
    m_Desc.m_MaxTorque = maxTorque;
    btTypedConstraint* constraint = m_SixAxis ? static_cast<btTypedConstraint*>(m_SixAxis.get()) : m_Distance.get();
    if (constraint)
        constraint->enableFeedback(maxForce < FLT_MAX || maxTorque < FLT_MAX);
}

void CBulletJoint::GetBreakable(float& maxForce, float& maxTorque) const
{
    maxForce = m_Desc.m_MaxForce;
    maxTorque = m_Desc.m_MaxTorque;
}

void CBulletJoint::CheckBreak()
{
    if (m_State != JS_SIMULATING || (m_Desc.m_MaxForce >= FLT_MAX && m_Desc.m_MaxTorque >= FLT_MAX))
        return;
    // What the joint did to one of its bodies, the torque taken about the anchor.
    const bool useB = DynamicActor(1) != nullptr;
    const btRigidBody& body = useB ? BodyOf(1) : BodyOf(0);
    const btVector3 force = useB ? m_Feedback.m_appliedForceBodyB : m_Feedback.m_appliedForceBodyA;
    const btVector3 torque = useB ? m_Feedback.m_appliedTorqueBodyB : m_Feedback.m_appliedTorqueBodyA;
    const btVector3 anchor = body.getWorldTransform() * BodyFrame(useB ? 1 : 0).getOrigin();
    const btVector3 aboutAnchor = torque - (anchor - body.getCenterOfMassPosition()).cross(force);
    if (force.length() <= m_Desc.m_MaxForce && aboutAnchor.length() <= m_Desc.m_MaxTorque)
        return;
    m_State = JS_BROKEN;
    if (m_SixAxis)
        m_SixAxis->setEnabled(false);
    if (m_Distance)
        m_Distance->setEnabled(false);
    if (m_LimitPlanes)
        m_LimitPlanes->setEnabled(false);
}

void CBulletJoint::Project()
{
    if (m_Desc.m_Type != JOINT_FIXED || m_State != JS_SIMULATING)
        return;
    const auto canFollow = [this](int side) {
        const CBulletActor* actor = DynamicActor(side);
        return actor && !actor->IsKinematic() && actor->GetBody()->getLinearFactor() == btVector3(1, 1, 1) &&
               actor->GetBody()->getAngularFactor() == btVector3(1, 1, 1);
    };
    const int follower = canFollow(1) ? 1 : canFollow(0) ? 0 : -1;
    if (follower < 0)
        return;
    const int leader = 1 - follower;
    btRigidBody& leading = BodyOf(leader);
    btRigidBody& following = BodyOf(follower);
    if (!following.isActive() && !leading.isActive())
        return;
    // The joint's frame is one world pose seen from either side.
    const btTransform target = SidePose(m_Actors[leader]) * m_Frames[leader] * m_Frames[follower].inverse();
    const btVector3 centre = (target * DynamicActor(follower)->GetMassLocalPose()).getOrigin();
    const btVector3 velocity = leading.getVelocityInLocalPoint(centre - leading.getCenterOfMassPosition());
    DynamicActor(follower)->Follow(target, velocity, leading.getAngularVelocity());
}

void CBulletJoint::ApplySprings()
{
    if (m_Distance && m_State == JS_SIMULATING)
        m_Distance->ApplySpringForces();
}

void CBulletJoint::EnsureLimitPlanes()
{
    if (m_LimitPlanes)
        return;
    m_LimitPlanes = std::make_unique<CLimitPlaneConstraint>(BodyOf(0), BodyOf(1), DynamicActor(0), DynamicActor(1));
    m_LimitPlanes->setEnabled(m_State == JS_SIMULATING);
    m_Scene.GetWorld().addConstraint(m_LimitPlanes.get(), false);
}

void CBulletJoint::SetLimitPoint(const sds::CVector& worldPoint, bool pointIsOnActor2)
{
    if (m_State == JS_UNBOUND)
        return;
    if (!IsFinite(worldPoint))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "SetLimitPoint: point " + ToText(worldPoint) + " dropped");
        return;
    }
    EnsureLimitPlanes();
    const int side = pointIsOnActor2 ? 1 : 0;
    m_LimitPlanes->SetPoint(side, SidePose(DynamicActor(side)).inverse() * ToBt(worldPoint));
}

bool CBulletJoint::AddLimitPlane(const sds::CVector& worldNormal, const sds::CVector& worldPointInPlane, float)
{
    if (m_State == JS_UNBOUND)
        return false;
    if (!IsFinite(worldNormal) || !IsFinite(worldPointInPlane) || worldNormal.Length() < 1e-6f)
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "AddLimitPlane: plane " + ToText(worldNormal) + " through " + ToText(worldPointInPlane) + " dropped");
        return false;
    }
    if (!m_LimitPlanes)
    {
        // The default limit point is the second actor's origin.
        EnsureLimitPlanes();
        m_LimitPlanes->SetPoint(1, SidePose(DynamicActor(1)).inverse() * SidePose(m_Actors[1]).getOrigin());
    }
    const btTransform planePose = SidePose(DynamicActor(1 - m_LimitPlanes->GetPointSide()));
    const btTransform inverse = planePose.inverse();
    m_LimitPlanes->AddPlane(inverse.getBasis() * ToBt(worldNormal).normalized(), inverse * ToBt(worldPointInPlane));
    return true;
}

void CBulletJoint::PurgeLimitPlanes()
{
    if (m_LimitPlanes)
        m_LimitPlanes->ClearPlanes();
}

unsigned CBulletJoint::GetLimitPlaneCount() const
{
    return m_LimitPlanes ? unsigned(m_LimitPlanes->GetPlaneCount()) : 0;
}

bool CBulletJoint::IsBetween(const CBulletActor* first, const CBulletActor* second) const
{
    return (m_Actors[0] == first && m_Actors[1] == second) || (m_Actors[0] == second && m_Actors[1] == first);
}

void CBulletJoint::RemoveFromWorld()
{
    btDiscreteDynamicsWorld& world = m_Scene.GetWorld();
    if (m_SixAxis)
        world.removeConstraint(m_SixAxis.get());
    if (m_Distance)
        world.removeConstraint(m_Distance.get());
    if (m_LimitPlanes)
        world.removeConstraint(m_LimitPlanes.get());
    m_SixAxis.reset();
    m_Distance.reset();
    m_LimitPlanes.reset();
}

void CBulletJoint::Unbind()
{
    if (m_State == JS_UNBOUND)
        return;
    RemoveFromWorld();
    if (m_CollisionBlocked)
    {
        m_Scene.BlockCollision(*m_Actors[0], *m_Actors[1], false);
        m_CollisionBlocked = false;
    }
    for (CBulletActor*& actor : m_Actors)
    {
        if (actor)
            actor->RemoveJoint(this);
        actor = nullptr;
    }
    m_State = JS_UNBOUND;
}

} // namespace physics::sdk
