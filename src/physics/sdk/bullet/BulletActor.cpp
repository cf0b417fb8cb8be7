#include "physics/sdk/bullet/BulletActor.h"

#include <algorithm>
#include <cmath>

#include <BulletCollision/CollisionShapes/btCompoundShape.h>
#include <BulletDynamics/Dynamics/btDiscreteDynamicsWorld.h>
#include <BulletDynamics/Dynamics/btRigidBody.h>

#include "physics/sdk/bullet/BulletJoint.h"
#include "physics/sdk/bullet/BulletMath.h"
#include "physics/sdk/bullet/BulletScene.h"
#include "physics/sdk/bullet/BulletShape.h"
#include "physics/sdk/bullet/Report.h"

namespace physics::sdk {

namespace {

// Resting bodies fall asleep below these speeds (m/s, rad/s).
const float DEFAULT_SLEEP_LINEAR_VELOCITY = 0.15f;
const float DEFAULT_SLEEP_ANGULAR_VELOCITY = 0.14f;

btTransform MakePose(const sds::CVector& position, const sds::CQuaternion& orientation)
{
    return btTransform(ToBt(orientation).normalized(), ToBt(position));
}

// The engine damps by a fraction lost per second; ours is a rate per second.
float ToLossPerSecond(float rate) { return 1.0f - std::exp(-rate); }

} // namespace

CBulletActor::CBulletActor(CBulletScene& scene, std::uint64_t serial, const CActorDesc& desc,
                           const std::vector<CShapeMeshes>& meshes)
    : m_Scene(scene),
      m_Serial(serial),
      m_StaticPose(MakePose(desc.m_GlobalPosition, desc.m_GlobalOrientation)),
      m_MassLocalPose(btTransform::getIdentity()),
      m_MassLocalPoseInverse(btTransform::getIdentity()),
      m_Inertia(0, 0, 0),
      m_ActorFlags(desc.m_Flags),
      m_ActorGroup(desc.m_ActorGroup),
      m_UserData(desc.m_UserData)
{
    for (unsigned i = 0; i < desc.m_Shapes.size(); ++i)
    {
        m_Shapes.push_back(std::make_unique<CBulletShape>(*this, i, desc.m_Shapes[i], meshes[i].m_TriangleMesh,
                                                          meshes[i].m_ConvexMesh));
        m_ShapeList.push_back(m_Shapes.back().get());
    }
    m_Trigger = m_Shapes.front()->IsTrigger();
}

CBulletActor::~CBulletActor()
{
    btDiscreteDynamicsWorld& world = m_Scene.GetWorld();
    if (m_Body)
        world.removeRigidBody(m_Body.get());
    for (const auto& object : m_StaticObjects)
        world.removeCollisionObject(object.get());
}

bool CBulletActor::Init(const CActorDesc& desc)
{
    btDiscreteDynamicsWorld& world = m_Scene.GetWorld();
    const int responseFlag =
        (m_Trigger || (m_ActorFlags & AF_DISABLE_RESPONSE)) ? btCollisionObject::CF_NO_CONTACT_RESPONSE : 0;
    if (!desc.m_Body)
    {
        for (const auto& shape : m_Shapes)
        {
            auto object = std::make_unique<btCollisionObject>();
            object->setCollisionShape(&shape->GetCollisionShape());
            object->setWorldTransform(m_StaticPose * shape->GetCollisionTransform());
            object->setUserPointer(this);
            object->setUserIndex(int(shape->GetIndex()));
            object->setCollisionFlags(btCollisionObject::CF_STATIC_OBJECT |
                                      btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK | responseFlag);
            // Static shapes count as resting: a pair with a resting body is not tested again.
            object->setActivationState(ISLAND_SLEEPING);
            world.addCollisionObject(object.get(), btBroadphaseProxy::StaticFilter,
                                     btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter);
            m_StaticObjects.push_back(std::move(object));
        }
        return true;
    }

    const CBodyDesc& body = *desc.m_Body;
    m_BodyFlags = body.m_Flags;
    if (!SetMassFromShapes(desc.m_Density, body.m_Mass))
        return false;
    m_LinearDamping = body.m_LinearDamping;
    m_AngularDamping = body.m_AngularDamping;
    ApplyDamping();
    m_Body->setUserPointer(this);
    m_Body->setUserIndex(m_Compound ? -1 : 0);
    m_Body->setCollisionFlags(m_Body->getCollisionFlags() | btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK |
                              responseFlag);
    m_Body->setSleepingThresholds(
        body.m_SleepLinearVelocity >= 0.0f ? body.m_SleepLinearVelocity : DEFAULT_SLEEP_LINEAR_VELOCITY,
        body.m_SleepAngularVelocity >= 0.0f ? body.m_SleepAngularVelocity : DEFAULT_SLEEP_ANGULAR_VELOCITY);
    world.addRigidBody(m_Body.get(), btBroadphaseProxy::DefaultFilter, btBroadphaseProxy::AllFilter);
    m_Body->setLinearVelocity(ToBt(body.m_LinearVelocity));
    m_Body->setAngularVelocity(ToBt(body.m_AngularVelocity));
    ApplyBodyFlags(0);
    return true;
}

IScene& CBulletActor::GetScene() const { return m_Scene; }

btTransform CBulletActor::GetActorTransform() const
{
    return m_Body ? m_Body->getWorldTransform() * m_MassLocalPoseInverse : m_StaticPose;
}

sds::CVector CBulletActor::GetGlobalPosition() const { return FromBt(GetActorTransform().getOrigin()); }

sds::CQuaternion CBulletActor::GetGlobalOrientation() const { return FromBt(GetActorTransform().getRotation()); }

void CBulletActor::SetGlobalPosition(const sds::CVector& position)
{
    if (!IsFinite(position))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "SetGlobalPosition: position " + ToText(position) + " dropped");
        return;
    }
    btTransform pose = GetActorTransform();
    pose.setOrigin(ToBt(position));
    SetActorTransform(pose);
}

