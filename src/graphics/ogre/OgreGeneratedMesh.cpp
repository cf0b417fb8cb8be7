#include "graphics/ogre/OgreGeneratedMesh.h"

#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreMath.h>

#include "graphics/ogre/OgreConvert.h"

namespace wrappers {

namespace {

Ogre::HardwareVertexBufferSharedPtr MakeVertexBuffer(const std::vector<float>& data, std::size_t floatsPerVertex,
                                                     bool shadowBuffer)
{
    Ogre::HardwareVertexBufferSharedPtr buffer = Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
        floatsPerVertex * sizeof(float), data.size() / floatsPerVertex, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY,
        shadowBuffer);
    buffer->writeData(0, buffer->getSizeInBytes(), data.data(), true);
    return buffer;
}

} // namespace

Ogre::SubMesh* CreateGeneratedSubMesh(Ogre::Mesh& mesh, const std::vector<float>& vertices,
                                      const std::vector<float>& texCoords, bool shadowBuffers)
{
    Ogre::SubMesh* sub = mesh.createSubMesh();
    sub->useSharedVertices = false;
    sub->operationType = Ogre::RenderOperation::OT_TRIANGLE_LIST;
    sub->vertexData = new Ogre::VertexData();
    sub->vertexData->vertexStart = 0;
    sub->vertexData->vertexCount = texCoords.size() / 2;
    Ogre::VertexDeclaration* declaration = sub->vertexData->vertexDeclaration;
    declaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration->addElement(0, 12, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    declaration->addElement(1, 0, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
    Ogre::VertexBufferBinding* binding = sub->vertexData->vertexBufferBinding;
    binding->setBinding(0, MakeVertexBuffer(vertices, 6, shadowBuffers));
    binding->setBinding(1, MakeVertexBuffer(texCoords, 2, shadowBuffers));
    // Blend data added later follows the same rules.
    mesh.setVertexBufferPolicy(Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, shadowBuffers);
    mesh.setIndexBufferPolicy(Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, shadowBuffers);
    return sub;
}

void SetGeneratedBounds(Ogre::Mesh& mesh, const sds::CBoundingBox& bounds)
{
    const Ogre::AxisAlignedBox box(ToOgre(bounds.m_Min), ToOgre(bounds.m_Max));
    mesh._setBounds(box, false);
    // The engine's sphere is centred on the mesh's origin, not on the box.
    mesh._setBoundingSphereRadius(Ogre::Math::boundingRadiusFromAABB(box));
}

} // namespace wrappers
