#include "physics/ZavuviInsert.h"

#include <cmath>
#include <optional>
#include <stdexcept>

#include "physics/MemoryReadBuffer.h"
#include "physics/MemoryWriteBuffer.h"
#include "physics/PhyLog.h"
#include "physics/PhyMgr.h"
#include "physics/ZavuviPhysicalObject.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/ConvexMeshDesc.h"
#include "physics/sdk/Cooking.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IConvexMesh.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/ISdk.h"
#include "physics/sdk/IShape.h"
#include "physics/sdk/ITriangleMesh.h"
#include "physics/sdk/JointDesc.h"
#include "physics/sdk/TriangleMeshDesc.h"
#include "physics/zavuvi/PhysicsEntity.h"

namespace Zavuvi {

namespace {

namespace sdk = physics::sdk;

constexpr float kDegreesToRadians = 0.017453293f;

bool IsFinite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The meshes cooked for one actor's shapes; the shapes keep them once the
// actor is made, so they are let go of afterwards either way.
class CCookedMeshes
{
public:
    explicit CCookedMeshes(sdk::ISdk& sdk) : m_Sdk(sdk) {}
    ~CCookedMeshes()
    {
        for (sdk::ITriangleMesh* mesh : m_Triangles)
            m_Sdk.ReleaseTriangleMesh(*mesh);
        for (sdk::IConvexMesh* mesh : m_Convexes)
            m_Sdk.ReleaseConvexMesh(*mesh);
    }

    sdk::ITriangleMesh* Triangles(const PhysicsMeshData& data)
    {
        std::vector<std::uint32_t> indices(data.m_Triangles.begin(), data.m_Triangles.end());
        sdk::CTriangleMeshDesc desc;
        desc.m_NumVertices = std::uint32_t(data.m_Vertices.size());
        desc.m_Points = data.m_Vertices.data();
        desc.m_PointStrideBytes = sizeof(Vector3);
        desc.m_NumTriangles = std::uint32_t(indices.size() / 3);
        desc.m_Triangles = indices.data();
        desc.m_TriangleStrideBytes = 3 * sizeof(std::uint32_t);
        physics::details::MemoryWriteBuffer cooked;
        if (!sdk::CookTriangleMesh(desc, cooked))
            return nullptr;
        physics::details::MemoryReadBuffer reader(cooked.GetData(), cooked.GetCurrentSize());
        sdk::ITriangleMesh* mesh = m_Sdk.CreateTriangleMesh(reader);
        if (mesh)
            m_Triangles.push_back(mesh);
        return mesh;
    }

    sdk::IConvexMesh* Convex(const PhysicsMeshData& data)
    {
        sdk::CConvexMeshDesc desc;
        desc.m_NumVertices = std::uint32_t(data.m_Vertices.size());
        desc.m_Points = data.m_Vertices.data();
        desc.m_PointStrideBytes = sizeof(Vector3);
        physics::details::MemoryWriteBuffer cooked;
        if (!sdk::CookConvexMesh(desc, cooked))
            return nullptr;
        physics::details::MemoryReadBuffer reader(cooked.GetData(), cooked.GetCurrentSize());
        sdk::IConvexMesh* mesh = m_Sdk.CreateConvexMesh(reader);
        if (mesh)
            m_Convexes.push_back(mesh);
        return mesh;
    }

private:
    sdk::ISdk& m_Sdk;
    std::vector<sdk::ITriangleMesh*> m_Triangles;
    std::vector<sdk::IConvexMesh*> m_Convexes;
};

class CBuilder
{
public:
    CBuilder(const std::shared_ptr<PhysicalObject>& object, const Vector3& position, const Matrix& rotation,
             const ActorHook& actorHook, void* user, int userValue)
        : m_Object(object),
          m_Entity(object->GetEntity()),
          m_Position(position),
          m_Rotation(rotation),
          m_Orientation(rotation.ToQuaternion()),
          m_Hooks(GetHooks()),
          m_ActorHook(actorHook ? actorHook : m_Hooks.m_Actor),
          m_User(user),
          m_UserValue(userValue)
    {
    }

    void Skeletons()
    {
        for (std::size_t i = 0; i < m_Entity.m_SkeletonModels.size(); ++i)
        {
            const PhysicsModel& model = m_Entity.m_SkeletonModels[i];
            auto skeleton = std::make_shared<SkeletonData>();
            skeleton->m_Index = int(i);
            m_Object->m_Skeletons.push_back(skeleton);
            if (m_Hooks.m_Skeleton)
                m_Hooks.m_Skeleton(m_Object, model.m_Name, &model, m_User, skeleton, m_Position, m_Rotation);
        }
    }

