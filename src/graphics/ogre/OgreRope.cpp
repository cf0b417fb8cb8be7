#include "graphics/ogre/OgreRope.h"

#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreBone.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreSkeleton.h>
#include <OGRE/OgreSkeletonManager.h>
#include <OGRE/OgreSubMesh.h>

#include "core/Helpers.h"
#include "graphics/ogre/OgreConvert.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "graphics/ogre/OgreGeneratedMesh.h"

namespace wrappers {

COgreRope::COgreRope(const sds::CGfxObjPtr& parent, Ogre::SceneNode* node, float length, float width,
                     unsigned segments)
    : COgreGfxObjBase(parent, node),
      m_Geometry(length, width, segments),
      // The counter ends the name, so that no two segment counts can meet in one name.
      m_MeshName(sds::MakeUniqueName("RopeMesh" + sds::ToString(segments)))
{
    const std::string& group = Ogre::ResourceGroupManager::getSingleton().getWorldResourceGroupName();
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(m_MeshName, group, this);
    OwnResource(mesh);
    mesh->load();
    OwnResource(mesh->getSkeleton());

    Ogre::Entity* entity = COgreGfxMgr::Get().CreateEntity(sds::MakeUniqueName("Rope"), m_MeshName, "");
    entity->setMaterialName("Rope");
    entity->setUpdateBoundingBoxFromSkeleton(true);
    SetEntity(entity);
    BuildSkeletonView();
    for (const sds::CJointPtr& joint : GetSkeleton()->GetJoints())
        joint->SetManuallyControlled(true);
}

void COgreRope::loadResource(Ogre::Resource* resource)
{
    Ogre::Mesh* mesh = static_cast<Ogre::Mesh*>(resource);
    const std::string& group = mesh->getGroup();
    Ogre::SubMesh* sub = CreateGeneratedSubMesh(*mesh, m_Geometry.m_Vertices, m_Geometry.m_TexCoords, true);

    Ogre::HardwareIndexBufferSharedPtr indices = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        Ogre::HardwareIndexBuffer::IT_16BIT, m_Geometry.m_Indices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY,
        true);
    indices->writeData(0, indices->getSizeInBytes(), m_Geometry.m_Indices.data(), true);
    sub->indexData->indexBuffer = indices;
    sub->indexData->indexStart = 0;
    sub->indexData->indexCount = m_Geometry.m_Indices.size();

    Ogre::SkeletonPtr skeleton = Ogre::SkeletonManager::getSingleton().create(m_MeshName + "_skeleton", group, true);
    for (std::size_t handle = 0; handle < m_Geometry.m_Bones.size(); ++handle) {
        const sds::CRopeGeometry::CBone& desc = m_Geometry.m_Bones[handle];
        Ogre::Bone* bone = skeleton->createBone(desc.m_Name, static_cast<unsigned short>(handle));
        if (desc.m_Parent >= 0)
            skeleton->getBone(static_cast<unsigned short>(desc.m_Parent))->addChild(bone);
        bone->setPosition(ToOgre(desc.m_Pos));
    }
    skeleton->setBindingPose();
    mesh->_notifySkeleton(skeleton);
    for (const sds::CRopeGeometry::CWeight& weight : m_Geometry.m_Weights)
        sub->addBoneAssignment(Ogre::VertexBoneAssignment{weight.m_Vertex, weight.m_Bone, weight.m_Weight});
    mesh->_compileBoneAssignments();

    SetGeneratedBounds(*mesh, m_Geometry.m_Bounds);
    mesh->_setBoneBoundingRadius(m_Geometry.m_BoneRadius);
}

} // namespace wrappers
