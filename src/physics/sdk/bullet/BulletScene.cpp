#include "physics/sdk/bullet/BulletScene.h"

#include <algorithm>

#include <BulletCollision/BroadphaseCollision/btDbvtBroadphase.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btDefaultCollisionConfiguration.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btConvexShape.h>
#include <BulletCollision/CollisionShapes/btTriangleShape.h>
#include <BulletDynamics/ConstraintSolver/btSequentialImpulseConstraintSolver.h>
#include <BulletDynamics/Dynamics/btDiscreteDynamicsWorld.h>
#include <BulletDynamics/Dynamics/btRigidBody.h>

#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IUserTriggerReport.h"
#include "physics/sdk/JointDesc.h"
#include "physics/sdk/bullet/BulletActor.h"
#include "physics/sdk/bullet/BulletJoint.h"
#include "physics/sdk/bullet/BulletMath.h"
#include "physics/sdk/bullet/BulletSdk.h"
#include "physics/sdk/bullet/BulletShape.h"
#include "physics/sdk/bullet/CollisionDispatcher.h"
#include "physics/sdk/bullet/Report.h"

namespace physics::sdk {

namespace {

// Below this sliding speed (m/s) at a contact, static friction holds it.
const btScalar STICKING_SPEED = 0.1f;

btVector3 VelocityAt(const btCollisionObject* object, const btVector3& point)
{
    const btRigidBody* body = btRigidBody::upcast(object);
    return body ? body->getVelocityInLocalPoint(point - body->getCenterOfMassPosition()) : btVector3(0, 0, 0);
}

// A triangle of a static mesh is solid on its front only. The engine takes a
// triangle as two-sided: a shape whose middle has got behind one (a thin limb
// a joint dragged into the ground, a head laid out in it) is pushed on
// through, and the rest of the body follows. Such a contact is turned to the
// triangle's front, as deep as the shape reaches behind it.
void PushOutToTheFront(btManifoldPoint& point, const btCollisionObjectWrapper* wrapper0,
                       const btCollisionObjectWrapper* wrapper1)
{
    // The engine puts the convex shape first and the triangle second; the
    // normal on the second points to the first.
    if (wrapper1->getCollisionShape()->getShapeType() != TRIANGLE_SHAPE_PROXYTYPE ||
        !wrapper0->getCollisionShape()->isConvex())
        return;
    const auto* triangle = static_cast<const btTriangleShape*>(wrapper1->getCollisionShape());
    const btTransform& placed = wrapper1->getWorldTransform();
    btVector3 front = placed.getBasis() * (triangle->m_vertices1[1] - triangle->m_vertices1[0])
                                              .cross(triangle->m_vertices1[2] - triangle->m_vertices1[0]);
    if (front.length2() < SIMD_EPSILON)
        return;
    front.normalize();
    if (point.m_normalWorldOnB.dot(front) >= 0)
        return;

    const auto* convex = static_cast<const btConvexShape*>(wrapper0->getCollisionShape());
    const btTransform& pose = wrapper0->getWorldTransform();
    const btVector3 deepest = pose(convex->localGetSupportingVertex(pose.getBasis().transpose() * -front));
    const btScalar distance = (deepest - placed(triangle->m_vertices1[0])).dot(front) - triangle->getMargin();
    point.m_normalWorldOnB = front;
    point.m_distance1 = distance;
    point.m_positionWorldOnA = deepest;
    point.m_positionWorldOnB = deepest - front * distance;
    point.m_localPointA = wrapper0->getCollisionObject()->getWorldTransform().invXform(point.m_positionWorldOnA);
    point.m_localPointB = wrapper1->getCollisionObject()->getWorldTransform().invXform(point.m_positionWorldOnB);
}

// Two touching shapes take the average of each material value; the engine
// knows one friction, so a contact that does not slide takes the static one.
// The engine asks again every step the contact lasts.
bool CombineMaterials(btManifoldPoint& point, const btCollisionObjectWrapper* wrapper0, int, int index0,
                      const btCollisionObjectWrapper* wrapper1, int, int index1)
{
    PushOutToTheFront(point, wrapper0, wrapper1);
    const btCollisionObject* object0 = wrapper0->getCollisionObject();
    const btCollisionObject* object1 = wrapper1->getCollisionObject();
    const auto* actor0 = static_cast<const CBulletActor*>(object0->getUserPointer());
    const auto* actor1 = static_cast<const CBulletActor*>(object1->getUserPointer());
    if (!actor0 || !actor1)
        return false;
    const CBulletShape* shape0 = actor0->ShapeForContact(object0, index0);
    const CBulletShape* shape1 = actor1->ShapeForContact(object1, index1);
    const CMaterialDesc& m0 = actor0->GetBulletScene().GetMaterialDesc(shape0->GetMaterial());
    const CMaterialDesc& m1 = actor1->GetBulletScene().GetMaterialDesc(shape1->GetMaterial());
    const btVector3 relative =
        VelocityAt(object0, point.getPositionWorldOnA()) - VelocityAt(object1, point.getPositionWorldOnB());
    const btVector3 sliding = relative - point.m_normalWorldOnB * relative.dot(point.m_normalWorldOnB);
    const bool sticking = sliding.length2() < STICKING_SPEED * STICKING_SPEED;
    point.m_combinedFriction = 0.5f * (sticking ? m0.m_StaticFriction + m1.m_StaticFriction
                                                : m0.m_DynamicFriction + m1.m_DynamicFriction);
    point.m_combinedRestitution = 0.5f * (m0.m_Restitution + m1.m_Restitution);
    return true;
}

// Whether a list in the order of its keys holds `key`.
template <class TKey, class TValue>
bool Holds(const std::vector<std::pair<TKey, TValue>>& sorted, const TKey& key)
{
    const auto found = std::lower_bound(sorted.begin(), sorted.end(), key,
                                        [](const std::pair<TKey, TValue>& entry, const TKey& k) { return entry.first < k; });
    return found != sorted.end() && found->first == key;
}

template <class TKey, class TValue>
bool ByKey(const std::pair<TKey, TValue>& a, const std::pair<TKey, TValue>& b)
{
    return a.first < b.first;
}

bool IsMaterialValid(const CMaterialDesc& desc)
{
    return IsFinite(desc.m_Restitution) && IsFinite(desc.m_StaticFriction) && IsFinite(desc.m_DynamicFriction) &&
           desc.m_Restitution >= 0.0f && desc.m_StaticFriction >= 0.0f && desc.m_DynamicFriction >= 0.0f;
}

bool IsNonNegative(float value) { return IsFinite(value) && value >= 0.0f; }

bool CheckShapeDesc(const CShapeDesc& shape, bool dynamic, std::string& reason)
{
    if (!IsFinite(shape.m_LocalPosition) || !IsUsableRotation(shape.m_LocalOrientation))
        return reason = "a shape's local pose is not finite", false;
    if (!IsNonNegative(shape.m_Density) || !IsNonNegative(shape.m_Mass))
        return reason = "a shape's density or mass is not a finite value of 0 or more", false;
    switch (shape.m_Type)
    {
    case SHAPE_BOX:
        if (!IsFinite(shape.m_Dimensions) || shape.m_Dimensions.x <= 0.0f || shape.m_Dimensions.y <= 0.0f ||
            shape.m_Dimensions.z <= 0.0f)
            return reason = "box half extents " + ToText(shape.m_Dimensions) + " are not positive", false;
        return true;
    case SHAPE_SPHERE:
    case SHAPE_CAPSULE:
        if (!IsFinite(shape.m_Radius) || shape.m_Radius <= 0.0f || !IsNonNegative(shape.m_Height))
            return reason = "a sphere or capsule has no positive radius", false;
        return true;
    case SHAPE_PLANE:
        if (dynamic)
            return reason = "a plane belongs to a static actor", false;
        if (!IsFinite(shape.m_Normal) || shape.m_Normal.Length() < 1e-6f || !IsFinite(shape.m_Distance))
            return reason = "a plane has no usable normal", false;
        return true;
    case SHAPE_TRIANGLE_MESH:
        if (dynamic)
            return reason = "a triangle mesh belongs to a static actor", false;
        if (!shape.m_TriangleMesh)
            return reason = "a triangle-mesh shape has no mesh", false;
        return true;
    case SHAPE_CONVEX:
        if (!shape.m_ConvexMesh)
            return reason = "a convex shape has no mesh", false;
        return true;
    }
    return reason = "unknown shape kind", false;
}

} // namespace

CBulletScene::CBulletScene(CBulletSdk& sdk, const CSceneDesc& desc, float skinWidth)
    : m_Sdk(sdk),
      m_Gravity(IsFinite(desc.m_Gravity) ? desc.m_Gravity : sds::CVector::ZERO),
      m_ContactReport(desc.m_ContactReport),
      m_TriggerReport(desc.m_TriggerReport)
{
    if (!IsFinite(desc.m_Gravity))
        SDK_REPORT(GetOutput(), ERR_INVALID_PARAMETER, "CreateScene: gravity " + ToText(desc.m_Gravity) + " dropped");
    m_Configuration = std::make_unique<btDefaultCollisionConfiguration>();
    m_Dispatcher = std::make_unique<CCollisionDispatcher>(m_Configuration.get(), *this);
    m_Broadphase = std::make_unique<btDbvtBroadphase>();
    m_PairFilter = std::make_unique<CStaticPairFilter>();
    m_Broadphase->getOverlappingPairCache()->setOverlapFilterCallback(m_PairFilter.get());
    m_Solver = std::make_unique<btSequentialImpulseConstraintSolver>();
    m_World = std::make_unique<btDiscreteDynamicsWorld>(m_Dispatcher.get(), m_Broadphase.get(), m_Solver.get(),
                                                        m_Configuration.get());
    m_World->setGravity(ToBt(m_Gravity));
    // A step boxes the moving bodies only: whatever places a static or a
    // sleeping one (SetActorTransform, a new mass frame or shape) boxes it then.
    m_World->setForceUpdateAllAabbs(false);
    btContactSolverInfo& solver = m_World->getSolverInfo();
    solver.m_numIterations = std::max(1, desc.m_MaxIterations);
    // Resting shapes sink this deep into each other, so that their contacts stay.
    solver.m_linearSlop = skinWidth;
    m_Materials.push_back(CMaterialDesc());
    gContactAddedCallback = &CombineMaterials;
}

CBulletScene::~CBulletScene()
{
    m_Joints.clear();
    m_Actors.clear();
}

IUserOutputStream* CBulletScene::GetOutput() const { return m_Sdk.GetOutput(); }

bool CBulletScene::CheckActorDesc(const CActorDesc& desc, std::string& reason) const
{
    if (desc.m_Shapes.empty())
        return reason = "an actor needs a shape", false;
    if (!IsFinite(desc.m_GlobalPosition) || !IsUsableRotation(desc.m_GlobalOrientation))
        return reason = "pose " + ToText(desc.m_GlobalPosition) + " " + ToText(desc.m_GlobalOrientation) +
                        " is not finite",
               false;
    if (!IsNonNegative(desc.m_Density))
        return reason = "density " + ToText(desc.m_Density) + " is not a finite value of 0 or more", false;
    const bool trigger = (desc.m_Shapes.front().m_Flags & SF_TRIGGER_ENABLE) != 0;
    for (const CShapeDesc& shape : desc.m_Shapes)
    {
        if (((shape.m_Flags & SF_TRIGGER_ENABLE) != 0) != trigger)
            return reason = "an actor's shapes are all triggers or none", false;
        if (!CheckShapeDesc(shape, desc.m_Body.has_value(), reason))
            return false;
        if (shape.m_Type == SHAPE_TRIANGLE_MESH && !m_Sdk.FindTriangleMesh(shape.m_TriangleMesh))
            return reason = "a triangle-mesh shape names a mesh the SDK does not hold", false;
        if (shape.m_Type == SHAPE_CONVEX && !m_Sdk.FindConvexMesh(shape.m_ConvexMesh))
            return reason = "a convex shape names a mesh the SDK does not hold", false;
    }
    if (desc.m_Body)
    {
        const CBodyDesc& body = *desc.m_Body;
        if (!IsNonNegative(body.m_Mass) || !IsNonNegative(body.m_LinearDamping) ||
            !IsNonNegative(body.m_AngularDamping))
            return reason = "body mass or damping is not a finite value of 0 or more", false;
        if (!IsFinite(body.m_LinearVelocity) || !IsFinite(body.m_AngularVelocity))
            return reason = "body velocity " + ToText(body.m_LinearVelocity) + " " + ToText(body.m_AngularVelocity) +
                            " is not finite",
                   false;
        if (!IsFinite(body.m_SleepLinearVelocity) || !IsFinite(body.m_SleepAngularVelocity))
            return reason = "sleep velocities are not finite", false;
    }
    return true;
}

IActor* CBulletScene::CreateActor(const CActorDesc& desc)
{
    std::string reason;
    if (!CheckActorDesc(desc, reason))
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_PARAMETER, "CreateActor: " + reason);
        return nullptr;
    }
    std::vector<CShapeMeshes> meshes;
    for (const CShapeDesc& shape : desc.m_Shapes)
        meshes.push_back({m_Sdk.FindTriangleMesh(shape.m_TriangleMesh), m_Sdk.FindConvexMesh(shape.m_ConvexMesh)});
    auto actor = std::make_unique<CBulletActor>(*this, m_NextSerial++, desc, meshes);
    if (!actor->Init(desc))
        return nullptr;
    m_ActorList.push_back(actor.get());
    m_Actors.push_back(std::move(actor));
    CollisionRulesChanged();
    return m_ActorList.back();
}

