#include <cmath>
#include <memory>
#include <vector>

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneQuery.h>
#include <gtest/gtest.h>

#include "graphics/OgreWorld.h"
#include "scene/ogre/Caelum.h"
#include "scene/SceneCounts.h"
#include "scene/ogre/SkyConfig.h"
#include "scene/ogre/sky/Astronomy.h"
#include "support/CapturingLogMgr.h"
#include "support/Pictures.h"

using wrappers::CCaelum;

namespace {

const char* const kGroundFog = "CaelumGroundFogDome";

// The sky over the shared test window, with the camera at the origin looking north.
class CaelumTest : public ::testing::Test
{
protected:
    CaelumTest() : m_Env(COgreTestEnvironment::Get()), m_Scene(*m_Env.m_Level)
    {
        m_Env.m_Camera->getParentSceneNode()->setPosition(Ogre::Vector3::ZERO);
        m_Env.m_Camera->getParentSceneNode()->setOrientation(Ogre::Quaternion::IDENTITY);
    }

    std::unique_ptr<CCaelum> MakeSky(const xml::CNodePtr& conf) { return std::make_unique<CCaelum>(conf, &m_World.Ogre()); }

    static CSkyTime Equinox(int hour, int timeZone, float latitude)
    {
        CSkyTime when;
        when.m_Hour = hour;
        when.m_TimeZone = timeZone;
        when.m_Month = 3;
        when.m_Day = 20;
        when.m_Latitude = latitude;
        when.m_Longitude = 0.0f;
        return when;
    }

    COgreWorld m_World;
    COgreTestEnvironment& m_Env;
    Ogre::SceneManager& m_Scene;
};

float ElevationDegrees(const Ogre::Vector3& lightDirection)
{
    return Ogre::Math::ASin(-lightDirection.y).valueDegrees();
}

// The colours of a grid of points over the window.
std::vector<Ogre::ColourValue> Grid(Ogre::RenderWindow& window)
{
    std::vector<Ogre::ColourValue> colours;
    for (unsigned y = 0; y < 12; ++y)
        for (unsigned x = 0; x < 16; ++x)
            colours.push_back(ReadPixel(window, x * 40 + 20, y * 40 + 20));
    return colours;
}

// The share of the points that show cloud (pale and grey) rather than a blue sky.
float CloudShare(const std::vector<Ogre::ColourValue>& colours)
{
    float clouds = 0;
    for (const Ogre::ColourValue& colour : colours)
        clouds += colour.b - colour.r < 0.15f && colour.r > 0.5f;
    return clouds / colours.size();
}

} // namespace

TEST_F(CaelumTest, LocalTimeLessTheTimeZoneSetsTheClock)
{
    const auto sky = MakeSky(MakeCaelumConfig(Equinox(14, 2, 50.0f)));
    const double noonUniversal = caelum::GregorianToJulianDay(2010, 3, 20, 12, 0, 0);
    // The set-up runs the clock on by a millisecond.
    EXPECT_NEAR(noonUniversal, sky->GetSystem()->getUniversalClock().getJulianDay(), 0.01 / 86400);
}

TEST_F(CaelumTest, SunStandsByTheClockAndThePlace)
{
    {
        const auto sky = MakeSky(MakeCaelumConfig(Equinox(14, 2, 0.0f)));
        const caelum::Sun& sun = *sky->GetSystem()->getSun();
        EXPECT_GT(ElevationDegrees(sun.getLightDirection()), 87.0f) << "near the zenith on the equator";
        EXPECT_TRUE(sun.getMainLight()->isVisible());
    }
    {
        const auto sky = MakeSky(MakeCaelumConfig(Equinox(14, 2, 50.0f)));
        const caelum::Sun& sun = *sky->GetSystem()->getSun();
        EXPECT_NEAR(40.0f, ElevationDegrees(sun.getLightDirection()), 3.0f) << "40 degrees high at 50 N";
        const Ogre::Light& light = *sun.getMainLight();
        EXPECT_TRUE(light.isVisible());
        EXPECT_TRUE(light.getDerivedDirection().positionEquals(sun.getLightDirection(), 1e-4f));
        // The sunlight times the multipliers (1.1, 1.05, 1 and 0.6).
        EXPECT_NEAR(sun.getLightColour().g * 1.05f, light.getDiffuseColour().g, 1e-4f);
        EXPECT_NEAR(sun.getLightColour().r * 0.6f, light.getSpecularColour().r, 1e-4f);
    }
    {
        const auto sky = MakeSky(MakeCaelumConfig(Equinox(0, 0, 50.0f)));
        const caelum::Sun& sun = *sky->GetSystem()->getSun();
        EXPECT_LT(ElevationDegrees(sun.getLightDirection()), -30.0f);
        EXPECT_FALSE(sun.getMainLight()->isVisible()) << "off at midnight";
    }
}

