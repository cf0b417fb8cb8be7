#pragma once

#include <cstdint>

namespace physics::sdk {

// Triangle soup to be cooked: points of three floats and triangles of three
// 32-bit indices, each read with its stride in bytes.
struct CTriangleMeshDesc
{
    std::uint32_t m_NumVertices = 0;
    const void* m_Points = nullptr;
    std::uint32_t m_PointStrideBytes = 12;
    std::uint32_t m_NumTriangles = 0;
    const void* m_Triangles = nullptr;
    std::uint32_t m_TriangleStrideBytes = 12;
};

} // namespace physics::sdk