CBulletActor* CBulletScene::FindActor(IActor& actor) const
{
    for (const auto& own : m_Actors)
        if (own.get() == &actor)
            return own.get();
    return nullptr;
}

void CBulletScene::ReleaseActor(IActor& actor)
{
    CBulletActor* released = FindActor(actor);
    if (!released)
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_OPERATION, "ReleaseActor: the actor is not in this scene");
        return;
    }
    const std::vector<CBulletJoint*> joints = released->GetJoints();
    for (CBulletJoint* joint : joints)
        joint->Unbind();

    CollisionRulesChanged();
    const std::uint64_t serial = released->GetSerial();
    auto involves = [serial](const CPairKey& key) { return key.first == serial || key.second == serial; };
    for (auto it = m_PairFlags.begin(); it != m_PairFlags.end();)
        it = involves(it->first) ? m_PairFlags.erase(it) : std::next(it);
    m_Touching.erase(std::remove_if(m_Touching.begin(), m_Touching.end(),
                                    [&](const auto& touch) { return involves(touch.first); }),
                     m_Touching.end());
    m_Overlaps.erase(std::remove_if(m_Overlaps.begin(), m_Overlaps.end(),
                                    [serial](const auto& overlap) {
                                        return overlap.first.first.first == serial ||
                                               overlap.first.second.first == serial;
                                    }),
                     m_Overlaps.end());
    for (CPendingContact& pending : m_PendingContacts)
        if (pending.m_Pair.m_Actors[0] == released || pending.m_Pair.m_Actors[1] == released)
            pending.m_Dead = true;
    // The shapes of a report marked dead before may be gone already.
    for (CPendingTrigger& pending : m_PendingTriggers)
        if (!pending.m_Dead && (&pending.m_Trigger->GetActor() == released || &pending.m_Other->GetActor() == released))
            pending.m_Dead = true;

    m_ActorList.erase(std::find(m_ActorList.begin(), m_ActorList.end(), released));
    m_Actors.erase(std::find_if(m_Actors.begin(), m_Actors.end(),
                                [released](const std::unique_ptr<CBulletActor>& a) { return a.get() == released; }));
}

