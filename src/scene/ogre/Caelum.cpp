#include "scene/ogre/Caelum.h"

#include <OGRE/OgreStringConverter.h>

#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "scene/ogre/CaelumDesc.h"

namespace wrappers {

namespace {

// The sky's pictures and materials.
const char* const kResourceGroup = "Caelum";
const char* const kGroundFogDome = "CaelumGroundFogDome";

Ogre::ColourValue Colour(const sds::CVector& rgb)
{
    return Ogre::ColourValue(rgb.x, rgb.y, rgb.z, 1.0f);
}

void LogSunValues(const caelum::Sun& sun)
{
    sds::ILogMgr* log = sds::ILogMgr::GetSingleton();
    if (!log)
        return;
    const Ogre::Light& light = *sun.getMainLight();
    log->LogMessage("Light color: " + Ogre::StringConverter::toString(sun.getLightColour()));
    log->LogMessage("Light direction: " + Ogre::StringConverter::toString(sun.getLightDirection()));
    log->LogMessage("Light dif color: " + Ogre::StringConverter::toString(light.getDiffuseColour()));
    log->LogMessage("Light spec color: " + Ogre::StringConverter::toString(light.getSpecularColour()));
}

} // namespace

CCaelum::CCaelum(const xml::CNodePtr& conf, COgreGfxMgr* gfxMgr) : m_GfxMgr(gfxMgr)
{
    SDS_ASSERT(conf && gfxMgr && "The sky needs its configuration and the graphics manager");
    const CCaelumDesc desc = ReadCaelumDesc(*conf);
    if (!desc.m_Enabled)
        return;

    m_System.reset(new caelum::CaelumSystem(m_GfxMgr->GetSceneManager(), desc.m_Components, true, kResourceGroup));
    caelum::CaelumSystem& system = *m_System;
    system.setManageSceneFog(desc.m_ManageSceneFog);
    system.setSceneFogDensityMultiplier(desc.m_SceneFogDensityMultiplier);
    system.setManageAmbientLight(desc.m_ManageAmbientLight);
    if (caelum::Sun* sun = system.getSun()) {
        sun->setAmbientMultiplier(Colour(desc.m_SunAmbientMultiplier));
        sun->setDiffuseMultiplier(Colour(desc.m_SunDiffuseMultiplier));
        sun->setSpecularMultiplier(Colour(desc.m_SunSpecularMultiplier));
        sun->setAutoDisable(desc.m_SunAutoDisable);
        sun->setAutoDisableThreshold(desc.m_SunAutoDisableThreshold);
    }
    SetGroundFogEnabled(desc.m_GroundFogEnabled);
    if (caelum::SkyDome* dome = system.getSkyDome())
        dome->setHazeEnabled(desc.m_HazeEnabled);
    if (caelum::CloudLayer* clouds = system.getClouds()) {
        clouds->setCloudSpeed(Ogre::Vector2(desc.m_CloudSpeed.x, desc.m_CloudSpeed.y));
        clouds->setCloudBlendTime(desc.m_CloudBlendTime);
        clouds->setCloudCover(desc.m_CloudCover);
    }
    if (caelum::Starfield* stars = system.getStarfield())
        stars->setInclination(Ogre::Degree(desc.m_StarfieldInclination));

    caelum::UniversalClock& clock = system.getUniversalClock();
    clock.setTimeScale(desc.m_TimeScale);
    clock.setUpdateRate(desc.m_UpdateRate);
    clock.setGregorianDateTime(desc.m_Year, desc.m_Month, desc.m_Day, desc.m_Hour - desc.m_TimeZone,
                               desc.m_Minutes, desc.m_Seconds);
    if (caelum::SolarSystemModel* solarSystem = system.getSolarSystemModel()) {
        solarSystem->setObserverLongitude(desc.m_ObserverLongitude);
        solarSystem->setObserverLatitude(desc.m_ObserverLatitude);
    }

    m_GfxMgr->GetRenderWindow()->addListener(&system);
    system.updateSubcomponents(0.001f);
    if (desc.m_PrintSunValues && system.getSun())
        LogSunValues(*system.getSun());
}

CCaelum::~CCaelum()
{
    if (m_System)
        m_GfxMgr->GetRenderWindow()->removeListener(m_System.get());
}

void CCaelum::SetGroundFogEnabled(bool enabled)
{
    if (!m_System || enabled == (m_System->getGroundFog() != nullptr))
        return;
    std::unique_ptr<caelum::GroundFog> fog;
    if (enabled) {
        fog.reset(new caelum::GroundFog(m_System->getSceneManager(), m_System->getCaelumCameraNode(), kGroundFogDome,
                                        kGroundFogDome));
        fog->findFogPassesByName();
    }
    m_System->setGroundFog(std::move(fog));
}

} // namespace wrappers
