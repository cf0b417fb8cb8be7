#include "scene/ogre/sky/CloudLayer.h"

#include <cmath>

#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreTechnique.h>

#include "scene/ogre/sky/SkyObjects.h"

namespace caelum {

namespace {

const char* const kMaterial = "CaelumClouds";
// The layer lies flat at this height over the camera, in units of the sky's
// radius; one cloud picture spans this much of it.
const float kLayerHeight = 0.1f;
const float kPictureSpan = 0.5f;
// Below this elevation (degrees) the layer is too thin to draw; it fades in up to the next.
const float kLowestElevation = 2.0f;
const float kFadedInElevation = 12.0f;

// The texture units of the cloud pass, in the order the material lists them.
enum CloudUnit { kFirstPicture, kSecondPicture, kCover, kOpacity };

} // namespace

CloudLayer::CloudLayer(Ogre::SceneManager* sceneMgr, Ogre::SceneNode* skyNode, const std::string& resourceGroup)
    : m_SceneMgr(sceneMgr), m_ResourceGroup(resourceGroup), m_Material(GetSkyMaterial(kMaterial, resourceGroup)),
      m_Object(CreateSkyObject(*sceneMgr, *skyNode, Ogre::RENDER_QUEUE_SKIES_EARLY, 40, false))
{
    const std::vector<float> elevations = {kLowestElevation, 4, 7, 11, 16, 22, 30, 40, 52, 66, 80, 90};
    WriteSkySphere(*m_Object, kMaterial, m_ResourceGroup, elevations, 32,
                   [](Ogre::ManualObject& object, const Ogre::Vector3& direction, float) {
                       // Seen from below, a flat layer: the picture is laid on the plane.
                       const Ogre::Vector3 onLayer = direction * (kLayerHeight / direction.y);
                       const float elevation = Ogre::Math::ASin(direction.y).valueDegrees();
                       const float fade = Ogre::Math::Clamp(
                           (elevation - kLowestElevation) / (kFadedInElevation - kLowestElevation), 0.0f, 1.0f);
                       object.colour(Ogre::ColourValue(1, 1, 1, fade * fade * (3 - 2 * fade)));
                       object.textureCoord(onLayer.x / kPictureSpan, onLayer.z / kPictureSpan);
                   });
    update(0.0f, Ogre::ColourValue::White);
}

CloudLayer::~CloudLayer()
{
    m_SceneMgr->destroyManualObject(m_Object);
}

void CloudLayer::update(float skySeconds, const Ogre::ColourValue& colour)
{
    m_Offset += m_Speed * skySeconds;
    m_Offset.x = std::fmod(m_Offset.x, 1.0f);
    m_Offset.y = std::fmod(m_Offset.y, 1.0f);
    m_BlendClock += skySeconds;
    float blend = 0.0f;
    if (m_BlendTime > 0.0f) {
        const double phase = std::fmod(m_BlendClock, 2.0 * m_BlendTime) / m_BlendTime;
        blend = static_cast<float>(phase < 1.0 ? phase : 2.0 - phase);
    }

    // Colour: the light on the clouds, the thick parts darker. Opacity: the two pictures blended; what
    // lies above the share of the sky left clear shows, steeply, and fades
    // out towards the horizon with the vertices' own alpha.
    Ogre::Pass* pass = m_Material->getTechnique(0)->getPass(0);
    // (The GL render system takes LBX_SOURCE2 for LBX_SOURCE1: only the first is used.)
    const auto keepColour = [](Ogre::TextureUnitState* unit) {
        unit->setColourOperationEx(Ogre::LBX_SOURCE1, Ogre::LBS_CURRENT, Ogre::LBS_TEXTURE);
    };
    Ogre::TextureUnitState* first = pass->getTextureUnitState(kFirstPicture);
    first->setColourOperationEx(Ogre::LBX_MODULATE, Ogre::LBS_MANUAL, Ogre::LBS_TEXTURE, colour);
    first->setAlphaOperation(Ogre::LBX_SOURCE1, Ogre::LBS_TEXTURE, Ogre::LBS_CURRENT);
    first->setTextureScroll(m_Offset.x, m_Offset.y);

    Ogre::TextureUnitState* second = pass->getTextureUnitState(kSecondPicture);
    keepColour(second);
    second->setAlphaOperation(Ogre::LBX_BLEND_MANUAL, Ogre::LBS_TEXTURE, Ogre::LBS_CURRENT, 1, 1, blend);
    second->setTextureScroll(m_Offset.x, m_Offset.y);

    Ogre::TextureUnitState* cover = pass->getTextureUnitState(kCover);
    keepColour(cover);
    cover->setAlphaOperation(Ogre::LBX_SUBTRACT, Ogre::LBS_CURRENT, Ogre::LBS_MANUAL, 1,
                             1.0f - Ogre::Math::Clamp(m_Cover, 0.0f, 1.0f));

    Ogre::TextureUnitState* opacity = pass->getTextureUnitState(kOpacity);
    keepColour(opacity);
    opacity->setAlphaOperation(Ogre::LBX_MODULATE_X4, Ogre::LBS_CURRENT, Ogre::LBS_DIFFUSE);
    m_Object->setVisible(m_Cover > 0.0f);
}

} // namespace caelum