bool CBulletScene::CheckJointDesc(const CJointDesc& desc, std::string& reason) const
{
    if (desc.m_Type < JOINT_PRISMATIC || desc.m_Type > JOINT_FIXED)
        return reason = "unknown joint kind", false;
    const CBulletActor* actors[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i)
    {
        if (desc.m_Actors[i] && !(actors[i] = FindActor(*desc.m_Actors[i])))
            return reason = "an actor is not in this scene", false;
    }
    if (!(actors[0] && actors[0]->IsDynamic()) && !(actors[1] && actors[1]->IsDynamic()))
        return reason = "a joint needs a dynamic actor", false;
    if (actors[0] == actors[1])
        return reason = "a joint needs two different actors", false;
    for (int i = 0; i < 2; ++i)
    {
        if (!IsFinite(desc.m_LocalAnchor[i]) || !IsFinite(desc.m_LocalAxis[i]) || !IsFinite(desc.m_LocalNormal[i]))
            return reason = "anchor, axis or normal is not finite", false;
        if (desc.m_Type != JOINT_FIXED && desc.m_Type != JOINT_DISTANCE &&
            (desc.m_LocalAxis[i].Length() < 1e-6f || desc.m_LocalAxis[i].Cross(desc.m_LocalNormal[i]).Length() < 1e-6f))
            return reason = "the axis is zero or along the normal", false;
    }
    if (std::isnan(desc.m_MaxForce) || std::isnan(desc.m_MaxTorque) || desc.m_MaxForce < 0.0f || desc.m_MaxTorque < 0.0f)
        return reason = "break limits are not numbers of 0 or more", false;
    const CSpringDesc* springs[] = {&desc.m_Spring, &desc.m_SwingSpring, &desc.m_JointSpring};
    for (const CSpringDesc* spring : springs)
        if (!IsNonNegative(spring->m_Spring) || !IsNonNegative(spring->m_Damper) || !IsFinite(spring->m_TargetValue))
            return reason = "a spring is not finite", false;
    if (!IsFinite(desc.m_Limit.m_Low.m_Value) || !IsFinite(desc.m_Limit.m_High.m_Value) ||
        !IsFinite(desc.m_SwingLimit.m_Value) || !IsFinite(desc.m_Motor.m_VelTarget) || !IsFinite(desc.m_Motor.m_MaxForce))
        return reason = "a limit or the motor is not finite", false;
    if (!IsNonNegative(desc.m_MinDistance) || !IsNonNegative(desc.m_MaxDistance))
        return reason = "distances are not finite values of 0 or more", false;
    if (desc.m_Type == JOINT_DISTANCE && (desc.m_Flags & DISTANCE_MIN_ENABLED) && (desc.m_Flags & DISTANCE_MAX_ENABLED) &&
        desc.m_MinDistance > desc.m_MaxDistance)
        return reason = "the minimum distance passes the maximum", false;
    return true;
}

