#pragma once

#include <map>
#include <string>

#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSceneManager.h>

#include "graphics/ogre/MeshGeometry.h"

namespace Forests {

// The triangles of each mesh a pager's batched pages use, read back once.
class MeshGeometryCache
{
public:
    explicit MeshGeometryCache(Ogre::SceneManager*) {}

    const wrappers::CMeshGeometry& get(const Ogre::Mesh& mesh);

private:
    std::map<std::string, wrappers::CMeshGeometry> m_Meshes;
};

} // namespace Forests
