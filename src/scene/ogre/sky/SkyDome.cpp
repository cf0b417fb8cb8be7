#include "scene/ogre/sky/SkyDome.h"

#include <cmath>

#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreSceneNode.h>

#include "scene/ogre/sky/GradientLayout.h"
#include "scene/ogre/sky/SkyObjects.h"

namespace caelum {

namespace {

const char* const kMaterial = "CaelumSkyDome";
const int kSegments = 32;

// Rings close together near the horizon, where the colours change most; the
// part under the horizon takes the horizon's colour.
std::vector<float> DomeElevations()
{
    std::vector<float> elevations = {-90.0f, -45.0f, -20.0f, -8.0f, -2.0f};
    const int rings = 16;
    for (int ring = 0; ring <= rings; ++ring)
        elevations.push_back(90.0f * std::pow(static_cast<float>(ring) / rings, 1.5f));
    return elevations;
}

// How much of the haze colour a point gets: a bright glow close to the sun and
// a wide one along the horizon on the sun's side.
float Haze(const Ogre::Vector3& direction, const Ogre::Vector3& sunDirection)
{
    const float towards = std::max(0.0f, direction.dotProduct(sunDirection));
    const float low = 1.0f - std::clamp(direction.y, 0.0f, 1.0f);
    return 0.6f * std::pow(towards, 24.0f) + 0.35f * std::pow(towards, 3.0f) * low * low;
}

} // namespace

SkyDome::SkyDome(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup)
    : m_SceneMgr(sceneMgr), m_ResourceGroup(resourceGroup),
      m_Material(GetSkyMaterial(kMaterial, resourceGroup)), m_Node(skyNode->createChildSceneNode()),
      m_Object(CreateSkyObject(*sceneMgr, *m_Node, Ogre::RENDER_QUEUE_SKIES_EARLY, 10, true))
{
    update(Ogre::Vector3::UNIT_Y, Ogre::ColourValue::Black);
}

SkyDome::~SkyDome()
{
    m_SceneMgr->destroyManualObject(m_Object);
    m_SceneMgr->destroySceneNode(m_Node);
}

void SkyDome::update(const Ogre::Vector3& sunDirection, const Ogre::ColourValue& hazeColour)
{
    static const std::vector<float> elevations = DomeElevations();
    const float u = GradientU(sunDirection.y);
    WriteSkySphere(*m_Object, kMaterial, m_ResourceGroup, elevations, kSegments,
                   [&](Ogre::ManualObject& object, const Ogre::Vector3& direction, float) {
                       Ogre::ColourValue haze = Ogre::ColourValue::Black;
                       if (m_HazeEnabled)
                           haze = hazeColour * Haze(direction, sunDirection);
                       haze.a = 1.0f;
                       object.colour(haze);
                       object.textureCoord(u, GradientV(direction.y));
                   });
}

} // namespace caelum
