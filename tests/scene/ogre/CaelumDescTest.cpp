#include <gtest/gtest.h>

#include "core/XmlException.h"
#include "scene/ogre/CaelumDesc.h"
#include "scene/ogre/SkyConfig.h"

using wrappers::CCaelumDesc;
using wrappers::ReadCaelumDesc;

TEST(CaelumDesc, ReadsEveryKey)
{
    CSkyTime when;
    when.m_Month = 3;
    when.m_Day = 20;
    when.m_Latitude = 50.0f;
    when.m_Longitude = -3.0f;
    const CCaelumDesc desc = ReadCaelumDesc(*MakeCaelumConfig(when));
    EXPECT_TRUE(desc.m_Enabled);
    EXPECT_EQ(1u + 2 + 4 + 16 + 32 + 64, desc.m_Components);
    EXPECT_TRUE(desc.m_ManageSceneFog);
    EXPECT_FLOAT_EQ(0.0006f, desc.m_SceneFogDensityMultiplier);
    EXPECT_TRUE(desc.m_ManageAmbientLight);
    EXPECT_FLOAT_EQ(0.5f, desc.m_SunAmbientMultiplier.z);
    EXPECT_FLOAT_EQ(1.05f, desc.m_SunDiffuseMultiplier.y);
    EXPECT_FLOAT_EQ(0.6f, desc.m_SunSpecularMultiplier.x);
    EXPECT_TRUE(desc.m_SunAutoDisable);
    EXPECT_FLOAT_EQ(0.05f, desc.m_SunAutoDisableThreshold);
    EXPECT_FALSE(desc.m_GroundFogEnabled);
    EXPECT_TRUE(desc.m_HazeEnabled);
    EXPECT_FLOAT_EQ(-0.00001f, desc.m_CloudSpeed.y);
    EXPECT_FLOAT_EQ(3600.0f, desc.m_CloudBlendTime);
    EXPECT_FLOAT_EQ(0.3f, desc.m_CloudCover);
    EXPECT_FLOAT_EQ(13.0f, desc.m_StarfieldInclination);
    EXPECT_FLOAT_EQ(0.5f, desc.m_UpdateRate);
    EXPECT_EQ(2010, desc.m_Year);
    EXPECT_EQ(3, desc.m_Month);
    EXPECT_EQ(20, desc.m_Day);
    EXPECT_EQ(14, desc.m_Hour);
    EXPECT_EQ(2, desc.m_TimeZone);
    EXPECT_FLOAT_EQ(-3.0f, desc.m_ObserverLongitude);
    EXPECT_FLOAT_EQ(50.0f, desc.m_ObserverLatitude);
    EXPECT_FALSE(desc.m_PrintSunValues);
}

TEST(CaelumDesc, DisabledSkyReadsNothingElse)
{
    xml::CNodePtr caelum(new xml::CNode("Caelum", false));
    caelum->AddAttribute("Enabled", "false");
    EXPECT_FALSE(ReadCaelumDesc(*caelum).m_Enabled);
}

TEST(CaelumDesc, ComponentsLeftOutNeedNoKeys)
{
    // Without a sun, clouds or stars their keys may go; so may the update rate.
    for (const char* omitted : {"Sun", "Clouds", "SolarSystem>StarfieldInclination", ">UpdateRate"}) {
        const xml::CNodePtr caelum = MakeCaelumConfig(CSkyTime(), omitted);
        for (const char* component :
             {"CAELUM_COMPONENT_SUN", "CAELUM_COMPONENT_CLOUDS", "CAELUM_COMPONENT_STARFIELD"})
            caelum->RemoveChild(caelum->GetChild(component));
        const CCaelumDesc desc = ReadCaelumDesc(*caelum);
        EXPECT_EQ(1u + 2 + 4, desc.m_Components) << omitted;
    }
    EXPECT_FLOAT_EQ(0.0f, ReadCaelumDesc(*MakeCaelumConfig(CSkyTime(), ">UpdateRate")).m_UpdateRate);
}

TEST(CaelumDesc, MissingRequiredKeysThrow)
{
    const char* const required[] = {
        ">ManageSceneFog", ">SceneFogDensityMultiplier", ">ManageAmbientLight", "Sun>AmbientMultiplier",
        "Sun>AutoDisableThreshold", "Sun", ">GroundFogEnabled", ">HazeEnabled", "Clouds>Speed", "Clouds>Cover",
        "SolarSystem>StarfieldInclination", ">TimeScale", "Time>Seconds", "Time>TimeZone", "Time",
        "SolarSystem>ObserverLatitude", "SolarSystem",
    };
    for (const std::string omitted : required) {
        const std::string missing = omitted.substr(omitted.find('>') + 1);
        try {
            ReadCaelumDesc(*MakeCaelumConfig(CSkyTime(), omitted));
            ADD_FAILURE() << omitted << " was not asked for";
        } catch (const xml::CNoNodeException& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("'" + missing + "'")) << e.what();
        }
    }
}

TEST(CaelumDesc, HazeIsRequiredEvenWithoutADome)
{
    const xml::CNodePtr caelum = MakeCaelumConfig(CSkyTime(), ">HazeEnabled");
    caelum->RemoveChild(caelum->GetChild("CAELUM_COMPONENT_SKY_DOME"));
    EXPECT_THROW(ReadCaelumDesc(*caelum), xml::CNoNodeException);
}

TEST(CaelumDesc, EmptyValueThrows)
{
    const xml::CNodePtr caelum = MakeCaelumConfig();
    caelum->GetChild("Time")->GetAttribute("Hour")->SetValue("");
    EXPECT_THROW(ReadCaelumDesc(*caelum), xml::CBadValueException);
}
