#include "physics/PhyTriMesh.h"

#include <string>

#include "physics/MemoryReadBuffer.h"
#include "physics/MemoryWriteBuffer.h"
#include "physics/PhyException.h"
#include "physics/PhyMgr.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/Cooking.h"
#include "physics/sdk/ISdk.h"
#include "physics/sdk/TriangleMeshDesc.h"
#include "core/services/TriangleMesh.h"

namespace physics {

namespace {

void CheckMesh(const sds::CTriangleMesh& mesh)
{
    if (mesh.m_Vertices.empty() || mesh.m_Indices.empty())
        throw CPhyException("CPhyTriMesh is initialized with an empty mesh");
    if (mesh.m_Indices.size() % 3 != 0)
        throw CPhyException("CPhyTriMesh: the mesh has " + std::to_string(mesh.m_Indices.size()) +
                            " indices, which is not three per triangle");
    for (std::size_t i = 0; i < mesh.m_Indices.size(); ++i)
        if (mesh.m_Indices[i] >= mesh.m_Vertices.size())
            throw CPhyException("CPhyTriMesh: index " + std::to_string(i) + " is " + std::to_string(mesh.m_Indices[i]) +
                                ", past the mesh's " + std::to_string(mesh.m_Vertices.size()) + " vertices");
}

} // namespace

CPhyTriMesh::CPhyTriMesh(const sds::CTriangleMesh& mesh)
{
    CheckMesh(mesh);
    m_Vertices = mesh.m_Vertices;
    m_Indices = mesh.m_Indices;

    sdk::CTriangleMeshDesc desc;
    desc.m_NumVertices = std::uint32_t(m_Vertices.size());
    desc.m_Points = m_Vertices.data();
    desc.m_PointStrideBytes = sizeof(sds::CVector);
    desc.m_NumTriangles = std::uint32_t(m_Indices.size() / 3);
    desc.m_Triangles = m_Indices.data();
    desc.m_TriangleStrideBytes = 3 * sizeof(std::uint32_t);

    CPhyMgr& world = *CPhyMgr::GetSingleton();
    const std::uint16_t material = world.GetGfxMaterialIndex(mesh.m_MaterialName);

    details::MemoryWriteBuffer cooked;
    sdk::ITriangleMesh* triangles = nullptr;
    if (sdk::CookTriangleMesh(desc, cooked))
    {
        details::MemoryReadBuffer reader(cooked.GetData(), cooked.GetCurrentSize());
        triangles = world.GetSdk().CreateTriangleMesh(reader);
    }
    if (!triangles)
        throw CPhyException("Error creating terrain from polygons");

    sdk::CActorDesc actor;
    actor.m_Shapes.push_back(sdk::CShapeDesc::TriangleMesh(triangles));
    actor.m_Shapes.back().m_Material = material;
    try
    {
        CreateActor(actor);
    }
    catch (...)
    {
        world.GetSdk().ReleaseTriangleMesh(*triangles);
        throw;
    }
    // The shape keeps the mesh.
    world.GetSdk().ReleaseTriangleMesh(*triangles);
}

} // namespace physics
