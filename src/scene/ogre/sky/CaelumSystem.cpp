#include "scene/ogre/sky/CaelumSystem.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreViewport.h>

#include "scene/ogre/sky/Astronomy.h"

namespace caelum {

namespace {

// Without a solar-system model the sun stands 45 degrees high in the south.
const Ogre::Vector3 kFixedSunDirection = Ogre::Vector3(0.0f, 1.0f, 1.0f).normalisedCopy();
// Without a sky colour model: a clear day.
const Ogre::ColourValue kPlainSunLight(1.0f, 0.97f, 0.9f);
const Ogre::ColourValue kPlainHorizon(0.7f, 0.78f, 0.88f);
const Ogre::ColourValue kPlainZenith(0.25f, 0.45f, 0.8f);
// The sky's own fog density is 1: the multiplier sets the scene's.
const float kSceneFogDensity = 1.0f;
// The sky's radius within the camera's far clip, and without one.
const float kRadiusOfFarClip = 0.9f;
const float kRadiusWithoutFarClip = 100000.0f;

// The stars come out as the sun sinks below the horizon.
float StarBrightness(float sunHeight)
{
    return Ogre::Math::Clamp((-sunHeight - 0.02f) / 0.15f, 0.0f, 1.0f);
}

Ogre::ColourValue Opaque(Ogre::ColourValue colour)
{
    colour.saturate();
    colour.a = 1.0f;
    return colour;
}

} // namespace

CaelumSystem::CaelumSystem(Ogre::SceneManager* sceneMgr, unsigned componentMask, bool manageResourceGroup,
                           const std::string& resourceGroup)
    : m_SceneMgr(sceneMgr), m_ResourceGroup(resourceGroup),
      m_SkyNode(sceneMgr->getRootSceneNode()->createChildSceneNode()), m_SunDirection(kFixedSunDirection)
{
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    try {
        if (manageResourceGroup && !groups.resourceGroupExists(resourceGroup))
            groups.createResourceGroup(resourceGroup);
        if (componentMask & CAELUM_COMPONENT_SKY_COLOUR_MODEL)
            m_SkyColourModel.reset(new SkyColourModel(resourceGroup));
        if (componentMask & CAELUM_COMPONENT_SOLAR_SYSTEM_MODEL)
            m_SolarSystemModel.reset(new SolarSystemModel());
        if (componentMask & CAELUM_COMPONENT_SKY_DOME)
            m_SkyDome.reset(new SkyDome(sceneMgr, m_SkyNode, resourceGroup));
        if (componentMask & CAELUM_COMPONENT_STARFIELD)
            m_Starfield.reset(new Starfield(sceneMgr, m_SkyNode, resourceGroup));
        if (componentMask & CAELUM_COMPONENT_SUN)
            m_Sun.reset(new Sun(sceneMgr, m_SkyNode, resourceGroup));
        if (componentMask & CAELUM_COMPONENT_CLOUDS)
            m_Clouds.reset(new CloudLayer(sceneMgr, m_SkyNode, resourceGroup));
    } catch (...) {
        m_Clouds.reset();
        m_Sun.reset();
        m_Starfield.reset();
        m_SkyDome.reset();
        m_SceneMgr->destroySceneNode(m_SkyNode);
        throw;
    }
}

CaelumSystem::~CaelumSystem()
{
    m_GroundFog.reset();
    m_Clouds.reset();
    m_Sun.reset();
    m_Starfield.reset();
    m_SkyDome.reset();
    m_SceneMgr->destroySceneNode(m_SkyNode);
}

void CaelumSystem::setGroundFog(std::unique_ptr<GroundFog> groundFog)
{
    m_GroundFog = std::move(groundFog);
    if (m_GroundFog)
        m_GroundFog->update(m_FogColour);
}

void CaelumSystem::notifyCameraChanged(Ogre::Camera* camera)
{
    m_SkyNode->setPosition(camera->getDerivedPosition());
    const float farClip = camera->getFarClipDistance();
    const float radius = std::max(farClip > 0.0f ? farClip * kRadiusOfFarClip : kRadiusWithoutFarClip,
                                  camera->getNearClipDistance() * 10.0f);
    m_SkyNode->setScale(Ogre::Vector3(radius));
}

void CaelumSystem::preViewportUpdate(const Ogre::RenderTargetViewportEvent& event)
{
    Ogre::Camera* camera = event.source->getCamera();
    if (camera && camera->getSceneManager() == m_SceneMgr)
        notifyCameraChanged(camera);
}

void CaelumSystem::updateSubcomponents(float timeSinceLastFrame)
{
    if (m_Clock.update(timeSinceLastFrame))
        redraw();
    if (m_Clouds)
        m_Clouds->update(timeSinceLastFrame * m_Clock.getTimeScale(), m_CloudColour);
}

void CaelumSystem::redraw()
{
    const double julianDay = m_Clock.getJulianDay();
    if (m_SolarSystemModel)
        m_SunDirection = m_SolarSystemModel->getSunDirection(julianDay);
    const float sunHeight = m_SunDirection.y;
    const Ogre::ColourValue sunLight = m_SkyColourModel ? m_SkyColourModel->getSunLightColour(sunHeight) : kPlainSunLight;
    const Ogre::ColourValue horizon = m_SkyColourModel ? m_SkyColourModel->getFogColour(sunHeight) : kPlainHorizon;
    const Ogre::ColourValue zenith = m_SkyColourModel ? m_SkyColourModel->getSkyColour(sunHeight, 1.0f) : kPlainZenith;

    if (m_SkyDome)
        m_SkyDome->update(m_SunDirection, sunLight * 0.6f);
    if (m_Sun)
        m_Sun->update(m_SunDirection, sunLight);
    if (m_Starfield) {
        const float longitude = m_SolarSystemModel ? m_SolarSystemModel->getObserverLongitude() : 0.0f;
        m_Starfield->update(Ogre::Radian(static_cast<float>(LocalSiderealAngle(julianDay, longitude))),
                            StarBrightness(sunHeight));
    }
    // Clouds in the sunlight, and in the sky's own light around them.
    m_CloudColour = Opaque(sunLight * 0.85f + horizon * 0.35f);
    m_FogColour = horizon;
    if (m_GroundFog)
        m_GroundFog->update(horizon);
    if (m_ManageSceneFog)
        m_SceneMgr->setFog(Ogre::FOG_EXP2, horizon, kSceneFogDensity * m_SceneFogDensityMultiplier);
    if (m_ManageAmbientLight) {
        // The light of the whole sky: the sunlight and the blue above.
        const Ogre::ColourValue multiplier = m_Sun ? m_Sun->getAmbientMultiplier() : Ogre::ColourValue::White;
        m_SceneMgr->setAmbientLight(Opaque((sunLight + zenith) * multiplier));
    }
}

} // namespace caelum