void CBulletActor::SetGlobalOrientation(const sds::CQuaternion& orientation)
{
    if (!IsUsableRotation(orientation))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "SetGlobalOrientation: orientation " + ToText(orientation) + " dropped");
        return;
    }
    btTransform pose = GetActorTransform();
    pose.setRotation(ToBt(orientation).normalized());
    SetActorTransform(pose);
}

void CBulletActor::SetGlobalPose(const sds::CVector& position, const sds::CQuaternion& orientation)
{
    if (!IsFinite(position) || !IsUsableRotation(orientation))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "SetGlobalPose: pose " + ToText(position) + " " + ToText(orientation) + " dropped");
        return;
    }
    SetActorTransform(MakePose(position, orientation));
}

void CBulletActor::SetActorTransform(const btTransform& actorPose)
{
    btDiscreteDynamicsWorld& world = m_Scene.GetWorld();
    if (m_Body)
    {
        const btTransform centre = actorPose * m_MassLocalPose;
        m_Body->setWorldTransform(centre);
        m_Body->setInterpolationWorldTransform(centre);
        if (!IsKinematic())
            m_Body->activate(true);
        world.updateSingleAabb(m_Body.get());
        return;
    }
    m_StaticPose = actorPose;
    for (std::size_t i = 0; i < m_StaticObjects.size(); ++i)
    {
        m_StaticObjects[i]->setWorldTransform(actorPose * m_Shapes[i]->GetCollisionTransform());
        world.updateSingleAabb(m_StaticObjects[i].get());
    }
}

void CBulletActor::Follow(const btTransform& actorPose, const btVector3& linear, const btVector3& angular)
{
    const btTransform centre = actorPose * m_MassLocalPose;
    m_Body->setWorldTransform(centre);
    m_Body->setInterpolationWorldTransform(centre);
    m_Body->setLinearVelocity(linear);
    m_Body->setAngularVelocity(angular);
}

