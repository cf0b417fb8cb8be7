#include "graphics/ogre/MeshGeometry.h"

#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreSubMesh.h>

namespace wrappers {

namespace {

// Reads one element of every vertex, as `count` floats, through `store`.
template <class Store>
void ReadElement(const Ogre::VertexData& data, Ogre::VertexElementSemantic semantic, Store&& store)
{
    const Ogre::VertexElement* element = data.vertexDeclaration->findElementBySemantic(semantic);
    if (!element)
        return;
    const Ogre::HardwareVertexBufferSharedPtr buffer = data.vertexBufferBinding->getBuffer(element->getSource());
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* base = static_cast<const unsigned char*>(lock.pData) + data.vertexStart * buffer->getVertexSize();
    for (std::size_t i = 0; i < data.vertexCount; ++i) {
        float* values = nullptr;
        element->baseVertexPointerToElement(const_cast<unsigned char*>(base + i * buffer->getVertexSize()), &values);
        store(values);
    }
}

CMeshGeometry::CVertices ReadVertices(const Ogre::VertexData& data)
{
    CMeshGeometry::CVertices vertices;
    vertices.m_Positions.reserve(data.vertexCount);
    ReadElement(data, Ogre::VES_POSITION,
                [&](const float* v) { vertices.m_Positions.emplace_back(v[0], v[1], v[2]); });
    ReadElement(data, Ogre::VES_NORMAL, [&](const float* v) { vertices.m_Normals.emplace_back(v[0], v[1], v[2]); });
    ReadElement(data, Ogre::VES_TEXTURE_COORDINATES,
                [&](const float* v) { vertices.m_TexCoords.emplace_back(v[0], v[1]); });
    return vertices;
}

std::vector<std::uint32_t> ReadIndices(const Ogre::IndexData& data)
{
    std::vector<std::uint32_t> indices;
    const Ogre::HardwareIndexBufferSharedPtr& buffer = data.indexBuffer;
    if (!buffer || data.indexCount == 0)
        return indices;
    indices.reserve(data.indexCount);
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    if (buffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT) {
        const auto* values = static_cast<const std::uint32_t*>(lock.pData) + data.indexStart;
        indices.assign(values, values + data.indexCount);
    } else {
        const auto* values = static_cast<const std::uint16_t*>(lock.pData) + data.indexStart;
        indices.assign(values, values + data.indexCount);
    }
    indices.resize(indices.size() / 3 * 3);
    return indices;
}

} // namespace

CMeshGeometry ReadMeshGeometry(const Ogre::Mesh& mesh)
{
    CMeshGeometry geometry;
    std::size_t sharedSource = SIZE_MAX;
    for (const Ogre::SubMesh* sub : mesh.getSubMeshes()) {
        CMeshGeometry::CSubMesh part;
        part.m_Material = sub->getMaterialName();
        if (sub->useSharedVertices) {
            if (sharedSource == SIZE_MAX) {
                sharedSource = geometry.m_Sources.size();
                geometry.m_Sources.push_back(ReadVertices(*mesh.sharedVertexData));
            }
            part.m_Source = sharedSource;
        } else {
            part.m_Source = geometry.m_Sources.size();
            geometry.m_Sources.push_back(ReadVertices(*sub->vertexData));
        }
        if (sub->operationType == Ogre::RenderOperation::OT_TRIANGLE_LIST)
            part.m_Indices = ReadIndices(*sub->indexData);
        geometry.m_SubMeshes.push_back(std::move(part));
    }
    return geometry;
}

} // namespace wrappers
