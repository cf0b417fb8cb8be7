#include "graphics/ogre/OgreTriangle.h"

#include <cstdint>

#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreSubMesh.h>

#include "core/Helpers.h"
#include "graphics/ogre/OgreGeneratedMesh.h"
#include "graphics/ogre/OgreGfxMgr.h"

namespace wrappers {

COgreTriangle::COgreTriangle(Ogre::SceneNode* node, const sds::CVector& a, const sds::CVector& b,
                             const sds::CVector& c, const sds::CFourFloats& colour)
    : COgreGfxObjBase(node), m_Geometry(a, b, c), m_MeshName(sds::MakeUniqueName("TriangleMesh"))
{
    const std::string& group = Ogre::ResourceGroupManager::getSingleton().getWorldResourceGroupName();
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(m_MeshName, group, this);
    OwnResource(mesh);
    mesh->load();
    SetEntity(COgreGfxMgr::Get().CreateEntity(sds::MakeUniqueName("Triangle"), m_MeshName, ""));
    SetMaterial("Triangle", true);
    SetSubEntityColour(0, colour);
}

void COgreTriangle::loadResource(Ogre::Resource* resource)
{
    Ogre::Mesh* mesh = static_cast<Ogre::Mesh*>(resource);
    std::vector<float> vertices;
    for (const sds::CVector& corner : m_Geometry.m_Corners) {
        const sds::CVector& n = m_Geometry.m_Normal;
        vertices.insert(vertices.end(), {corner.x, corner.y, corner.z, n.x, n.y, n.z});
    }
    const std::vector<float> texCoords = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f};
    Ogre::SubMesh* sub = CreateGeneratedSubMesh(*mesh, vertices, texCoords, false);

    const std::uint32_t indices[3] = {0, 1, 2};
    Ogre::HardwareIndexBufferSharedPtr buffer = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        Ogre::HardwareIndexBuffer::IT_32BIT, 3, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    buffer->writeData(0, buffer->getSizeInBytes(), indices, true);
    sub->indexData->indexBuffer = buffer;
    sub->indexData->indexStart = 0;
    sub->indexData->indexCount = 3;
    SetGeneratedBounds(*mesh, m_Geometry.m_Bounds);
}

} // namespace wrappers
