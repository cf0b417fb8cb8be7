#pragma once

#include <memory>
#include <string>
#include <vector>

#include <OGRE/OgreMesh.h>

#include "core/services/TriangleMesh.h"

namespace wrappers {

typedef std::vector<std::shared_ptr<sds::CTriangleMesh>> CTriangleMeshes;

// Appends one triangle mesh per sub-mesh of the mesh as placed: vertices in
// world space (rotation × (p × scale) + position), three indices per
// triangle, the sub-mesh's material name, and a key of the mesh's name, the
// sub-mesh and the placement. Sub-meshes whose key `isBaked` knows are left
// out; a mesh left out whole is not read at all.
void MeshToTriangles(const Ogre::Mesh& mesh, CTriangleMeshes& output, const Ogre::Vector3& position,
                     const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                     const sds::CIsBaked& isBaked = sds::CIsBaked());

// The key of a sub-mesh of the mesh so placed: equal placements, to the bit, give equal keys.
std::string TriangleMeshKey(const Ogre::Mesh& mesh, std::size_t subMesh, const Ogre::Vector3& position,
                            const Ogre::Quaternion& rotation, const Ogre::Vector3& scale);

} // namespace wrappers
