#include "scene/ogre/SkyBox.h"

#include <stdexcept>

#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreTechnique.h>

#include "scene/ogre/SkyBoxFaces.h"

namespace wrappers {

namespace {

const char* const kNodeName = "CustomSkyBoxNode";
const char* const kEntityPrefix = "CustomSkyBoxPlane";
const Ogre::ushort kPriority = 100;

Ogre::Vector3 Vector(const float (&xyz)[3])
{
    return Ogre::Vector3(xyz[0], xyz[1], xyz[2]);
}

// The face's plane at the distance from the origin, facing it; a mesh of the
// same name from an earlier sky box is replaced.
Ogre::MeshPtr FaceMesh(int index, float distance, const Ogre::Quaternion& orientation, const std::string& group)
{
    const CSkyBoxFace& face = kSkyBoxFaces[index];
    const std::string name = std::string("SkyBoxPlane_") + face.m_Word;
    Ogre::Plane plane;
    plane.normal = orientation * Vector(face.m_Normal);
    plane.d = distance;
    const Ogre::Vector3 up = orientation * Vector(face.m_Up);
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (meshes.resourceExists(name, group))
        meshes.remove(name, group);
    return meshes.createPlane(name, group, plane, 2 * distance, 2 * distance, 1, 1, false, 1, 1, 1, up,
                              Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY,
                              Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true, true);
}

Ogre::TextureUnitState* FirstTextureUnit(const Ogre::MaterialPtr& material)
{
    Ogre::Pass* pass = material->getBestTechnique()->getPass(0);
    return pass->getNumTextureUnitStates() > 0 ? pass->getTextureUnitState(0) : nullptr;
}

} // namespace

CSkyBox::CSkyBox(const std::string& material, float distance, Ogre::SceneManager* sceneMgr)
    : m_Node(nullptr), m_SceneMgr(sceneMgr)
{
    // Checked before anything is made, so that a failed sky box leaves no
    // node behind to clash with the next one's name.
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr sky = materials.getByName(material);
    if (!sky)
        throw std::runtime_error("Sky box material not found: " + material);
    sky->setDepthWriteEnabled(false);
    sky->load();
    if (Ogre::TextureUnitState* unit = FirstTextureUnit(sky))
        unit->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);

    // Hung under no parent: the faces are drawn only where renderQueueStarted queues them.
    m_Node = m_SceneMgr->createSceneNode(kNodeName);
    const std::string& group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;
    try {
        for (int i = 0; i < kFaces; ++i) {
            const Ogre::MeshPtr mesh = FaceMesh(i, distance, Ogre::Quaternion::IDENTITY, group);
            const std::string name = kEntityPrefix + std::to_string(i);
            if (m_Faces[i])
                m_SceneMgr->destroyEntity(name);
            m_Faces[i] = m_SceneMgr->createEntity(name, mesh);
            m_Faces[i]->setCastShadows(false);

            Ogre::MaterialPtr face = materials.getByName(name);
            if (!face)
                face = sky->clone(name);
            else
                sky->copyDetailsTo(face);
            face->load();
            face->getBestTechnique()->getPass(0)->setFog(true, Ogre::FOG_NONE, Ogre::ColourValue::White, 0.001f, 0, 1);
            Ogre::TextureUnitState* unit = FirstTextureUnit(face);
            if (unit && static_cast<unsigned>(i) < unit->getNumFrames())
                unit->setCurrentFrame(i);
            m_Faces[i]->setMaterial(face);
            m_Node->attachObject(m_Faces[i]);
        }
    } catch (...) {
        DestroyScene();
        throw;
    }
    // The early sky group must exist for its listeners to be called.
    m_SceneMgr->getRenderQueue()->getQueueGroup(Ogre::RENDER_QUEUE_SKIES_EARLY);
    m_SceneMgr->addRenderQueueListener(this);
}

CSkyBox::~CSkyBox()
{
    m_SceneMgr->removeRenderQueueListener(this);
    DestroyScene();
}

void CSkyBox::DestroyScene()
{
    m_Node->detachAllObjects();
    for (Ogre::Entity*& face : m_Faces)
        if (face) {
            m_SceneMgr->destroyEntity(face);
            face = nullptr;
        }
    m_SceneMgr->destroySceneNode(kNodeName);
}

void CSkyBox::renderQueueStarted(Ogre::uint8 queueGroupId, const Ogre::String&, bool&)
{
    if (queueGroupId != Ogre::RENDER_QUEUE_SKIES_EARLY)
        return;
    Ogre::RenderQueue* queue = m_SceneMgr->getRenderQueue();
    for (Ogre::Entity* face : m_Faces)
        queue->addRenderable(face->getSubEntity(0), Ogre::RENDER_QUEUE_SKIES_EARLY, kPriority);
}

} // namespace wrappers