IJoint* CBulletScene::CreateJoint(const CJointDesc& desc)
{
    std::string reason;
    if (!CheckJointDesc(desc, reason))
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_PARAMETER, "CreateJoint: " + reason);
        return nullptr;
    }
    CBulletActor* actor0 = desc.m_Actors[0] ? FindActor(*desc.m_Actors[0]) : nullptr;
    CBulletActor* actor1 = desc.m_Actors[1] ? FindActor(*desc.m_Actors[1]) : nullptr;
    m_Joints.push_back(std::make_unique<CBulletJoint>(*this, desc, actor0, actor1));
    return m_Joints.back().get();
}

void CBulletScene::ReleaseJoint(IJoint& joint)
{
    auto found = std::find_if(m_Joints.begin(), m_Joints.end(),
                              [&joint](const std::unique_ptr<CBulletJoint>& own) { return own.get() == &joint; });
    if (found == m_Joints.end())
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_OPERATION, "ReleaseJoint: the joint is not in this scene");
        return;
    }
    m_Joints.erase(found);
}

std::uint16_t CBulletScene::CreateMaterial(const CMaterialDesc& desc)
{
    if (!IsMaterialValid(desc))
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_PARAMETER, "CreateMaterial: values are not finite values of 0 or more");
        return 0;
    }
    if (m_Materials.size() > 0xFFFF)
    {
        SDK_REPORT(GetOutput(), ERR_OUT_OF_MEMORY, "CreateMaterial: no material index is left");
        return 0;
    }
    m_Materials.push_back(desc);
    return std::uint16_t(m_Materials.size() - 1);
}