void CBulletActor::MoveGlobalPosition(const sds::CVector& position)
{
    if (!IsKinematic())
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_OPERATION, "MoveGlobalPosition: the actor is not kinematic");
        return;
    }
    if (!IsFinite(position))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "MoveGlobalPosition: position " + ToText(position) + " dropped");
        return;
    }
    // The engine takes the kinematic body's velocity from its last pose to this one.
    btTransform target = GetActorTransform();
    target.setOrigin(ToBt(position));
    m_Body->setWorldTransform(target * m_MassLocalPose);
}

void CBulletActor::MoveGlobalOrientation(const sds::CQuaternion& orientation)
{
    if (!IsKinematic())
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_OPERATION, "MoveGlobalOrientation: the actor is not kinematic");
        return;
    }
    if (!IsUsableRotation(orientation))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "MoveGlobalOrientation: orientation " + ToText(orientation) + " dropped");
        return;
    }
    btTransform target = GetActorTransform();
    target.setRotation(ToBt(orientation).normalized());
    m_Body->setWorldTransform(target * m_MassLocalPose);
}

std::vector<CBulletActor*> CBulletActor::GetGroup()
{
    std::vector<CBulletActor*> group = {this};
    for (std::size_t i = 0; i < group.size(); ++i)
        for (const CBulletJoint* joint : group[i]->m_Joints)
        {
            if (joint->GetState() != JS_SIMULATING)
                continue;
            for (int side = 0; side < 2; ++side)
            {
                CBulletActor* other = joint->GetBulletActor(side);
                if (other && other->IsDynamic() && std::find(group.begin(), group.end(), other) == group.end())
                    group.push_back(other);
            }
        }
    return group;
}

void CBulletActor::SetGroupPose(const sds::CVector& position, const sds::CQuaternion& orientation)
{
    if (!CheckDynamic("SetGroupPose"))
        return;
    if (!IsFinite(position) || !IsUsableRotation(orientation))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "SetGroupPose: pose " + ToText(position) + " " + ToText(orientation) + " dropped");
        return;
    }
    const btTransform move = MakePose(position, orientation) * GetActorTransform().inverse();
    for (CBulletActor* member : GetGroup())
        member->SetActorTransform(move * member->GetActorTransform());
}

void CBulletActor::SetGroupVelocity(const sds::CVector& linear, const sds::CVector& angular)
{
    if (!CheckDynamic("SetGroupVelocity"))
        return;
    if (!IsFinite(linear) || !IsFinite(angular))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "SetGroupVelocity: velocity " + ToText(linear) + " " + ToText(angular) + " dropped");
        return;
    }
    const btVector3 centre = m_Body->getCenterOfMassPosition();
    for (CBulletActor* member : GetGroup())
    {
        if (member->IsKinematic())
            continue;
        btRigidBody& body = *member->m_Body;
        const btVector3 arm = body.getCenterOfMassPosition() - centre;
        body.setLinearVelocity((ToBt(linear) + ToBt(angular).cross(arm)) * body.getLinearFactor());
        body.setAngularVelocity(ToBt(angular) * body.getAngularFactor());
        body.activate(true);
    }
}

bool CBulletActor::CheckDynamic(const char* operation) const
{
    if (m_Body)
        return true;
    SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_OPERATION, std::string(operation) + ": the actor is static");
    return false;
}

sds::CVector CBulletActor::GetLinearVelocity() const
{
    return m_Body ? FromBt(m_Body->getLinearVelocity()) : sds::CVector::ZERO;
}

void CBulletActor::SetLinearVelocity(const sds::CVector& velocity)
{
    if (!CheckDynamic("SetLinearVelocity"))
        return;
    if (!IsFinite(velocity))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "SetLinearVelocity: velocity " + ToText(velocity) + " dropped");
        return;
    }
    m_Body->setLinearVelocity(ToBt(velocity) * m_Body->getLinearFactor());
    if (!IsKinematic() && !velocity.IsZero())
        m_Body->activate(true);
}

sds::CVector CBulletActor::GetAngularVelocity() const
{
    return m_Body ? FromBt(m_Body->getAngularVelocity()) : sds::CVector::ZERO;
}