TEST_F(CaelumTest, TimePassesAtTheTimeScaleAndTheSunMoves)
{
    const xml::CNodePtr conf = MakeCaelumConfig(Equinox(10, 0, 50.0f));
    conf->GetAttribute("TimeScale")->SetValue("3600");
    const auto sky = MakeSky(conf);
    caelum::CaelumSystem& system = *sky->GetSystem();
    const float morning = ElevationDegrees(system.getSun()->getLightDirection());
    system.updateSubcomponents(0.2f);
    EXPECT_FLOAT_EQ(morning, ElevationDegrees(system.getSun()->getLightDirection())) << "before the update rate";
    system.updateSubcomponents(0.4f);
    EXPECT_GT(ElevationDegrees(system.getSun()->getLightDirection()), morning + 3.0f) << "half an hour later";
}

TEST_F(CaelumTest, SkyKeepsTheSceneFogAndAmbientLight)
{
    const auto noon = MakeSky(MakeCaelumConfig(Equinox(12, 0, 50.0f)));
    EXPECT_EQ(Ogre::FOG_EXP2, m_Scene.getFogMode());
    EXPECT_FLOAT_EQ(0.0006f, m_Scene.getFogDensity());
    const Ogre::ColourValue dayFog = m_Scene.getFogColour();
    const Ogre::ColourValue dayAmbient = m_Scene.getAmbientLight();
    EXPECT_GT(dayFog.b, 0.6f) << "a pale blue horizon";

    const auto midnight = MakeSky(MakeCaelumConfig(Equinox(0, 0, 50.0f)));
    EXPECT_LT(m_Scene.getFogColour().b, dayFog.b / 4);
    EXPECT_LT(m_Scene.getAmbientLight().g, dayAmbient.g / 4);

    m_Scene.setFog(Ogre::FOG_NONE);
    m_Scene.setAmbientLight(Ogre::ColourValue(0.5f, 0.5f, 0.5f));
    const xml::CNodePtr unmanaged = MakeCaelumConfig(Equinox(12, 0, 50.0f));
    unmanaged->GetAttribute("ManageSceneFog")->SetValue("false");
    unmanaged->GetAttribute("ManageAmbientLight")->SetValue("false");
    const auto left = MakeSky(unmanaged);
    EXPECT_EQ(Ogre::FOG_NONE, m_Scene.getFogMode());
    EXPECT_EQ(Ogre::ColourValue(0.5f, 0.5f, 0.5f), m_Scene.getAmbientLight());
}

TEST_F(CaelumTest, DisabledSkyMakesNothing)
{
    const CSceneCounts before(&m_Scene);
    xml::CNodePtr conf(new xml::CNode("Caelum", false));
    conf->AddAttribute("Enabled", "false");
    const auto sky = MakeSky(conf);
    EXPECT_EQ(nullptr, sky->GetSystem());
    sky->SetGroundFogEnabled(true);
    EXPECT_EQ(before, CSceneCounts(&m_Scene));
}

TEST_F(CaelumTest, GroundFogIsMadeOnce)
{
    const xml::CNodePtr conf = MakeCaelumConfig();
    conf->GetAttribute("GroundFogEnabled")->SetValue("true");
    const auto sky = MakeSky(conf);
    ASSERT_TRUE(m_Scene.hasEntity(kGroundFog));
    const Ogre::Entity* dome = m_Scene.getEntity(kGroundFog);
    EXPECT_EQ(kGroundFog, dome->getSubEntity(0)->getMaterialName());
    sky->SetGroundFogEnabled(true);
    EXPECT_EQ(dome, sky->GetSystem()->getGroundFog()->getDome());
    sky->SetGroundFogEnabled(false);
    EXPECT_FALSE(m_Scene.hasEntity(kGroundFog));
    EXPECT_EQ(nullptr, sky->GetSystem()->getGroundFog());
    sky->SetGroundFogEnabled(true);
    EXPECT_TRUE(m_Scene.hasEntity(kGroundFog));
}

