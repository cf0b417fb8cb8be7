#include "graphics/ogre/Dial.h"

#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreRoot.h>

#include "core/Helpers.h"
#include "graphics/DialDesc.h"
#include "graphics/ogre/OgreConvert.h"

namespace wrappers {

namespace {

void Place(Ogre::SceneNode* node, const sds::CDialPartDesc& desc, const sds::CVector& offset)
{
    node->setPosition(ToOgre(desc.m_Position + offset));
    node->setOrientation(ToOgre(desc.m_Orientation));
    node->setScale(ToOgre(desc.m_Scale));
}

} // namespace

CDial::CDial(Ogre::SceneManager* sceneManager, const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
             const xml::CNodePtr& needle, const sds::CVector& position, const std::weak_ptr<const bool>& scene)
    : m_pSceneManager(sceneManager), m_Scene(scene)
{
    const sds::CRenderTargetDesc target = sds::CRenderTargetDesc::Read(renderTarget);
    const sds::CDialPartDesc face = sds::CDialPartDesc::Read(dial);
    const sds::CDialPartDesc arrow = sds::CDialPartDesc::Read(needle);

    Ogre::SceneNode* root = m_pSceneManager->getRootSceneNode();
    m_pFaceEntity = CreateQuad("FaceDial", face.m_Material);
    m_pFaceNode = root->createChildSceneNode();
    Place(m_pFaceNode, face, position);
    m_pFaceNode->attachObject(m_pFaceEntity);

    m_pNeedleEntity = CreateQuad("NeedleDial", arrow.m_Material);
    m_pNeedlePivotNode = root->createChildSceneNode(ToOgre(position));
    m_pNeedleNode = m_pNeedlePivotNode->createChildSceneNode();
    Place(m_pNeedleNode, arrow, sds::CVector::ZERO);
    m_pNeedleNode->attachObject(m_pNeedleEntity);

    m_RTT = std::make_unique<COgreRTT>(m_pSceneManager, target, target.m_CameraPos + position, false, m_Scene);
}

Ogre::Entity* CDial::CreateQuad(const std::string& entityPrefix, const std::string& material)
{
    const std::string mesh = sds::MakeUniqueName("DialQuad");
    Ogre::MeshManager::getSingleton().createPlane(
        mesh, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::Plane(Ogre::Vector3::UNIT_Y, 0.0f), 1.0f,
        1.0f, 1, 1, true, 1, 1.0f, 1.0f, Ogre::Vector3::UNIT_Z, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY,
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true, true);
    m_QuadMeshes.push_back(mesh);
    Ogre::Entity* entity = m_pSceneManager->createEntity(sds::MakeUniqueName(entityPrefix) + ".Entity", mesh);
    entity->setMaterialName(material);
    return entity;
}

CDial::~CDial()
{
    m_RTT.reset();
    if (!Ogre::Root::getSingletonPtr())
        return;
    // A scene reset took the nodes and entities along already.
    if (!m_Scene.expired()) {
        m_pFaceNode->detachAllObjects();
        m_pNeedleNode->detachAllObjects();
        m_pSceneManager->destroyEntity(m_pNeedleEntity);
        m_pSceneManager->destroyEntity(m_pFaceEntity);
        m_pSceneManager->destroySceneNode(m_pFaceNode);
        m_pSceneManager->destroySceneNode(m_pNeedleNode);
        m_pSceneManager->destroySceneNode(m_pNeedlePivotNode);
    }
    for (const std::string& mesh : m_QuadMeshes)
        Ogre::MeshManager::getSingleton().remove(mesh, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
}

void CDial::SetValue(float degrees)
{
    m_Value = degrees;
    if (m_Scene.expired())
        return;
    m_pNeedlePivotNode->resetOrientation();
    m_pNeedlePivotNode->yaw(Ogre::Degree(degrees), Ogre::Node::TS_LOCAL);
}

} // namespace wrappers