void CBulletScene::SetMaterial(std::uint16_t index, const CMaterialDesc& desc)
{
    if (index >= m_Materials.size() || !IsMaterialValid(desc))
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_PARAMETER, "SetMaterial: no material " + std::to_string(index) +
                                                           " or values that are not finite values of 0 or more");
        return;
    }
    m_Materials[index] = desc;
}

CMaterialDesc CBulletScene::GetMaterial(std::uint16_t index) const { return GetMaterialDesc(index); }

const CMaterialDesc& CBulletScene::GetMaterialDesc(std::uint16_t index) const
{
    return index < m_Materials.size() ? m_Materials[index] : m_Materials.front();
}

void CBulletScene::SetGravity(const sds::CVector& gravity)
{
    if (!IsFinite(gravity))
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_PARAMETER, "SetGravity: gravity " + ToText(gravity) + " dropped");
        return;
    }
    m_Gravity = gravity;
    m_World->setGravity(ToBt(gravity));
    for (const auto& actor : m_Actors)
        actor->ApplyGravity();
}

CBulletScene::CPairKey CBulletScene::KeyOf(const CBulletActor& a, const CBulletActor& b)
{
    return std::minmax(a.GetSerial(), b.GetSerial());
}

void CBulletScene::SetActorPairFlags(IActor& first, IActor& second, std::uint32_t flags)
{
    CBulletActor* a = FindActor(first);
    CBulletActor* b = FindActor(second);
    if (!a || !b)
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_OPERATION, "SetActorPairFlags: an actor is not in this scene");
        return;
    }
    CollisionRulesChanged();
    const std::uint32_t old = GetActorPairFlags(first, second);
    if (flags)
        m_PairFlags[KeyOf(*a, *b)] = flags;
    else
        m_PairFlags.erase(KeyOf(*a, *b));
    if ((old ^ flags) & PAIR_IGNORE)
    {
        a->RefreshPairs();
        b->RefreshPairs();
    }
}

