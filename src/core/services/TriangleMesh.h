#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Vector.h"

namespace sds {

// Triangles the scene hands to the physics world: points, three indices per
// triangle into them, and the name of the mesh's render material.
class CTriangleMesh
{
public:
    std::vector<CVector> m_Vertices;
    std::vector<std::uint32_t> m_Indices;
    std::string m_MaterialName;
};

} // namespace sds
