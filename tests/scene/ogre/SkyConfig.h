#pragma once

#include <string>

#include "core/Node.h"

// Where and when a test's sky is: local time, time zone, date in 2010 and place.
struct CSkyTime
{
    int m_Hour = 14;
    int m_Minutes = 0;
    int m_TimeZone = 2;
    int m_Month = 6;
    int m_Day = 21;
    float m_Latitude = 47.4f;
    float m_Longitude = 8.5f;
};

// A zone's "Caelum" element with every key and every component. `omit` leaves
// one out: a child ("Sun"), an attribute of the element (">HazeEnabled") or of
// a child ("Sun>AutoDisable").
inline xml::CNodePtr MakeCaelumConfig(const CSkyTime& when = CSkyTime(), const std::string& omit = "")
{
    const auto attribute = [&](const xml::CNodePtr& node, const std::string& owner, const std::string& name,
                               const std::string& value) {
        if (omit != owner + ">" + name)
            node->AddAttribute(name, value);
    };
    const auto child = [&](const xml::CNodePtr& node, const std::string& name) {
        return omit == name ? xml::CNodePtr(new xml::CNode(name, false)) : node->AddChild(name);
    };

    xml::CNodePtr caelum(new xml::CNode("Caelum", false));
    attribute(caelum, "", "Enabled", "true");
    attribute(caelum, "", "ManageSceneFog", "true");
    attribute(caelum, "", "SceneFogDensityMultiplier", "0.0006");
    attribute(caelum, "", "ManageAmbientLight", "true");
    attribute(caelum, "", "GroundFogEnabled", "false");
    attribute(caelum, "", "HazeEnabled", "true");
    attribute(caelum, "", "TimeScale", "1");
    attribute(caelum, "", "UpdateRate", "0.5");
    for (const char* component :
         {"CAELUM_COMPONENT_SKY_COLOUR_MODEL", "CAELUM_COMPONENT_SUN", "CAELUM_COMPONENT_SOLAR_SYSTEM_MODEL",
          "CAELUM_COMPONENT_SKY_DOME", "CAELUM_COMPONENT_STARFIELD", "CAELUM_COMPONENT_CLOUDS"})
        child(caelum, component);
    const xml::CNodePtr sun = child(caelum, "Sun");
    attribute(sun, "Sun", "AmbientMultiplier", "0.45, 0.45, 0.5");
    attribute(sun, "Sun", "DiffuseMultiplier", "1.1, 1.05, 1");
    attribute(sun, "Sun", "SpecularMultiplier", "0.6, 0.6, 0.6");
    attribute(sun, "Sun", "AutoDisable", "true");
    attribute(sun, "Sun", "AutoDisableThreshold", "0.05");
    const xml::CNodePtr clouds = child(caelum, "Clouds");
    attribute(clouds, "Clouds", "Speed", "0.00002, -0.00001, 0");
    attribute(clouds, "Clouds", "BlendTime", "3600");
    attribute(clouds, "Clouds", "Cover", "0.3");
    const xml::CNodePtr time = child(caelum, "Time");
    attribute(time, "Time", "Seconds", "0");
    attribute(time, "Time", "Minutes", std::to_string(when.m_Minutes));
    attribute(time, "Time", "Hour", std::to_string(when.m_Hour));
    attribute(time, "Time", "TimeZone", std::to_string(when.m_TimeZone));
    attribute(time, "Time", "Day", std::to_string(when.m_Day));
    attribute(time, "Time", "Month", std::to_string(when.m_Month));
    attribute(time, "Time", "Year", "2010");
    const xml::CNodePtr place = child(caelum, "SolarSystem");
    attribute(place, "SolarSystem", "ObserverLongitude", std::to_string(when.m_Longitude));
    attribute(place, "SolarSystem", "ObserverLatitude", std::to_string(when.m_Latitude));
    attribute(place, "SolarSystem", "StarfieldInclination", "13");
    return caelum;
}