    void Actors()
    {
        m_Object->m_Actors.resize(m_Entity.m_Actors.size());
        for (std::size_t i = 0; i < m_Entity.m_Actors.size(); ++i)
        {
            const PhysicsActor& record = m_Entity.m_Actors[i];
            if (record.m_Shapes.empty() && record.m_SkeletonIndex < 0)
                continue;
            m_Object->m_Actors[i] = Actor(int(i), record);
        }
    }

private:
    void Warn(const std::string& text) const
    {
        physics::LogWarning("Physics file '" + m_Entity.m_FileName + "': " + text);
    }

    std::optional<sdk::CShapeDesc> Shape(const PhysicsActor& actor, const PhysicsShape& shape, CCookedMeshes& meshes)
    {
        const std::string which = "shape '" + shape.m_Name + "' of actor '" + actor.m_Name + "'";
        sdk::CShapeDesc desc;
        switch (shape.m_Kind)
        {
        case SHAPE_KIND_SPHERE:
            desc = sdk::CShapeDesc::Sphere(shape.m_Size.x * 0.5f);
            break;
        case SHAPE_KIND_CAPSULE:
            desc = sdk::CShapeDesc::Capsule(shape.m_Size.x * 0.5f, shape.m_Size.y);
            break;
        case SHAPE_KIND_MESH:
        {
            // The editor's own cooked mesh file cannot be read here; the mesh
            // data the file carries is cooked instead.
            if (!shape.m_HasMeshData)
            {
                Warn(which + " has no mesh data; left out");
                return std::nullopt;
            }
            if (!shape.m_Mesh.m_Convex && !actor.m_Static)
            {
                Warn(which + " is a triangle mesh on a moving actor; left out");
                return std::nullopt;
            }
            if (shape.m_Mesh.m_Convex)
                desc = sdk::CShapeDesc::Convex(meshes.Convex(shape.m_Mesh));
            else
                desc = sdk::CShapeDesc::TriangleMesh(meshes.Triangles(shape.m_Mesh));
            if (!desc.m_ConvexMesh && !desc.m_TriangleMesh)
            {
                Warn(which + ": its mesh could not be made; left out");
                return std::nullopt;
            }
            break;
        }
        default:
            desc = sdk::CShapeDesc::Box(shape.m_Size * 0.5f);
            break;
        }
        const bool sized = desc.m_Type == sdk::SHAPE_BOX
                               ? IsFinite(desc.m_Dimensions) && desc.m_Dimensions.x > 0.0f &&
                                     desc.m_Dimensions.y > 0.0f && desc.m_Dimensions.z > 0.0f
                               : desc.m_Type == sdk::SHAPE_SPHERE || desc.m_Type == sdk::SHAPE_CAPSULE
                                     ? std::isfinite(desc.m_Radius) && desc.m_Radius > 0.0f &&
                                           std::isfinite(desc.m_Height) && desc.m_Height >= 0.0f
                                     : true;
        if (!sized)
        {
            Warn(which + " has no positive size; left out");
            return std::nullopt;
        }
        desc.m_LocalPosition = shape.m_Position - actor.m_Position;
        desc.m_LocalOrientation = shape.m_Rotation.ToQuaternion();
        desc.m_Group = std::uint16_t(shape.m_Group & 0xFFFF);
        desc.m_Material = std::uint16_t(shape.m_Material & 0xFFFF);
        desc.m_Density = shape.m_Density;
        desc.m_Mass = shape.m_Mass;
        return desc;
    }

    std::shared_ptr<ZavuviActor> Actor(int index, const PhysicsActor& record)
    {
        SkeletonData* skeleton =
            record.m_SkeletonIndex >= 0 ? m_Object->m_Skeletons[std::size_t(record.m_SkeletonIndex)].get() : nullptr;
        if (skeleton && record.m_BoneDriven)
            skeleton->m_RootPosition = record.m_Position;

        std::shared_ptr<ZavuviActor> built;
        if (!record.m_Shapes.empty())
            built = Create(index, record);

        ModelsAndLights(record, built);
        if (built && skeleton)
        {
            built->m_BoneName = record.m_BoneName;
            built->m_ReferencePositionOffset = built->GetActor()->GetGlobalPosition() - record.m_ReferencePosition;
            built->m_ReferenceRotationOffset =
                Matrix::FromQuaternion(built->GetActor()->GetGlobalOrientation()) - record.m_ReferenceRotation;
            skeleton->m_Bones[record.m_BoneName] = built;
            if (record.m_BoneDriven)
                skeleton->m_RootActor = built;
        }
        return built;
    }