void CBulletActor::SetAngularVelocity(const sds::CVector& velocity)
{
    if (!CheckDynamic("SetAngularVelocity"))
        return;
    if (!IsFinite(velocity))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "SetAngularVelocity: velocity " + ToText(velocity) + " dropped");
        return;
    }
    m_Body->setAngularVelocity(ToBt(velocity) * m_Body->getAngularFactor());
    if (!IsKinematic() && !velocity.IsZero())
        m_Body->activate(true);
}

sds::CVector CBulletActor::GetLocalPointVelocity(const sds::CVector& localPoint) const
{
    if (!m_Body)
        return sds::CVector::ZERO;
    if (!IsFinite(localPoint))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "GetLocalPointVelocity: point " + ToText(localPoint) + " ignored");
        return sds::CVector::ZERO;
    }
    const btVector3 world = GetActorTransform() * ToBt(localPoint);
    return FromBt(m_Body->getVelocityInLocalPoint(world - m_Body->getWorldTransform().getOrigin()));
}

void CBulletActor::AddForceAtLocalPos(const sds::CVector& force, const sds::CVector& localPoint, bool wakeUp)
{
    if (!CheckDynamic("AddForceAtLocalPos") || IsKinematic())
        return;
    if (!IsFinite(force) || !IsFinite(localPoint))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "AddForceAtLocalPos: force " + ToText(force) + " at " + ToText(localPoint) + " dropped");
        return;
    }
    const btVector3 world = GetActorTransform() * ToBt(localPoint);
    m_Body->applyForce(ToBt(force), world - m_Body->getWorldTransform().getOrigin());
    if (wakeUp)
        m_Body->activate(true);
}

void CBulletActor::AddLocalForceAtLocalPos(const sds::CVector& force, const sds::CVector& localPoint, bool wakeUp)
{
    if (!CheckDynamic("AddLocalForceAtLocalPos") || IsKinematic())
        return;
    if (!IsFinite(force) || !IsFinite(localPoint))
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER,
                   "AddLocalForceAtLocalPos: force " + ToText(force) + " at " + ToText(localPoint) + " dropped");
        return;
    }
    const btTransform pose = GetActorTransform();
    const btVector3 world = pose * ToBt(localPoint);
    m_Body->applyForce(pose.getBasis() * ToBt(force), world - m_Body->getWorldTransform().getOrigin());
    if (wakeUp)
        m_Body->activate(true);
}

bool CBulletActor::UpdateMassFromShapes(float density, float totalMass)
{
    return CheckDynamic("UpdateMassFromShapes") && SetMassFromShapes(density, totalMass);
}

