#include "physics/sdk/bullet/BulletConvexMesh.h"

#include <BulletCollision/CollisionShapes/btConvexHullShape.h>

#include "core/BoundingBox.h"
#include "physics/sdk/bullet/BulletMath.h"

namespace physics::sdk {

CBulletConvexMesh::CBulletConvexMesh(const CCookedMesh& mesh) : m_VertexCount(std::uint32_t(mesh.m_Points.size()))
{
    sds::CBoundingBox bounds;
    for (const sds::CVector& p : mesh.m_Points)
        bounds.Merge(p);
    m_Centre = bounds.GetCenter();
    const sds::CVector size = bounds.m_Max - bounds.m_Min;
    m_Volume = size.x * size.y * size.z;

    m_Shape = std::make_unique<btConvexHullShape>();
    for (const sds::CVector& p : mesh.m_Points)
        m_Shape->addPoint(ToBt(p - m_Centre), false);
    m_Shape->recalcLocalAabb();
}

CBulletConvexMesh::~CBulletConvexMesh() = default;

} // namespace physics::sdk
