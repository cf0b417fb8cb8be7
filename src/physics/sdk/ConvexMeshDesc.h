#pragma once

#include <cstdint>

namespace physics::sdk {

// A point cloud whose convex hull is the shape.
struct CConvexMeshDesc
{
    std::uint32_t m_NumVertices = 0;
    const void* m_Points = nullptr;
    std::uint32_t m_PointStrideBytes = 12;
};

} // namespace physics::sdk
