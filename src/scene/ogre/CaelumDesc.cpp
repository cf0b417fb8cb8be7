#include "scene/ogre/CaelumDesc.h"

#include "scene/ogre/sky/CaelumSystem.h"

namespace wrappers {

namespace {

template <class T>
T Read(const xml::CNode& node, const char* name)
{
    return node.GetAttribute(name)->GetValue<T>();
}

} // namespace

CCaelumDesc ReadCaelumDesc(const xml::CNode& caelum)
{
    typedef caelum::CaelumSystem System;
    static const std::pair<const char*, unsigned> kComponents[] = {
        {"CAELUM_COMPONENT_SKY_COLOUR_MODEL", System::CAELUM_COMPONENT_SKY_COLOUR_MODEL},
        {"CAELUM_COMPONENT_SKY_DOME", System::CAELUM_COMPONENT_SKY_DOME},
        {"CAELUM_COMPONENT_SOLAR_SYSTEM_MODEL", System::CAELUM_COMPONENT_SOLAR_SYSTEM_MODEL},
        {"CAELUM_COMPONENT_SUN", System::CAELUM_COMPONENT_SUN},
        {"CAELUM_COMPONENT_STARFIELD", System::CAELUM_COMPONENT_STARFIELD},
        {"CAELUM_COMPONENT_CLOUDS", System::CAELUM_COMPONENT_CLOUDS},
    };

    CCaelumDesc desc;
    desc.m_Enabled = Read<bool>(caelum, "Enabled");
    if (!desc.m_Enabled)
        return desc;
    for (const auto& component : kComponents)
        if (caelum.HasChild(component.first))
            desc.m_Components |= component.second;

    desc.m_ManageSceneFog = Read<bool>(caelum, "ManageSceneFog");
    desc.m_SceneFogDensityMultiplier = Read<float>(caelum, "SceneFogDensityMultiplier");
    desc.m_ManageAmbientLight = Read<bool>(caelum, "ManageAmbientLight");
    if (desc.m_Components & System::CAELUM_COMPONENT_SUN) {
        const xml::CNodePtr sun = caelum.GetChild("Sun");
        desc.m_SunAmbientMultiplier = Read<sds::CVector>(*sun, "AmbientMultiplier");
        desc.m_SunDiffuseMultiplier = Read<sds::CVector>(*sun, "DiffuseMultiplier");
        desc.m_SunSpecularMultiplier = Read<sds::CVector>(*sun, "SpecularMultiplier");
        desc.m_SunAutoDisable = Read<bool>(*sun, "AutoDisable");
        desc.m_SunAutoDisableThreshold = Read<float>(*sun, "AutoDisableThreshold");
    }
    desc.m_GroundFogEnabled = Read<bool>(caelum, "GroundFogEnabled");
    desc.m_HazeEnabled = Read<bool>(caelum, "HazeEnabled");
    if (desc.m_Components & System::CAELUM_COMPONENT_CLOUDS) {
        const xml::CNodePtr clouds = caelum.GetChild("Clouds");
        desc.m_CloudSpeed = Read<sds::CVector>(*clouds, "Speed");
        desc.m_CloudBlendTime = Read<float>(*clouds, "BlendTime");
        desc.m_CloudCover = Read<float>(*clouds, "Cover");
    }
    if (desc.m_Components & System::CAELUM_COMPONENT_STARFIELD)
        desc.m_StarfieldInclination = Read<float>(*caelum.GetChild("SolarSystem"), "StarfieldInclination");
    desc.m_TimeScale = Read<float>(caelum, "TimeScale");
    desc.m_UpdateRate = caelum.GetAttribute<float>("UpdateRate", 0.0f);

    const xml::CNodePtr time = caelum.GetChild("Time");
    desc.m_Year = Read<int>(*time, "Year");
    desc.m_Month = Read<int>(*time, "Month");
    desc.m_Day = Read<int>(*time, "Day");
    desc.m_Hour = Read<int>(*time, "Hour");
    desc.m_TimeZone = Read<int>(*time, "TimeZone");
    desc.m_Minutes = Read<int>(*time, "Minutes");
    desc.m_Seconds = Read<float>(*time, "Seconds");

    const xml::CNodePtr solarSystem = caelum.GetChild("SolarSystem");
    desc.m_ObserverLongitude = Read<float>(*solarSystem, "ObserverLongitude");
    desc.m_ObserverLatitude = Read<float>(*solarSystem, "ObserverLatitude");
    desc.m_PrintSunValues = caelum.HasChild("PrintSunValues");
    return desc;
}

} // namespace wrappers
