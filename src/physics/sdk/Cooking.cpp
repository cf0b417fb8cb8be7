#include "physics/sdk/Cooking.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "physics/sdk/ConvexMeshDesc.h"
#include "physics/sdk/CookedFormat.h"
#include "physics/sdk/IStream.h"
#include "physics/sdk/TriangleMeshDesc.h"

namespace physics::sdk {

namespace {

const char TRIANGLE_MESH_TAG[4] = {'S', 'D', 'T', 'M'};
const char CONVEX_MESH_TAG[4] = {'S', 'D', 'C', 'M'};
const std::uint32_t FORMAT_VERSION = 1;

const float* PointAt(const void* points, std::uint32_t stride, std::uint32_t i)
{
    return reinterpret_cast<const float*>(static_cast<const unsigned char*>(points) + std::size_t(i) * stride);
}

const std::uint32_t* TriangleAt(const void* triangles, std::uint32_t stride, std::uint32_t i)
{
    return reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(triangles) + std::size_t(i) * stride);
}

bool PointsAreValid(std::uint32_t count, const void* points, std::uint32_t stride)
{
    if (count == 0 || !points || stride < 3 * sizeof(float))
        return false;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const float* p = PointAt(points, stride, i);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
            return false;
    }
    return true;
}

void StorePoints(IStream& out, std::uint32_t count, const void* points, std::uint32_t stride)
{
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const float* p = PointAt(points, stride, i);
        out.StoreFloat(p[0]).StoreFloat(p[1]).StoreFloat(p[2]);
    }
}

void ReadTag(const IStream& in, const char (&tag)[4], const char* what)
{
    char read[4];
    in.ReadBuffer(read, sizeof read);
    if (std::memcmp(read, tag, sizeof read) != 0)
        throw std::runtime_error(std::string("not a cooked ") + what);
    const std::uint32_t version = in.ReadDword();
    if (version != FORMAT_VERSION)
        throw std::runtime_error(std::string("cooked ") + what + " of unknown version " + std::to_string(version));
}

// Reads element by element, so that a count larger than the bytes behind it
// fails at the end of the bytes instead of allocating for the count.
void ReadPoints(const IStream& in, std::uint32_t count, std::vector<sds::CVector>& points)
{
    if (count == 0)
        throw std::runtime_error("cooked mesh without points");
    points.reserve(std::min<std::uint32_t>(count, 1u << 16));
    for (std::uint32_t i = 0; i < count; ++i)
    {
        sds::CVector p;
        p.x = in.ReadFloat();
        p.y = in.ReadFloat();
        p.z = in.ReadFloat();
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            throw std::runtime_error("cooked mesh with a non-finite point");
        points.push_back(p);
    }
}

} // namespace

bool CookTriangleMesh(const CTriangleMeshDesc& desc, IStream& out)
{
    if (!PointsAreValid(desc.m_NumVertices, desc.m_Points, desc.m_PointStrideBytes) || desc.m_NumTriangles == 0 ||
        !desc.m_Triangles || desc.m_TriangleStrideBytes < 3 * sizeof(std::uint32_t))
        return false;
    for (std::uint32_t i = 0; i < desc.m_NumTriangles; ++i)
    {
        const std::uint32_t* t = TriangleAt(desc.m_Triangles, desc.m_TriangleStrideBytes, i);
        if (t[0] >= desc.m_NumVertices || t[1] >= desc.m_NumVertices || t[2] >= desc.m_NumVertices)
            return false;
    }

    out.StoreBuffer(TRIANGLE_MESH_TAG, sizeof TRIANGLE_MESH_TAG);
    out.StoreDword(FORMAT_VERSION).StoreDword(desc.m_NumVertices).StoreDword(desc.m_NumTriangles);
    StorePoints(out, desc.m_NumVertices, desc.m_Points, desc.m_PointStrideBytes);
    for (std::uint32_t i = 0; i < desc.m_NumTriangles; ++i)
    {
        const std::uint32_t* t = TriangleAt(desc.m_Triangles, desc.m_TriangleStrideBytes, i);
        out.StoreDword(t[0]).StoreDword(t[1]).StoreDword(t[2]);
    }
    return true;
}

bool CookConvexMesh(const CConvexMeshDesc& desc, IStream& out)
{
    if (!PointsAreValid(desc.m_NumVertices, desc.m_Points, desc.m_PointStrideBytes))
        return false;
    out.StoreBuffer(CONVEX_MESH_TAG, sizeof CONVEX_MESH_TAG);
    out.StoreDword(FORMAT_VERSION).StoreDword(desc.m_NumVertices);
    StorePoints(out, desc.m_NumVertices, desc.m_Points, desc.m_PointStrideBytes);
    return true;
}

CCookedMesh ReadCookedTriangleMesh(const IStream& in)
{
    ReadTag(in, TRIANGLE_MESH_TAG, "triangle mesh");
    const std::uint32_t vertexCount = in.ReadDword();
    const std::uint32_t triangleCount = in.ReadDword();
    CCookedMesh mesh;
    ReadPoints(in, vertexCount, mesh.m_Points);
    if (triangleCount == 0)
        throw std::runtime_error("cooked triangle mesh without triangles");
    mesh.m_Indices.reserve(std::min<std::uint32_t>(triangleCount, 1u << 16) * 3);
    for (std::uint64_t i = 0; i < triangleCount * 3ull; ++i)
    {
        const std::uint32_t index = in.ReadDword();
        if (index >= vertexCount)
            throw std::runtime_error("cooked triangle mesh with index " + std::to_string(index) + " past its " +
                                     std::to_string(vertexCount) + " points");
        mesh.m_Indices.push_back(index);
    }
    return mesh;
}

CCookedMesh ReadCookedConvexMesh(const IStream& in)
{
    ReadTag(in, CONVEX_MESH_TAG, "convex mesh");
    CCookedMesh mesh;
    ReadPoints(in, in.ReadDword(), mesh.m_Points);
    return mesh;
}

} // namespace physics::sdk