bool CBulletActor::SetMassFromShapes(float density, float totalMass)
{
    IUserOutputStream* output = m_Scene.GetOutput();
    if (!IsFinite(density) || !IsFinite(totalMass) || density < 0.0f || totalMass < 0.0f)
    {
        SDK_REPORT(output, ERR_INVALID_PARAMETER,
                   "UpdateMassFromShapes: density " + ToText(density) + " and mass " + ToText(totalMass) + " refused");
        return false;
    }

    std::vector<btScalar> masses;
    btScalar sum = 0;
    for (const auto& shape : m_Shapes)
    {
        masses.push_back(shape->GetMassWeight(density));
        sum += masses.back();
    }
    const btScalar total = totalMass > 0.0f ? totalMass : sum;
    if (!(sum > 0) || !std::isfinite(sum) || !(total > 0) || !std::isfinite(total))
    {
        SDK_REPORT(output, ERR_INVALID_PARAMETER, "UpdateMassFromShapes: the shapes give no mass");
        return false;
    }
    for (btScalar& mass : masses)
        mass *= total / sum;

    btTransform massLocalPose;
    btVector3 inertia;
    if (m_Shapes.size() == 1)
    {
        massLocalPose = m_Shapes.front()->GetCollisionTransform();
        m_Shapes.front()->GetCollisionShape().calculateLocalInertia(total, inertia);
    }
    else
    {
        btCompoundShape actorFrame(false, int(m_Shapes.size()));
        for (const auto& shape : m_Shapes)
            actorFrame.addChildShape(shape->GetCollisionTransform(), &shape->GetCollisionShape());
        actorFrame.calculatePrincipalAxisTransform(masses.data(), massLocalPose, inertia);
        if (!m_Compound)
        {
            m_Compound = std::make_unique<btCompoundShape>(true, int(m_Shapes.size()));
            for (const auto& shape : m_Shapes)
                m_Compound->addChildShape(massLocalPose.inverse() * shape->GetCollisionTransform(),
                                          &shape->GetCollisionShape());
        }
        else
        {
            for (std::size_t i = 0; i < m_Shapes.size(); ++i)
                m_Compound->updateChildTransform(int(i), massLocalPose.inverse() * m_Shapes[i]->GetCollisionTransform(),
                                                 false);
            m_Compound->recalculateLocalAabb();
        }
    }

    const bool creating = !m_Body;
    if (creating)
    {
        btCollisionShape* shape = m_Compound ? static_cast<btCollisionShape*>(m_Compound.get())
                                             : &m_Shapes.front()->GetCollisionShape();
        m_Body = std::make_unique<btRigidBody>(btRigidBody::btRigidBodyConstructionInfo(total, nullptr, shape, inertia));
        m_MassLocalPose = massLocalPose;
        m_MassLocalPoseInverse = massLocalPose.inverse();
        const btTransform centre = m_StaticPose * massLocalPose;
        m_Body->setWorldTransform(centre);
        m_Body->setInterpolationWorldTransform(centre);
    }
    else
    {
        // Keep the actor where it is and its motion as it is; the centre of mass moves.
        const btTransform actorPose = GetActorTransform();
        const btVector3 oldCentre = m_Body->getWorldTransform().getOrigin();
        m_MassLocalPose = massLocalPose;
        m_MassLocalPoseInverse = massLocalPose.inverse();
        const btTransform centre = actorPose * massLocalPose;
        m_Body->setWorldTransform(centre);
        m_Body->setInterpolationWorldTransform(centre);
        m_Body->setLinearVelocity(m_Body->getLinearVelocity() +
                                  m_Body->getAngularVelocity().cross(centre.getOrigin() - oldCentre));
        if (m_Body->getBroadphaseHandle())
            m_Scene.GetWorld().updateSingleAabb(m_Body.get());
    }
    m_Mass = total;
    m_Inertia = inertia;
    if (creating)
        return true; // Init applies the flags once the body is in the world
    ApplyMassProperties();
    for (CBulletJoint* joint : m_Joints)
        joint->RefreshFrames();
    return true;
}

void CBulletActor::ApplyMassProperties()
{
    if (IsKinematic())
        m_Body->setMassProps(0, btVector3(0, 0, 0));
    else
        m_Body->setMassProps(m_Mass, m_Inertia);
    m_Body->updateInertiaTensor();
    ApplyGravity();
}

void CBulletActor::ApplyGravity()
{
    if (!m_Body)
        return;
    if (m_BodyFlags & BF_DISABLE_GRAVITY)
    {
        m_Body->setFlags(m_Body->getFlags() | BT_DISABLE_WORLD_GRAVITY);
        m_Body->setGravity(btVector3(0, 0, 0));
    }
    else
    {
        m_Body->setFlags(m_Body->getFlags() & ~BT_DISABLE_WORLD_GRAVITY);
        m_Body->setGravity(ToBt(m_Scene.GetGravity()));
    }
}

sds::CVector CBulletActor::GetCMassLocalPosition() const { return FromBt(m_MassLocalPose.getOrigin()); }

void CBulletActor::SetLinearDamping(float perSecond)
{
    if (!CheckDynamic("SetLinearDamping"))
        return;
    if (!IsFinite(perSecond) || perSecond < 0.0f)
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "SetLinearDamping: " + ToText(perSecond) + " dropped");
        return;
    }
    m_LinearDamping = perSecond;
    ApplyDamping();
}

