#pragma once

#include <vector>

#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSubMesh.h>

#include "core/BoundingBox.h"

// The common part of the meshes the program generates (ropes, triangles).
namespace wrappers {

// A triangle-list sub-mesh with vertex data of its own: buffer 0 holds the
// positions and normals (six floats a vertex), buffer 1 the texture
// coordinates (two floats a vertex), both static and write-only. The index
// data is left to the caller.
Ogre::SubMesh* CreateGeneratedSubMesh(Ogre::Mesh& mesh, const std::vector<float>& vertices,
                                      const std::vector<float>& texCoords, bool shadowBuffers);

// The mesh's box and the sphere around it.
void SetGeneratedBounds(Ogre::Mesh& mesh, const sds::CBoundingBox& bounds);

} // namespace wrappers
