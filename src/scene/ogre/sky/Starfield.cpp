#include "scene/ogre/sky/Starfield.h"

#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreTechnique.h>

#include "scene/ogre/sky/SkyObjects.h"

namespace caelum {

namespace {

const char* const kMaterial = "CaelumStarfield";

} // namespace

Starfield::Starfield(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup)
    : m_SceneMgr(sceneMgr), m_ResourceGroup(resourceGroup),
      m_Material(GetSkyMaterial(kMaterial, resourceGroup)), m_Node(skyNode->createChildSceneNode()),
      m_Object(CreateSkyObject(*sceneMgr, *m_Node, Ogre::RENDER_QUEUE_SKIES_EARLY, 20, false))
{
    std::vector<float> elevations;
    for (int elevation = -90; elevation <= 90; elevation += 10)
        elevations.push_back(static_cast<float>(elevation));
    // The star picture wraps the sphere once: across by azimuth, down from the
    // pole over the star sphere's own zenith.
    WriteSkySphere(*m_Object, kMaterial, m_ResourceGroup, elevations, 36,
                   [](Ogre::ManualObject& object, const Ogre::Vector3& direction, float around) {
                       object.textureCoord(around, 0.5f - Ogre::Math::ASin(direction.y).valueDegrees() / 180.0f);
                   });
    update(Ogre::Radian(0.0f), 0.0f);
}

Starfield::~Starfield()
{
    m_SceneMgr->destroyManualObject(m_Object);
    m_SceneMgr->destroySceneNode(m_Node);
}

void Starfield::update(Ogre::Radian siderealAngle, float brightness)
{
    const Ogre::Quaternion tilt(-m_Inclination, Ogre::Vector3::UNIT_X);
    const Ogre::Quaternion spin(siderealAngle, Ogre::Vector3::UNIT_Y);
    m_Node->setOrientation(tilt * spin);

    m_Brightness = Ogre::Math::Clamp(brightness, 0.0f, 1.0f);
    m_Object->setVisible(m_Brightness > 0.0f);
    const Ogre::ColourValue shade(m_Brightness, m_Brightness, m_Brightness);
    m_Material->getTechnique(0)->getPass(0)->getTextureUnitState(0)->setColourOperationEx(
        Ogre::LBX_MODULATE, Ogre::LBS_TEXTURE, Ogre::LBS_MANUAL, Ogre::ColourValue::White, shade);
}

} // namespace caelum
