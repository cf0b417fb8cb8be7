#include "scene/ogre/MeshToTriangles.h"

#include "graphics/ogre/MeshGeometry.h"

namespace wrappers {

void MeshToTriangles(const Ogre::Mesh& mesh, CTriangleMeshes& output, const Ogre::Vector3& position,
                     const Ogre::Quaternion& rotation, const Ogre::Vector3& scale)
{
    const CMeshGeometry geometry = ReadMeshGeometry(mesh);
    std::vector<std::vector<sds::CVector>> placed(geometry.m_Sources.size());
    for (std::size_t s = 0; s < geometry.m_Sources.size(); ++s) {
        placed[s].reserve(geometry.m_Sources[s].m_Positions.size());
        for (const Ogre::Vector3& p : geometry.m_Sources[s].m_Positions) {
            const Ogre::Vector3 world = rotation * (p * scale) + position;
            placed[s].emplace_back(world.x, world.y, world.z);
        }
    }
    for (const CMeshGeometry::CSubMesh& sub : geometry.m_SubMeshes) {
        auto triangles = std::make_shared<sds::CTriangleMesh>();
        triangles->m_MaterialName = sub.m_Material;
        triangles->m_Vertices = placed[sub.m_Source];
        triangles->m_Indices = sub.m_Indices;
        output.push_back(std::move(triangles));
    }
}

} // namespace wrappers