    std::shared_ptr<ZavuviActor> Create(int index, const PhysicsActor& record)
    {
        physics::CPhyMgr& world = *physics::CPhyMgr::GetSingleton();
        CCookedMeshes meshes(world.GetSdk());
        sdk::CActorDesc desc;
        desc.m_GlobalPosition = m_Position + m_Rotation * record.m_Position;
        desc.m_GlobalOrientation = m_Orientation;
        if (record.m_FlagE)
            desc.m_Flags |= sdk::AF_FLUID_DISABLE_COLLISION;
        if (!record.m_Static)
        {
            desc.m_Density = record.m_Density;
            sdk::CBodyDesc body;
            body.m_AngularDamping = record.m_AngularDamping;
            body.m_LinearDamping = record.m_LinearDamping;
            body.m_Mass = record.m_Mass;
            body.m_SleepLinearVelocity = record.m_SleepLinearVelocity;
            body.m_SleepAngularVelocity = record.m_SleepAngularVelocity;
            body.m_Flags = sdk::BF_VISUALIZATION | sdk::BF_ENERGY_SLEEP_TEST |
                           (record.m_NoGravity ? sdk::BF_DISABLE_GRAVITY : 0u);
            desc.m_Body = body;
        }
        for (const PhysicsShape& shape : record.m_Shapes)
            if (std::optional<sdk::CShapeDesc> shapeDesc = Shape(record, shape, meshes))
                desc.m_Shapes.push_back(*shapeDesc);
        if (desc.m_Shapes.empty())
        {
            Warn("actor '" + record.m_Name + "' has no shape left; not built");
            return nullptr;
        }

        auto object = std::make_shared<physics::CPhyObj>(desc);
        sdk::IActor& actor = *object->GetActor();
        if (record.m_ApplyVectorF && actor.IsDynamic())
            actor.SetLinearVelocity(m_Rotation * record.m_VectorF);
        for (sdk::IShape* shape : actor.GetShapes())
            shape->SetGroup(std::uint16_t(record.m_Group & 0xFFFF));

        auto built = std::make_shared<ZavuviActor>();
        built->m_Index = index;
        built->m_Object = object;
        if (m_ActorHook)
            m_ActorHook(m_Object, object, &record, m_User, m_UserValue);
        return built;
    }

    void ModelsAndLights(const PhysicsActor& record, const std::shared_ptr<ZavuviActor>& owner)
    {
        if (m_Hooks.m_Model)
            for (const PhysicsModel& model : record.m_Models)
            {
                ModelInstance instance;
                instance.m_Index = int(m_Object->m_Models.size());
                instance.m_Actor = owner;
                instance.m_RelativePosition = model.m_Position - record.m_Position;
                instance.m_RelativeRotation = model.m_Rotation.Transposed();
                instance.m_Position = m_Position + m_Rotation * model.m_Position;
                instance.m_Rotation = m_Rotation * instance.m_RelativeRotation;
                m_Object->m_Models.push_back(instance);
                m_Hooks.m_Model(m_Object, model.m_Name, &model, instance.m_Index, record.m_BoneName);
            }
        if (m_Hooks.m_Light)
            for (const PhysicsLight& light : record.m_Lights)
            {
                ModelInstance instance;
                instance.m_Index = int(m_Object->m_Models.size());
                instance.m_Actor = owner;
                instance.m_Position = m_Position + m_Rotation * record.m_Position;
                instance.m_Rotation = m_Rotation;
                instance.m_IsLight = true;
                m_Object->m_Models.push_back(instance);
                m_Hooks.m_Light(m_Object, &light, instance.m_Index);
            }
    }

