#pragma once

#include "core/Node.h"
#include "core/Vector.h"

namespace wrappers {

// A zone's "Caelum" element as numbers. Only what the chosen components use
// is read: the sun's keys with a sun, the clouds' with clouds, the starfield's
// inclination with a starfield.
struct CCaelumDesc
{
    bool m_Enabled = false;
    // The sky components, as the sky system's mask.
    unsigned m_Components = 0;
    bool m_ManageSceneFog = false;
    float m_SceneFogDensityMultiplier = 0.0f;
    bool m_ManageAmbientLight = false;
    sds::CVector m_SunAmbientMultiplier;
    sds::CVector m_SunDiffuseMultiplier;
    sds::CVector m_SunSpecularMultiplier;
    bool m_SunAutoDisable = false;
    float m_SunAutoDisableThreshold = 0.0f;
    bool m_GroundFogEnabled = false;
    bool m_HazeEnabled = false;
    sds::CVector m_CloudSpeed;
    float m_CloudBlendTime = 0.0f;
    float m_CloudCover = 0.0f;
    float m_StarfieldInclination = 0.0f;
    float m_TimeScale = 1.0f;
    float m_UpdateRate = 0.0f;
    // The local date and time, and the hours the time zone is ahead of universal time.
    int m_Year = 2000;
    int m_Month = 1;
    int m_Day = 1;
    int m_Hour = 0;
    int m_Minutes = 0;
    double m_Seconds = 0.0;
    int m_TimeZone = 0;
    float m_ObserverLongitude = 0.0f;
    float m_ObserverLatitude = 0.0f;
    bool m_PrintSunValues = false;
};

// Reads the element in the order its keys are used; a missing or empty
// required key throws the XML layer's exception. With "Enabled" false nothing
// else is read.
CCaelumDesc ReadCaelumDesc(const xml::CNode& caelum);

} // namespace wrappers
