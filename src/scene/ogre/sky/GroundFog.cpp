#include "scene/ogre/sky/GroundFog.h"

#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreTechnique.h>

#include "scene/ogre/sky/SkyObjects.h"

namespace caelum {

const char* const GroundFog::kDefaultPassName = "CaelumGroundFog";

namespace {

const char* const kDomeMesh = "CaelumGroundFogDome.mesh";
// Of the sky's radius: what lies beyond is in the fog.
const float kDomeRadius = 0.3f;
// The fog's opacity at and under the horizon; it clears up to this elevation (degrees).
const float kDomeOpacity = 0.85f;
const float kClearElevation = 15.0f;

// The dome's shape is the same for every ground fog: made once, then shared.
Ogre::MeshPtr DomeMesh(const std::string& material, const std::string& resourceGroup)
{
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (Ogre::MeshPtr mesh = meshes.getByName(kDomeMesh, resourceGroup))
        return mesh;
    Ogre::ManualObject builder(kDomeMesh);
    WriteSkySphere(builder, material, resourceGroup, {-90, -30, -10, 0, 3, 6, 10, kClearElevation}, 32,
                   [](Ogre::ManualObject& object, const Ogre::Vector3& direction, float) {
                       const float elevation = Ogre::Math::ASin(direction.y).valueDegrees();
                       const float clear = Ogre::Math::Clamp(elevation / kClearElevation, 0.0f, 1.0f);
                       object.colour(Ogre::ColourValue(1, 1, 1, 1 - clear * clear * (3 - 2 * clear)));
                   });
    return builder.convertToMesh(kDomeMesh, resourceGroup);
}

} // namespace

GroundFog::GroundFog(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& domeMaterial,
                     const std::string& domeEntity)
    : m_SceneMgr(sceneMgr), m_Material(GetSkyMaterial(domeMaterial, Ogre::RGN_AUTODETECT)),
      m_Dome(sceneMgr->createEntity(domeEntity, DomeMesh(domeMaterial, m_Material->getGroup()))),
      m_Node(skyNode->createChildSceneNode())
{
    m_Dome->setMaterial(m_Material);
    m_Dome->setCastShadows(false);
    m_Dome->setQueryFlags(0);
    // Drawn over the scene: the ground beyond the dome lies in the fog.
    m_Dome->setRenderQueueGroup(Ogre::RENDER_QUEUE_SKIES_LATE);
    m_Node->setScale(Ogre::Vector3(kDomeRadius));
    m_Node->attachObject(m_Dome);
    update(Ogre::ColourValue::White);
}

GroundFog::~GroundFog()
{
    releasePasses();
    m_SceneMgr->destroyEntity(m_Dome);
    m_SceneMgr->destroySceneNode(m_Node);
}

void GroundFog::findFogPassesByName(const std::string& passName)
{
    releasePasses();
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements()) {
        const Ogre::MaterialPtr material = Ogre::static_pointer_cast<Ogre::Material>(materials.getNext());
        for (Ogre::Technique* technique : material->getTechniques())
            for (Ogre::Pass* pass : technique->getPasses())
                if (pass->getName() == passName)
                    m_Passes.push_back(pass);
    }
}

void GroundFog::update(const Ogre::ColourValue& colour)
{
    Ogre::TextureUnitState* unit = m_Material->getTechnique(0)->getPass(0)->getTextureUnitState(0);
    unit->setColourOperationEx(Ogre::LBX_SOURCE1, Ogre::LBS_MANUAL, Ogre::LBS_CURRENT, colour);
    unit->setAlphaOperation(Ogre::LBX_MODULATE, Ogre::LBS_MANUAL, Ogre::LBS_DIFFUSE, kDomeOpacity);
    for (Ogre::Pass* pass : m_Passes)
        pass->setFog(true, Ogre::FOG_EXP2, colour, m_Density);
}

void GroundFog::releasePasses()
{
    for (Ogre::Pass* pass : m_Passes)
        pass->setFog(false);
    m_Passes.clear();
}

} // namespace caelum
