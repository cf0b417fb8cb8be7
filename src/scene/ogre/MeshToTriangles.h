#pragma once

#include <memory>
#include <vector>

#include <OGRE/OgreMesh.h>

#include "core/services/TriangleMesh.h"

namespace wrappers {

typedef std::vector<std::shared_ptr<sds::CTriangleMesh>> CTriangleMeshes;

// Appends one triangle mesh per sub-mesh of the mesh as placed: vertices in
// world space (rotation × (p × scale) + position), three indices per
// triangle, the sub-mesh's material name.
void MeshToTriangles(const Ogre::Mesh& mesh, CTriangleMeshes& output, const Ogre::Vector3& position,
                     const Ogre::Quaternion& rotation, const Ogre::Vector3& scale);

} // namespace wrappers
