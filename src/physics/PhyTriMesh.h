#pragma once

#include <cstdint>
#include <vector>

#include "physics/PhyObj.h"

namespace sds {
class CTriangleMesh;
}

namespace physics {

// A static actor made of a scene mesh (the terrain), cooked in memory. The
// whole mesh takes the physical material of its render material.
class CPhyTriMesh : public CPhyObj
{
public:
    // Throws CPhyException for an empty mesh, an index count that is not a
    // multiple of 3, an index past the vertices, or a mesh the SDK refuses.
    explicit CPhyTriMesh(const sds::CTriangleMesh& mesh);

    const std::vector<sds::CVector>& GetVertices() const { return m_Vertices; }
    const std::vector<std::uint32_t>& GetIndices() const { return m_Indices; }

private:
    std::vector<sds::CVector> m_Vertices;
    std::vector<std::uint32_t> m_Indices;
};

} // namespace physics