TEST_F(CaelumTest, GroundFogFogsThePassesThatAskForIt)
{
    Ogre::MaterialPtr terrain = Ogre::MaterialManager::getSingleton().create("GroundFogTestTerrain", "General");
    terrain->getTechnique(0)->getPass(0)->setName("CaelumGroundFog");
    {
        const xml::CNodePtr conf = MakeCaelumConfig(Equinox(12, 0, 50.0f));
        conf->GetAttribute("GroundFogEnabled")->SetValue("true");
        const auto sky = MakeSky(conf);
        const Ogre::Pass& pass = *terrain->getTechnique(0)->getPass(0);
        EXPECT_TRUE(pass.getFogOverride());
        EXPECT_EQ(Ogre::FOG_EXP2, pass.getFogMode());
        EXPECT_EQ(m_Scene.getFogColour(), pass.getFogColour());
    }
    EXPECT_FALSE(terrain->getTechnique(0)->getPass(0)->getFogOverride()) << "given back with the ground fog";
    Ogre::MaterialManager::getSingleton().remove(terrain);
}

TEST_F(CaelumTest, SkyFollowsTheCameraAndIsNeverHitByRays)
{
    const auto sky = MakeSky(MakeCaelumConfig());
    Ogre::SceneNode* eye = m_Env.m_Camera->getParentSceneNode();
    eye->setPosition(500, 300, -200);
    m_Env.RenderFrame();
    const Ogre::SceneNode* skyNode = sky->GetSystem()->getCaelumCameraNode();
    EXPECT_TRUE(skyNode->_getDerivedPosition().positionEquals(Ogre::Vector3(500, 300, -200)));
    EXPECT_FLOAT_EQ(m_Env.m_Camera->getFarClipDistance() * 0.9f, skyNode->getScale().x);

    Ogre::RaySceneQuery* query = m_Scene.createRayQuery(Ogre::Ray(), 0xFFFFFFFF);
    for (const Ogre::Vector3& direction : {Ogre::Vector3::UNIT_Y, Ogre::Vector3::NEGATIVE_UNIT_Z,
                                           Ogre::Vector3(1, 0.2f, 0).normalisedCopy()}) {
        query->setRay(Ogre::Ray(Ogre::Vector3(500, 300, -200), direction));
        EXPECT_TRUE(query->execute().empty());
    }
    m_Scene.destroyQuery(query);
}

TEST_F(CaelumTest, TearDownLeavesTheSceneAsItWas)
{
    const CSceneCounts before(&m_Scene);
    {
        const xml::CNodePtr conf = MakeCaelumConfig();
        conf->GetAttribute("GroundFogEnabled")->SetValue("true");
        const auto sky = MakeSky(conf);
        m_Env.RenderFrame();
        EXPECT_FALSE(before == CSceneCounts(&m_Scene));
    }
    EXPECT_EQ(before, CSceneCounts(&m_Scene));
    // No listener of the window is left behind.
    m_Env.RenderFrame();
}

TEST_F(CaelumTest, MissingSkyMediaThrowAndLeaveNothing)
{
    typedef caelum::CaelumSystem System;
    const CSceneCounts before(&m_Scene);
    // A group of the sky's own, made empty: neither pictures nor materials.
    for (unsigned components : {System::CAELUM_COMPONENT_SKY_COLOUR_MODEL | System::CAELUM_COMPONENT_SKY_DOME,
                                System::CAELUM_COMPONENT_SUN | System::CAELUM_COMPONENT_CLOUDS}) {
        EXPECT_THROW(System(&m_Scene, components, true, "SkyTestWithoutMedia"), Ogre::Exception) << components;
        EXPECT_EQ(before, CSceneCounts(&m_Scene));
    }
    Ogre::ResourceGroupManager::getSingleton().destroyResourceGroup("SkyTestWithoutMedia");
}

