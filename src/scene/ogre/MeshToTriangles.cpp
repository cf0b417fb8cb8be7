#include "scene/ogre/MeshToTriangles.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "graphics/ogre/MeshGeometry.h"

namespace wrappers {

namespace {

void AppendBits(std::string& key, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char text[10];
    std::snprintf(text, sizeof text, ",%08x", static_cast<unsigned>(bits));
    key += text;
}

// The mesh's name and the placement; the sub-mesh's number goes after it.
std::string PlacementKey(const Ogre::Mesh& mesh, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                         const Ogre::Vector3& scale)
{
    std::string key = mesh.getName() + "@";
    for (float value : {position.x, position.y, position.z, rotation.w, rotation.x, rotation.y, rotation.z, scale.x,
                        scale.y, scale.z})
        AppendBits(key, value);
    return key;
}

} // namespace

std::string TriangleMeshKey(const Ogre::Mesh& mesh, std::size_t subMesh, const Ogre::Vector3& position,
                            const Ogre::Quaternion& rotation, const Ogre::Vector3& scale)
{
    return PlacementKey(mesh, position, rotation, scale) + "#" + std::to_string(subMesh);
}

void MeshToTriangles(const Ogre::Mesh& mesh, CTriangleMeshes& output, const Ogre::Vector3& position,
                     const Ogre::Quaternion& rotation, const Ogre::Vector3& scale, const sds::CIsBaked& isBaked)
{
    const std::string placement = PlacementKey(mesh, position, rotation, scale);
    std::vector<std::string> keys;
    bool wanted = false;
    for (std::size_t i = 0; i < mesh.getNumSubMeshes(); ++i) {
        keys.push_back(placement + "#" + std::to_string(i));
        if (isBaked && isBaked(keys.back()))
            keys.back().clear();
        else
            wanted = true;
    }
    if (!wanted)
        return;

    const CMeshGeometry geometry = ReadMeshGeometry(mesh);
    std::vector<std::vector<sds::CVector>> placed(geometry.m_Sources.size());
    for (std::size_t s = 0; s < geometry.m_Sources.size(); ++s) {
        placed[s].reserve(geometry.m_Sources[s].m_Positions.size());
        for (const Ogre::Vector3& p : geometry.m_Sources[s].m_Positions) {
            const Ogre::Vector3 world = rotation * (p * scale) + position;
            placed[s].emplace_back(world.x, world.y, world.z);
        }
    }
    for (std::size_t i = 0; i < geometry.m_SubMeshes.size() && i < keys.size(); ++i) {
        if (keys[i].empty())
            continue;
        const CMeshGeometry::CSubMesh& sub = geometry.m_SubMeshes[i];
        auto triangles = std::make_shared<sds::CTriangleMesh>();
        triangles->m_MaterialName = sub.m_Material;
        triangles->m_Vertices = placed[sub.m_Source];
        triangles->m_Indices = sub.m_Indices;
        triangles->m_Key = keys[i];
        output.push_back(std::move(triangles));
    }
}

} // namespace wrappers
