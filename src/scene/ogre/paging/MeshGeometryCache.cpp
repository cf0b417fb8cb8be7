#include "scene/ogre/paging/MeshGeometryCache.h"

namespace Forests {

const wrappers::CMeshGeometry& MeshGeometryCache::get(const Ogre::Mesh& mesh)
{
    auto found = m_Meshes.find(mesh.getName());
    if (found == m_Meshes.end())
        found = m_Meshes.emplace(mesh.getName(), wrappers::ReadMeshGeometry(mesh)).first;
    return found->second;
}

} // namespace Forests
