#include "physics/sdk/bullet/BulletShape.h"

#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btBvhTriangleMeshShape.h>
#include <BulletCollision/CollisionShapes/btCapsuleShape.h>
#include <BulletCollision/CollisionShapes/btConvexHullShape.h>
#include <BulletCollision/CollisionShapes/btSphereShape.h>
#include <BulletCollision/CollisionShapes/btStaticPlaneShape.h>

#include "physics/sdk/bullet/BulletActor.h"
#include "physics/sdk/bullet/BulletConvexMesh.h"
#include "physics/sdk/bullet/BulletMath.h"
#include "physics/sdk/bullet/BulletScene.h"
#include "physics/sdk/bullet/BulletTriangleMesh.h"
#include "physics/sdk/bullet/Report.h"

namespace physics::sdk {

namespace {

const float PI = 3.14159265358979f;

} // namespace

CBulletShape::CBulletShape(CBulletActor& actor, unsigned index, const CShapeDesc& desc,
                           std::shared_ptr<CBulletTriangleMesh> triangleMesh,
                           std::shared_ptr<CBulletConvexMesh> convexMesh)
    : m_Actor(actor),
      m_Index(index),
      m_Type(desc.m_Type),
      m_LocalPose(ToBt(desc.m_LocalPosition, desc.m_LocalOrientation)),
      m_Dimensions(desc.m_Dimensions),
      m_Radius(desc.m_Radius),
      m_Height(desc.m_Height),
      m_Material(desc.m_Material),
      m_Group(desc.m_Group),
      m_Flags(desc.m_Flags),
      m_Density(desc.m_Density),
      m_Mass(desc.m_Mass),
      m_TriangleMesh(std::move(triangleMesh)),
      m_ConvexMesh(std::move(convexMesh))
{
    m_LocalPose.getBasis().setRotation(ToBt(desc.m_LocalOrientation).normalized());
    switch (m_Type)
    {
    case SHAPE_PLANE:
    {
        sds::CVector normal = desc.m_Normal;
        normal.Normalize();
        m_OwnShape = std::make_unique<btStaticPlaneShape>(ToBt(normal), desc.m_Distance);
        break;
    }
    case SHAPE_SPHERE: m_OwnShape = std::make_unique<btSphereShape>(m_Radius); break;
    case SHAPE_BOX: m_OwnShape = std::make_unique<btBoxShape>(ToBt(m_Dimensions)); break;
    case SHAPE_CAPSULE: m_OwnShape = std::make_unique<btCapsuleShape>(m_Radius, m_Height); break;
    case SHAPE_CONVEX: m_CollisionShape = &m_ConvexMesh->GetShape(); break;
    case SHAPE_TRIANGLE_MESH: m_CollisionShape = &m_TriangleMesh->GetShape(); break;
    }
    if (m_OwnShape)
        m_CollisionShape = m_OwnShape.get();
}

CBulletShape::~CBulletShape() = default;

IActor& CBulletShape::GetActor() const { return m_Actor; }

sds::CVector CBulletShape::GetLocalPosition() const { return FromBt(m_LocalPose.getOrigin()); }

sds::CQuaternion CBulletShape::GetLocalOrientation() const { return FromBt(m_LocalPose.getRotation()); }

sds::CVector CBulletShape::GetGlobalPosition() const
{
    return FromBt((m_Actor.GetActorTransform() * m_LocalPose).getOrigin());
}

sds::CQuaternion CBulletShape::GetGlobalOrientation() const
{
    return FromBt((m_Actor.GetActorTransform() * m_LocalPose).getRotation());
}

void CBulletShape::SetDimensions(const sds::CVector& halfExtents)
{
    IUserOutputStream* output = m_Actor.GetBulletScene().GetOutput();
    if (m_Type != SHAPE_BOX)
    {
        SDK_REPORT(output, ERR_INVALID_OPERATION, "SetDimensions: the shape is not a box");
        return;
    }
    if (!IsFinite(halfExtents) || halfExtents.x <= 0.0f || halfExtents.y <= 0.0f || halfExtents.z <= 0.0f)
    {
        SDK_REPORT(output, ERR_INVALID_PARAMETER, "SetDimensions: half extents " + ToText(halfExtents) + " dropped");
        return;
    }
    m_Dimensions = halfExtents;
    std::unique_ptr<btCollisionShape> old = std::move(m_OwnShape);
    m_OwnShape = std::make_unique<btBoxShape>(ToBt(halfExtents));
    m_CollisionShape = m_OwnShape.get();
    m_Actor.OnShapeReplaced(*this);
}

ITriangleMesh* CBulletShape::GetTriangleMesh() const { return m_TriangleMesh.get(); }

IConvexMesh* CBulletShape::GetConvexMesh() const { return m_ConvexMesh.get(); }

btTransform CBulletShape::GetCollisionTransform() const
{
    if (m_Type != SHAPE_CONVEX)
        return m_LocalPose;
    return m_LocalPose * btTransform(btQuaternion::getIdentity(), ToBt(m_ConvexMesh->GetCentre()));
}

float CBulletShape::GetVolume() const
{
    switch (m_Type)
    {
    case SHAPE_SPHERE: return 4.0f / 3.0f * PI * m_Radius * m_Radius * m_Radius;
    case SHAPE_BOX: return 8.0f * m_Dimensions.x * m_Dimensions.y * m_Dimensions.z;
    case SHAPE_CAPSULE: return PI * m_Radius * m_Radius * (m_Height + 4.0f / 3.0f * m_Radius);
    case SHAPE_CONVEX: return m_ConvexMesh->GetVolume();
    default: return 0.0f;
    }
}

float CBulletShape::GetMassWeight(float density) const
{
    if (density > 0.0f)
        return density * GetVolume();
    return m_Mass > 0.0f ? m_Mass : m_Density * GetVolume();
}

} // namespace physics::sdk