void CBulletActor::SetAngularDamping(float perSecond)
{
    if (!CheckDynamic("SetAngularDamping"))
        return;
    if (!IsFinite(perSecond) || perSecond < 0.0f)
    {
        SDK_REPORT(m_Scene.GetOutput(), ERR_INVALID_PARAMETER, "SetAngularDamping: " + ToText(perSecond) + " dropped");
        return;
    }
    m_AngularDamping = perSecond;
    ApplyDamping();
}

void CBulletActor::ApplyDamping()
{
    m_Body->setDamping(ToLossPerSecond(m_LinearDamping), ToLossPerSecond(m_AngularDamping));
}

void CBulletActor::RaiseBodyFlag(std::uint32_t flags)
{
    if (!CheckDynamic("RaiseBodyFlag"))
        return;
    const std::uint32_t old = m_BodyFlags;
    m_BodyFlags |= flags;
    ApplyBodyFlags(old);
}

void CBulletActor::ClearBodyFlag(std::uint32_t flags)
{
    if (!CheckDynamic("ClearBodyFlag"))
        return;
    const std::uint32_t old = m_BodyFlags;
    m_BodyFlags &= ~flags;
    ApplyBodyFlags(old);
}

void CBulletActor::ApplyBodyFlags(std::uint32_t oldFlags)
{
    const std::uint32_t changed = oldFlags ^ m_BodyFlags;
    if (changed & BF_KINEMATIC)
    {
        m_Scene.CollisionRulesChanged();
        m_Body->setLinearVelocity(btVector3(0, 0, 0));
        m_Body->setAngularVelocity(btVector3(0, 0, 0));
        if (m_BodyFlags & BF_KINEMATIC)
        {
            m_Body->setCollisionFlags(m_Body->getCollisionFlags() | btCollisionObject::CF_KINEMATIC_OBJECT);
            m_Body->forceActivationState(DISABLE_DEACTIVATION);
            m_Body->setInterpolationWorldTransform(m_Body->getWorldTransform());
        }
        else
        {
            m_Body->setCollisionFlags(m_Body->getCollisionFlags() & ~btCollisionObject::CF_KINEMATIC_OBJECT);
            m_Body->forceActivationState(ACTIVE_TAG);
            m_Body->setDeactivationTime(0);
        }
    }
    ApplyMassProperties();

    const std::uint32_t f = m_BodyFlags;
    const btVector3 linear(f & BF_FROZEN_POS_X ? 0 : 1, f & BF_FROZEN_POS_Y ? 0 : 1, f & BF_FROZEN_POS_Z ? 0 : 1);
    const btVector3 angular(f & BF_FROZEN_ROT_X ? 0 : 1, f & BF_FROZEN_ROT_Y ? 0 : 1, f & BF_FROZEN_ROT_Z ? 0 : 1);
    m_Body->setLinearFactor(linear);
    m_Body->setAngularFactor(angular);
    m_Body->setLinearVelocity(m_Body->getLinearVelocity() * linear);
    m_Body->setAngularVelocity(m_Body->getAngularVelocity() * angular);
    ApplyContinuousCollision();

    if (changed & BF_KINEMATIC)
        RefreshPairs();
}

void CBulletActor::ApplyContinuousCollision()
{
    if (!(m_BodyFlags & BF_CONTINUOUS_COLLISION))
    {
        m_Body->setCcdMotionThreshold(0);
        return;
    }
    // The engine sweeps a sphere inside the body along the step's motion; the
    // thinnest half of the body bounds both the sphere and the motion that is
    // swept at all.
    btVector3 low, high;
    m_Body->getCollisionShape()->getAabb(btTransform::getIdentity(), low, high);
    const btScalar half = (high - low).absolute()[(high - low).minAxis()] * btScalar(0.5);
    m_Body->setCcdMotionThreshold(half);
    m_Body->setCcdSweptSphereRadius(half * btScalar(0.8));
}

