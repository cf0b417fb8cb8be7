#include "physics/sdk/bullet/BulletTriangleMesh.h"

#include <BulletCollision/CollisionShapes/btBvhTriangleMeshShape.h>
#include <BulletCollision/CollisionShapes/btTriangleIndexVertexArray.h>

namespace physics::sdk {

CBulletTriangleMesh::CBulletTriangleMesh(const CCookedMesh& mesh)
{
    m_Points.reserve(mesh.m_Points.size() * 3);
    for (const sds::CVector& p : mesh.m_Points)
    {
        m_Points.push_back(p.x);
        m_Points.push_back(p.y);
        m_Points.push_back(p.z);
    }
    m_Indices.assign(mesh.m_Indices.begin(), mesh.m_Indices.end());
    m_Array = std::make_unique<btTriangleIndexVertexArray>(
        int(m_Indices.size() / 3), m_Indices.data(), int(3 * sizeof(int)), int(mesh.m_Points.size()),
        m_Points.data(), int(3 * sizeof(float)));
    m_Shape = std::make_unique<btBvhTriangleMeshShape>(m_Array.get(), true);
}

CBulletTriangleMesh::~CBulletTriangleMesh() = default;

std::uint32_t CBulletTriangleMesh::GetVertexCount() const { return std::uint32_t(m_Points.size() / 3); }

std::uint32_t CBulletTriangleMesh::GetTriangleCount() const { return std::uint32_t(m_Indices.size() / 3); }

} // namespace physics::sdk
