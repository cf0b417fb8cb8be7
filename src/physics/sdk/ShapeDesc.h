#pragma once

#include <cstdint>

#include "core/Quaternion.h"
#include "core/Vector.h"
#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

class IConvexMesh;
class ITriangleMesh;

// One shape of an actor, posed in the actor's frame. Planes and triangle meshes
// belong to static actors only.
struct CShapeDesc
{
    EShapeType m_Type = SHAPE_BOX;
    sds::CVector m_LocalPosition;
    sds::CQuaternion m_LocalOrientation;

    sds::CVector m_Dimensions = {1.0f, 1.0f, 1.0f}; // box: half extents
    float m_Radius = 1.0f;                          // sphere, capsule
    float m_Height = 1.0f;                          // capsule: between the caps' centres, along y
    sds::CVector m_Normal = {0.0f, 1.0f, 0.0f};     // plane: n . p = distance
    float m_Distance = 0.0f;
    ITriangleMesh* m_TriangleMesh = nullptr;
    IConvexMesh* m_ConvexMesh = nullptr;

    std::uint16_t m_Material = 0;
    std::uint16_t m_Group = 0;
    std::uint32_t m_Flags = SF_VISUALIZATION; // EShapeFlag bits
    float m_Density = 1.0f;
    float m_Mass = 0.0f; // above 0 replaces density x volume for this shape

    static CShapeDesc Box(const sds::CVector& halfExtents)
    {
        CShapeDesc d;
        d.m_Type = SHAPE_BOX;
        d.m_Dimensions = halfExtents;
        return d;
    }
    static CShapeDesc Sphere(float radius)
    {
        CShapeDesc d;
        d.m_Type = SHAPE_SPHERE;
        d.m_Radius = radius;
        return d;
    }
    static CShapeDesc Capsule(float radius, float height)
    {
        CShapeDesc d;
        d.m_Type = SHAPE_CAPSULE;
        d.m_Radius = radius;
        d.m_Height = height;
        return d;
    }
    static CShapeDesc Plane(const sds::CVector& normal, float distance)
    {
        CShapeDesc d;
        d.m_Type = SHAPE_PLANE;
        d.m_Normal = normal;
        d.m_Distance = distance;
        return d;
    }
    static CShapeDesc TriangleMesh(ITriangleMesh* mesh)
    {
        CShapeDesc d;
        d.m_Type = SHAPE_TRIANGLE_MESH;
        d.m_TriangleMesh = mesh;
        return d;
    }
    static CShapeDesc Convex(IConvexMesh* mesh)
    {
        CShapeDesc d;
        d.m_Type = SHAPE_CONVEX;
        d.m_ConvexMesh = mesh;
        return d;
    }
};

} // namespace physics::sdk
