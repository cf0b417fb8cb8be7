#pragma once

#include <cstdint>
#include <functional>
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
    // Names the placed part of the scene the triangles come from: the same
    // part of the same mesh at the same place gives the same key, however
    // often the scene pages it out and in again. Empty: a mesh of no placement.
    std::string m_Key;
};

// Tells whether the triangles of a key are in the physics world already.
typedef std::function<bool(const std::string& key)> CIsBaked;

} // namespace sds