    const std::shared_ptr<PhysicalObject>& m_Object;
    const PhysicsEntity& m_Entity;
    Vector3 m_Position;
    Matrix m_Rotation;
    sds::CQuaternion m_Orientation;
    CHooks m_Hooks; // a copy: a hook may not change what this insertion calls
    ActorHook m_ActorHook;
    void* m_User;
    int m_UserValue;
};

sdk::IActor* JointActor(const PhysicalObject& object, std::int32_t index)
{
    if (index < 0 || std::size_t(index) >= object.m_Actors.size() || !object.m_Actors[std::size_t(index)])
        return nullptr;
    if (object.GetEntity().m_Actors[std::size_t(index)].m_Static)
        return nullptr; // a static actor is as good as the world
    return object.m_Actors[std::size_t(index)]->GetActor();
}

// A world direction in an actor's frame, or in the world's without one.
Vector3 InActorFrame(const sdk::IActor* actor, const Vector3& world)
{
    return actor ? actor->GetGlobalOrientation().Inverse() * world : world;
}

sdk::CJointDesc JointDesc(const PhysicsJoint& record, sdk::EJointType type, sdk::IActor* first, sdk::IActor* second,
                          const Vector3& position, const Matrix& rotation)
{
    sdk::CJointDesc desc(type);
    desc.m_Actors[0] = first;
    desc.m_Actors[1] = second;
    desc.SetGlobalAnchor(position + rotation * record.m_Anchor);

    // The record's axis and normal in the file's frame, turned with the file;
    // a normal that is not square to the axis is made so.
    Vector3 axis = rotation * record.m_Axis;
    axis.Normalize();
    if (!IsFinite(axis) || axis.Length() < 0.5f)
        axis = rotation * sds::CVector::UNIT_Z;
    Vector3 normal = rotation * record.m_Normal;
    normal -= axis * normal.Dot(axis);
    normal.Normalize();
    if (!IsFinite(normal) || normal.Length() < 0.5f)
    {
        desc.SetGlobalAxis(axis);
    }
    else
    {
        for (int i = 0; i < 2; ++i)
        {
            desc.m_LocalAxis[i] = InActorFrame(desc.m_Actors[i], axis);
            desc.m_LocalNormal[i] = InActorFrame(desc.m_Actors[i], normal);
        }
    }

    if (record.m_MaxForce > 0.0f)
        desc.m_MaxForce = record.m_MaxForce;
    if (record.m_MaxTorque > 0.0f)
        desc.m_MaxTorque = record.m_MaxTorque;
    desc.m_JointFlags = sdk::JF_VISUALIZATION | (record.m_CollideConnected ? sdk::JF_COLLISION_ENABLED : 0u);

    const PhysicsJoint::CSpring* springs = record.m_Springs;
    auto spring = [](const PhysicsJoint::CSpring& s, float targetScale) {
        sdk::CSpringDesc d;
        d.m_Spring = s.m_Spring;
        d.m_Damper = s.m_Damper;
        d.m_TargetValue = s.m_Target * targetScale;
        return d;
    };
    switch (record.m_Kind)
    {
    case JOINT_KIND_REVOLUTE:
        if (record.m_LimitsEnabled)
        {
            desc.m_Limit.m_Low.m_Value = record.m_LimitA * kDegreesToRadians;
            desc.m_Limit.m_High.m_Value = record.m_LimitB * kDegreesToRadians;
            desc.m_Flags |= sdk::REVOLUTE_LIMIT_ENABLED;
        }
        if (record.m_MotorEnabled)
        {
            desc.m_Motor.m_VelTarget = record.m_Motor[0];
            desc.m_Motor.m_MaxForce = record.m_Motor[1];
            desc.m_Flags |= sdk::REVOLUTE_MOTOR_ENABLED;
        }
        if (springs[0].m_Enabled)
        {
            desc.m_Spring = spring(springs[0], kDegreesToRadians);
            desc.m_Flags |= sdk::REVOLUTE_SPRING_ENABLED;
        }
        break;
    case JOINT_KIND_SPHERICAL:
        if (record.m_LimitsEnabled)
        {
            desc.m_Limit.m_Low.m_Value = record.m_LimitA * kDegreesToRadians;
            desc.m_Limit.m_High.m_Value = record.m_LimitB * kDegreesToRadians;
            desc.m_SwingLimit.m_Value = record.m_LimitC * kDegreesToRadians;
            desc.m_Flags |= sdk::SPHERICAL_TWIST_LIMIT_ENABLED | sdk::SPHERICAL_SWING_LIMIT_ENABLED;
        }
        // Angles in the file are degrees, the twist and swing targets too; the
        // joint spring's target is a distance.
        if (springs[0].m_Enabled)
        {
            desc.m_Spring = spring(springs[0], kDegreesToRadians);
            desc.m_Flags |= sdk::SPHERICAL_TWIST_SPRING_ENABLED;
        }
        if (springs[1].m_Enabled)
        {
            desc.m_SwingSpring = spring(springs[1], kDegreesToRadians);
            desc.m_Flags |= sdk::SPHERICAL_SWING_SPRING_ENABLED;
        }
        if (springs[2].m_Enabled)
        {
            desc.m_JointSpring = spring(springs[2], 1.0f);
            desc.m_Flags |= sdk::SPHERICAL_JOINT_SPRING_ENABLED;
        }
        break;
    case JOINT_KIND_DISTANCE:
        if (record.m_LimitsEnabled)
        {
            desc.m_MinDistance = record.m_LimitA;
            desc.m_MaxDistance = record.m_LimitB;
            desc.m_Flags |= sdk::DISTANCE_MIN_ENABLED | sdk::DISTANCE_MAX_ENABLED;
        }
        if (springs[2].m_Enabled)
        {
            desc.m_Spring = spring(springs[2], 1.0f);
            desc.m_Flags |= sdk::DISTANCE_SPRING_ENABLED;
        }
        break;
    default: break;
    }
    return desc;
}

std::optional<sdk::EJointType> JointType(std::int32_t kind)
{
    switch (kind)
    {
    case JOINT_KIND_REVOLUTE: return sdk::JOINT_REVOLUTE;
    case JOINT_KIND_SPHERICAL: return sdk::JOINT_SPHERICAL;
    case JOINT_KIND_CYLINDRICAL: return sdk::JOINT_CYLINDRICAL;
    case JOINT_KIND_PRISMATIC: return sdk::JOINT_PRISMATIC;
    case JOINT_KIND_FIXED: return sdk::JOINT_FIXED;
    case JOINT_KIND_DISTANCE: return sdk::JOINT_DISTANCE;
    case JOINT_KIND_POINT_ON_LINE: return sdk::JOINT_POINT_ON_LINE;
    default: return std::nullopt;
    }
}

} // namespace

std::shared_ptr<PhysicalObject> Insert(const std::shared_ptr<const PhysicsEntity>& entity, const Vector3& position,
                                       const sds::CQuaternion& orientation, const ActorHook& actorHook,
                                       const JointHook& jointHook, void* user, int userValue)
{
    if (!entity)
        throw std::runtime_error("physEntity was not loaded before insert was called");
    sds::CQuaternion q = orientation;
    q.NormaliseQuaternion();
    const Matrix rotation = Matrix::FromQuaternion(q);

    auto object = std::make_shared<PhysicalObject>(entity);
    CBuilder builder(object, position, rotation, actorHook, user, userValue);
    builder.Skeletons();
    builder.Actors();
    CreateJoints(*object, position, rotation, nullptr, jointHook ? jointHook : GetHooks().m_Joint, user);
    return object;
}

void Place(PhysicalObject& object, const Vector3& position, const Matrix& rotation)
{
    // Through a quaternion and back: the nearest rotation to R.
    const sds::CQuaternion q = rotation.ToQuaternion();
    const Matrix orthonormal = Matrix::FromQuaternion(q);
    const PhysicsEntity& entity = object.GetEntity();
    for (std::size_t i = 0; i < object.m_Actors.size(); ++i)
        if (object.m_Actors[i] && object.m_Actors[i]->GetActor())
            object.m_Actors[i]->GetActor()->SetGlobalPose(position + orthonormal * entity.m_Actors[i].m_Position, q);
}

void CreateJoints(PhysicalObject& object, const Vector3& position, const Matrix& rotation,
                  const std::function<bool(const PhysicsJoint&)>& wanted, const JointHook& jointHook, void* user)
{
    physics::CPhyMgr* world = physics::CPhyMgr::GetSingleton();
    if (!world)
        return;
    for (const PhysicsJoint& record : object.GetEntity().m_Joints)
    {
        if (wanted && !wanted(record))
            continue;
        sdk::IActor* first = JointActor(object, record.m_Actors[0]);
        sdk::IActor* second = JointActor(object, record.m_Actors[1]);
        if (!first && !second)
            continue;
        const std::optional<sdk::EJointType> type = JointType(record.m_Kind);
        if (!type)
            continue;
        sdk::IJoint* joint =
            world->GetScene().CreateJoint(JointDesc(record, *type, first, second, position, rotation));
        if (jointHook)
            jointHook(joint, &record, user);
        if (joint)
            object.m_Joints.push_back(joint);
    }
}

} // namespace Zavuvi
