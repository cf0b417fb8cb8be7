#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <OGRE/OgreMesh.h>

namespace wrappers {

// A mesh's triangles read back from its hardware buffers. The vertex sources
// are the mesh's shared vertex data (when a sub-mesh uses it) and each other
// sub-mesh's own data, each read once.
struct CMeshGeometry
{
    struct CVertices
    {
        std::vector<Ogre::Vector3> m_Positions;
        // Empty when the source has none.
        std::vector<Ogre::Vector3> m_Normals;
        std::vector<Ogre::Vector2> m_TexCoords;
    };
    struct CSubMesh
    {
        std::string m_Material;
        // Index into m_Sources.
        std::size_t m_Source = 0;
        // Three per triangle, into the source's vertices.
        std::vector<std::uint32_t> m_Indices;
    };

    std::vector<CVertices> m_Sources;
    std::vector<CSubMesh> m_SubMeshes;
};

// Reads positions, normals, first texture coordinates and triangle-list
// indices of every sub-mesh, in sub-mesh order. Sub-meshes drawn other than
// as triangle lists give no indices.
CMeshGeometry ReadMeshGeometry(const Ogre::Mesh& mesh);

} // namespace wrappers