TEST_F(CaelumTest, PrintsTheSunValuesWhenAsked)
{
    CCapturingLogMgr log;
    const xml::CNodePtr conf = MakeCaelumConfig();
    conf->AddChild("PrintSunValues");
    const auto sky = MakeSky(conf);
    const caelum::Sun& sun = *sky->GetSystem()->getSun();
    EXPECT_TRUE(log.Has("Light color: " + Ogre::StringConverter::toString(sun.getLightColour())));
    EXPECT_TRUE(log.Has("Light direction: " + Ogre::StringConverter::toString(sun.getLightDirection())));
    EXPECT_TRUE(log.HasContaining("Light dif color: "));
    EXPECT_TRUE(log.HasContaining("Light spec color: "));
}

TEST_F(CaelumTest, CloudsCoverTheirShareOfTheSkyAndDrift)
{
    const xml::CNodePtr conf = MakeCaelumConfig(Equinox(12, 0, 50.0f));
    conf->GetChild("Clouds")->GetAttribute("BlendTime")->SetValue("0");
    const auto sky = MakeSky(conf);
    caelum::CaelumSystem& system = *sky->GetSystem();
    caelum::CloudLayer& clouds = *system.getClouds();
    m_Env.m_Camera->getParentSceneNode()->setOrientation(
        Ogre::Vector3::NEGATIVE_UNIT_Z.getRotationTo(Ogre::Vector3::UNIT_Y));
    const auto seen = [&](float cover, float skySeconds) {
        clouds.setCloudCover(cover);
        system.updateSubcomponents(skySeconds);
        m_Env.RenderFrame();
        return Grid(*m_Env.m_Window);
    };

    EXPECT_EQ(0.0f, CloudShare(seen(0.0f, 0.0f))) << "a clear sky";
    const float some = CloudShare(seen(0.3f, 0.0f));
    const float most = CloudShare(seen(0.8f, 0.0f));
    EXPECT_GT(some, 0.05f);
    EXPECT_GT(most, some + 0.2f);

    // Standing still, the clouds stay; with a speed they move on.
    const std::vector<Ogre::ColourValue> before = seen(0.5f, 0.0f);
    clouds.setCloudSpeed(Ogre::Vector2::ZERO);
    const auto moved = [&](const std::vector<Ogre::ColourValue>& after) {
        int points = 0;
        for (size_t i = 0; i < before.size(); ++i)
            points += std::abs(before[i].r - after[i].r) > 0.1f;
        return points;
    };
    EXPECT_EQ(0, moved(seen(0.5f, 10.0f)));
    clouds.setCloudSpeed(Ogre::Vector2(0.01f, 0.0f));
    EXPECT_GT(moved(seen(0.5f, 10.0f)), 10);
}

TEST_F(CaelumTest, HazeBrightensTheSkyTowardsTheSunOnly)
{
    const auto brightness = [&](bool haze, float awayFromTheSun) {
        const xml::CNodePtr conf = MakeCaelumConfig(Equinox(12, 0, 50.0f));
        conf->GetAttribute("HazeEnabled")->SetValue(haze ? "true" : "false");
        conf->GetAttribute("ManageSceneFog")->SetValue("false");
        for (const char* component : {"CAELUM_COMPONENT_CLOUDS", "CAELUM_COMPONENT_SUN"})
            conf->RemoveChild(conf->GetChild(component));
        const auto sky = MakeSky(conf);
        // A little beside the sun, or as far round the horizon.
        const Ogre::Vector3 sun = sky->GetSystem()->getSunDirection();
        const Ogre::Quaternion round(Ogre::Degree(awayFromTheSun + 8.0f), Ogre::Vector3::UNIT_Y);
        m_Env.m_Camera->getParentSceneNode()->setOrientation(Ogre::Vector3::NEGATIVE_UNIT_Z.getRotationTo(round * sun));
        m_Env.RenderFrame();
        const Ogre::ColourValue colour =
            ReadPixel(*m_Env.m_Window, COgreTestEnvironment::kWidth / 2, COgreTestEnvironment::kHeight / 2);
        return colour.r + colour.g + colour.b;
    };
    EXPECT_GT(brightness(true, 0.0f), brightness(false, 0.0f) + 0.3f);
    EXPECT_NEAR(brightness(true, 180.0f), brightness(false, 180.0f), 0.05f);
}