std::uint32_t CBulletScene::GetActorPairFlags(IActor& first, IActor& second) const
{
    const CBulletActor* a = FindActor(first);
    const CBulletActor* b = FindActor(second);
    if (!a || !b)
        return 0;
    auto found = m_PairFlags.find(KeyOf(*a, *b));
    return found == m_PairFlags.end() ? 0 : found->second;
}

void CBulletScene::SetActorGroupPairFlags(std::uint16_t first, std::uint16_t second, std::uint32_t flags)
{
    CollisionRulesChanged();
    const std::uint32_t old = GetActorGroupPairFlags(first, second);
    if (flags)
        m_GroupPairFlags[std::minmax(first, second)] = flags;
    else
        m_GroupPairFlags.erase(std::minmax(first, second));
    if ((old ^ flags) & PAIR_IGNORE)
        for (const auto& actor : m_Actors)
            if (actor->GetActorGroup() == first || actor->GetActorGroup() == second)
                actor->RefreshPairs();
}

std::uint32_t CBulletScene::GetActorGroupPairFlags(std::uint16_t first, std::uint16_t second) const
{
    auto found = m_GroupPairFlags.find(std::minmax(first, second));
    return found == m_GroupPairFlags.end() ? 0 : found->second;
}

std::uint32_t CBulletScene::PairFlags(const CBulletActor& a, const CBulletActor& b) const
{
    std::uint32_t flags = 0;
    if (!m_PairFlags.empty())
    {
        auto found = m_PairFlags.find(KeyOf(a, b));
        if (found != m_PairFlags.end())
            flags = found->second;
    }
    auto group = m_GroupPairFlags.find(std::minmax(a.GetActorGroup(), b.GetActorGroup()));
    if (group != m_GroupPairFlags.end())
        flags |= group->second;
    return flags;
}

void CBulletScene::BlockCollision(CBulletActor& a, CBulletActor& b, bool block)
{
    CollisionRulesChanged();
    const CPairKey key = KeyOf(a, b);
    if (block)
    {
        if (m_BlockedPairs[key]++ == 0)
        {
            a.RefreshPairs();
            b.RefreshPairs();
        }
    }
    else if (--m_BlockedPairs[key] <= 0)
        m_BlockedPairs.erase(key);
}