void CBulletActor::RaiseActorFlag(std::uint32_t flags)
{
    m_Scene.CollisionRulesChanged();
    const std::uint32_t old = m_ActorFlags;
    m_ActorFlags |= flags;
    if ((old ^ m_ActorFlags) & AF_DISABLE_RESPONSE)
        ApplyResponseFlags();
    if ((old ^ m_ActorFlags) & AF_DISABLE_COLLISION)
        RefreshPairs();
}

void CBulletActor::ClearActorFlag(std::uint32_t flags)
{
    m_Scene.CollisionRulesChanged();
    const std::uint32_t old = m_ActorFlags;
    m_ActorFlags &= ~flags;
    if ((old ^ m_ActorFlags) & AF_DISABLE_RESPONSE)
        ApplyResponseFlags();
    if ((old ^ m_ActorFlags) & AF_DISABLE_COLLISION)
        RefreshPairs();
}

void CBulletActor::ApplyResponseFlags()
{
    const bool respond = !m_Trigger && !(m_ActorFlags & AF_DISABLE_RESPONSE);
    for (btCollisionObject* object : GetCollisionObjects())
    {
        const int flags = object->getCollisionFlags();
        object->setCollisionFlags(respond ? flags & ~btCollisionObject::CF_NO_CONTACT_RESPONSE
                                          : flags | btCollisionObject::CF_NO_CONTACT_RESPONSE);
    }
}

bool CBulletActor::IsSleeping() const
{
    return !m_Body || m_Body->getActivationState() == ISLAND_SLEEPING;
}

void CBulletActor::WakeUp()
{
    if (m_Body && !IsKinematic())
        m_Body->activate(true);
}

CBulletShape* CBulletActor::ShapeForContact(const btCollisionObject* object, int index) const
{
    const int own = object->getUserIndex();
    if (own >= 0)
        return own < int(m_Shapes.size()) ? m_Shapes[own].get() : m_Shapes.front().get();
    return index >= 0 && index < int(m_Shapes.size()) ? m_Shapes[index].get() : m_Shapes.front().get();
}

void CBulletActor::OnShapeReplaced(CBulletShape& shape)
{
    btDiscreteDynamicsWorld& world = m_Scene.GetWorld();
    if (!m_Body)
    {
        btCollisionObject& object = *m_StaticObjects[shape.GetIndex()];
        object.setCollisionShape(&shape.GetCollisionShape());
        world.updateSingleAabb(&object);
    }
    else if (!m_Compound)
    {
        m_Body->setCollisionShape(&shape.GetCollisionShape());
        world.updateSingleAabb(m_Body.get());
    }
    else
    {
        auto compound = std::make_unique<btCompoundShape>(true, int(m_Shapes.size()));
        for (std::size_t i = 0; i < m_Shapes.size(); ++i)
            compound->addChildShape(m_Compound->getChildTransform(int(i)), &m_Shapes[i]->GetCollisionShape());
        m_Body->setCollisionShape(compound.get());
        m_Compound = std::move(compound);
        world.updateSingleAabb(m_Body.get());
    }
    if (m_Body)
        ApplyContinuousCollision();
    RefreshPairs();
}

std::vector<btCollisionObject*> CBulletActor::GetCollisionObjects() const
{
    std::vector<btCollisionObject*> objects;
    if (m_Body)
        objects.push_back(m_Body.get());
    for (const auto& object : m_StaticObjects)
        objects.push_back(object.get());
    return objects;
}

void CBulletActor::SetActorGroup(std::uint16_t group)
{
    m_ActorGroup = group;
    m_Scene.CollisionRulesChanged();
}

void CBulletActor::RefreshPairs()
{
    btDiscreteDynamicsWorld& world = m_Scene.GetWorld();
    for (btCollisionObject* object : GetCollisionObjects())
        if (object->getBroadphaseHandle())
            world.getBroadphase()->getOverlappingPairCache()->cleanProxyFromPairs(object->getBroadphaseHandle(),
                                                                                 world.getDispatcher());
}

void CBulletActor::RemoveJoint(CBulletJoint* joint)
{
    m_Joints.erase(std::remove(m_Joints.begin(), m_Joints.end(), joint), m_Joints.end());
}

} // namespace physics::sdk
