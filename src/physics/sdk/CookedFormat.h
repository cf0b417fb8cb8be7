#pragma once

#include <cstdint>
#include <vector>

#include "core/Vector.h"

namespace physics::sdk {

class IStream;

// The layer's cooked mesh bytes: a four-byte tag, a format version (dword),
// the counts (dwords), then the points (three floats each) and, for a triangle
// mesh, the triangles (three dwords each).
struct CCookedMesh
{
    std::vector<sds::CVector> m_Points;
    std::vector<std::uint32_t> m_Indices; // three per triangle; empty for a convex mesh
};

// Read back what the cooking wrote; throw std::runtime_error with the reason
// when the bytes are not such a mesh (wrong tag or version, no points, an index
// past the points, a non-finite point, or too few bytes).
CCookedMesh ReadCookedTriangleMesh(const IStream& in);
CCookedMesh ReadCookedConvexMesh(const IStream& in);

} // namespace physics::sdk