bool CBulletScene::NeedsCollision(const CBulletActor& a, const CBulletActor& b) const
{
    if (&a == &b || a.ReadActorFlag(AF_DISABLE_COLLISION) || b.ReadActorFlag(AF_DISABLE_COLLISION))
        return false;
    const bool movingA = a.IsMovingDynamic();
    const bool movingB = b.IsMovingDynamic();
    if (!movingA && !movingB)
        return false;
    if (a.IsTrigger() && b.IsTrigger())
        return false;
    if (!m_BlockedPairs.empty() && m_BlockedPairs.count(KeyOf(a, b)))
        return false;
    if (PairFlags(a, b) & PAIR_IGNORE)
        return false;
    // A trigger notices moving bodies only.
    if (a.IsTrigger())
        return movingB;
    if (b.IsTrigger())
        return movingA;
    return true;
}

void CBulletScene::Simulate(float elapsed)
{
    if (!IsFinite(elapsed) || elapsed <= 0.0f)
    {
        SDK_REPORT(GetOutput(), ERR_INVALID_PARAMETER, "Simulate: step " + ToText(elapsed) + " dropped");
        return;
    }
    for (const auto& joint : m_Joints)
        joint->ApplySprings();
    m_World->stepSimulation(elapsed, 0, elapsed);
    for (const auto& joint : m_Joints)
        joint->CheckBreak();
    for (const auto& joint : m_Joints)
        joint->Project();
    CollectReports();
}

void CBulletScene::CollectReports()
{
    // Gathered in lists kept from step to step: a step makes no maps and, once
    // the lists have grown, allocates nothing.
    std::vector<std::pair<CPairKey, CTouch>>& touching = m_NewTouching;
    std::vector<std::pair<CTriggerKey, COverlap>>& overlaps = m_NewOverlaps;
    touching.clear();
    overlaps.clear();
    m_TouchingManifolds.clear();
    m_Points.clear();
    for (int i = 0, n = m_Dispatcher->getNumManifolds(); i < n; ++i)
    {
        const btPersistentManifold* manifold = m_Dispatcher->getManifoldByIndexInternal(i);
        if (manifold->getNumContacts() == 0)
            continue;
        const btCollisionObject* objects[2] = {manifold->getBody0(), manifold->getBody1()};
        CBulletActor* actors[2] = {static_cast<CBulletActor*>(objects[0]->getUserPointer()),
                                   static_cast<CBulletActor*>(objects[1]->getUserPointer())};
        if (!actors[0] || !actors[1])
            continue;

        if (actors[0]->IsTrigger() || actors[1]->IsTrigger())
        {
            const int t = actors[0]->IsTrigger() ? 0 : 1;
            const int o = 1 - t;
            if (actors[o]->IsTrigger() || !actors[o]->IsMovingDynamic())
                continue;
            for (int p = 0; p < manifold->getNumContacts(); ++p)
            {
                const btManifoldPoint& point = manifold->getContactPoint(p);
                const int indices[2] = {point.m_index0, point.m_index1};
                CBulletShape* trigger = actors[t]->ShapeForContact(objects[t], indices[t]);
                CBulletShape* other = actors[o]->ShapeForContact(objects[o], indices[o]);
                overlaps.push_back(
                    {{{actors[t]->GetSerial(), trigger->GetIndex()}, {actors[o]->GetSerial(), other->GetIndex()}},
                     {trigger, other}});
            }
            continue;
        }
        m_TouchingManifolds.push_back({KeyOf(*actors[0], *actors[1]), i});
    }

    // One entry a key, in the order of the keys; a pair's points in the order of its manifolds.
    std::stable_sort(m_TouchingManifolds.begin(), m_TouchingManifolds.end(),
                     [](const CTouchingManifold& a, const CTouchingManifold& b) { return a.m_Key < b.m_Key; });
    for (const CTouchingManifold& entry : m_TouchingManifolds)
    {
        const btPersistentManifold* manifold = m_Dispatcher->getManifoldByIndexInternal(entry.m_Index);
        const btCollisionObject* objects[2] = {manifold->getBody0(), manifold->getBody1()};
        CBulletActor* actors[2] = {static_cast<CBulletActor*>(objects[0]->getUserPointer()),
                                   static_cast<CBulletActor*>(objects[1]->getUserPointer())};
        const bool swap = actors[0]->GetSerial() > actors[1]->GetSerial();
        if (touching.empty() || touching.back().first != entry.m_Key)
            touching.push_back({entry.m_Key, CTouch{{actors[swap ? 1 : 0], actors[swap ? 0 : 1]}, m_Points.size(), 0}});
        CTouch& touch = touching.back().second;
        for (int p = 0; p < manifold->getNumContacts(); ++p)
        {
            const btManifoldPoint& point = manifold->getContactPoint(p);
            CContactPoint contact;
            contact.m_Position = FromBt((point.getPositionWorldOnA() + point.getPositionWorldOnB()) * 0.5f);
            // The engine's normal points from the second body to the first.
            contact.m_Normal = FromBt(swap ? point.m_normalWorldOnB : -point.m_normalWorldOnB);
            contact.m_Separation = point.getDistance();
            CBulletShape* shape0 = actors[0]->ShapeForContact(objects[0], point.m_index0);
            CBulletShape* shape1 = actors[1]->ShapeForContact(objects[1], point.m_index1);
            contact.m_Shapes[0] = swap ? shape1 : shape0;
            contact.m_Shapes[1] = swap ? shape0 : shape1;
            m_Points.push_back(contact);
            ++touch.m_Count;
        }
    }
    std::sort(overlaps.begin(), overlaps.end(), ByKey<CTriggerKey, COverlap>);
    overlaps.erase(std::unique(overlaps.begin(), overlaps.end(),
                               [](const auto& a, const auto& b) { return a.first == b.first; }),
                   overlaps.end());

    if (m_ContactReport)
    {
        for (const auto& [key, touch] : touching)
        {
            const std::uint32_t flags = PairFlags(*touch.m_Actors[0], *touch.m_Actors[1]);
            std::uint32_t events = NOTIFY_ON_TOUCH;
            if (!Holds(m_Touching, key))
                events |= NOTIFY_ON_START_TOUCH;
            events &= flags;
            if (events)
            {
                const auto first = m_Points.begin() + std::ptrdiff_t(touch.m_First);
                m_PendingContacts.push_back({CContactPair{{touch.m_Actors[0], touch.m_Actors[1]},
                                                          {first, first + std::ptrdiff_t(touch.m_Count)}},
                                             events, false});
            }
        }
        for (const auto& [key, touch] : m_Touching)
            if (!Holds(touching, key) && (PairFlags(*touch.m_Actors[0], *touch.m_Actors[1]) & NOTIFY_ON_END_TOUCH))
                m_PendingContacts.push_back(
                    {CContactPair{{touch.m_Actors[0], touch.m_Actors[1]}, {}}, NOTIFY_ON_END_TOUCH, false});
    }
    if (m_TriggerReport)
    {
        for (const auto& [key, overlap] : overlaps)
        {
            const std::uint32_t status = Holds(m_Overlaps, key) ? TRIGGER_ON_STAY : TRIGGER_ON_ENTER;
            const std::uint32_t wanted = status == TRIGGER_ON_STAY ? SF_TRIGGER_ON_STAY : SF_TRIGGER_ON_ENTER;
            if (overlap.first->GetFlags() & wanted)
                m_PendingTriggers.push_back({overlap.first, overlap.second, status, false});
        }
        for (const auto& [key, overlap] : m_Overlaps)
            if (!Holds(overlaps, key) && (overlap.first->GetFlags() & SF_TRIGGER_ON_LEAVE))
                m_PendingTriggers.push_back({overlap.first, overlap.second, TRIGGER_ON_LEAVE, false});
    }
    m_Touching.swap(touching);
    m_Overlaps.swap(overlaps);
}

bool CBulletScene::FetchResults(bool)
{
    for (std::size_t i = 0; i < m_PendingContacts.size(); ++i)
        if (!m_PendingContacts[i].m_Dead)
            m_ContactReport->OnContactNotify(m_PendingContacts[i].m_Pair, m_PendingContacts[i].m_Events);
    for (std::size_t i = 0; i < m_PendingTriggers.size(); ++i)
        if (!m_PendingTriggers[i].m_Dead)
            m_TriggerReport->OnTrigger(*m_PendingTriggers[i].m_Trigger, *m_PendingTriggers[i].m_Other,
                                       m_PendingTriggers[i].m_Status);
    m_PendingContacts.clear();
    m_PendingTriggers.clear();
    return true;
}

} // namespace physics::sdk
