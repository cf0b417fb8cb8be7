#include <gtest/gtest.h>

#include <OGRE/OgreMaterialManager.h>

#include "core/XmlException.h"
#include "meshgen/MeshDescription.h"
#include "scene/HomeFieldGround.h"
#include "scene/SceneCounts.h"
#include "scene/ZoneFixture.h"
#include "scene/ZoneWorld.h"

namespace {

class ZoneLoaderTest : public ::testing::Test
{
protected:
    ZoneLoaderTest()
    {
        // What a zone's teardown leaves: the scene reset.
        m_World.Ogre().ResetScene();
        CZoneWorld::LookFrom(CZoneWorld::HomeFieldCamera(), CZoneWorld::HomeFieldTarget());
    }

    std::vector<float> Fractions(const std::string& message) const
    {
        std::vector<float> fractions;
        for (const auto& step : m_World.m_Progress)
            if (step.first == message)
                fractions.push_back(step.second);
        return fractions;
    }

    CZoneWorld m_World;
};

} // namespace

TEST_F(ZoneLoaderTest, TheDefaultZoneReportsItsSteps)
{
    auto zone = m_World.Load(CZoneWorld::HomeField());
    const CZoneWorld::CProgress expected{{"Initializing Sky", 0.0f},        {"Loading Scene", 0.2f},
                                         {"Setting parameters", 0.2f},      {"Loading nodes", 0.26f},
                                         {"Building static geometry", 0.32f}, {"Loading surface objects", 0.38f},
                                         {"Loading surface objects", 0.59f}, {"Updating terrain", 0.8f},
                                         {"Updating surface objects", 0.9f}, {"Updating surface objects", 0.95f}};
    ASSERT_EQ(expected.size(), m_World.m_Progress.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, m_World.m_Progress[i].first) << i;
        EXPECT_FLOAT_EQ(expected[i].second, m_World.m_Progress[i].second) << i;
    }
    EXPECT_TRUE(m_World.m_Log.Has("Resource loader: DZGfx"));
    EXPECT_FLOAT_EQ(1.5f, m_World.Ogre().GetTerrainCollisionMultiplier());
    zone.reset();
    EXPECT_TRUE(m_World.m_Log.Has("Resource unloaded: DZGfx"));
}

TEST_F(ZoneLoaderTest, FourPagersShareTheLastTenth)
{
    CZoneFixture fixture;
    fixture.AddMesh(meshgen::Bush(), "TestBush.mesh");
    fixture.WriteTiles("dz", {{"0.0", "0,0,0"}}, "0,0,0", "200,0,200", 200);
    std::vector<std::string> objects;
    for (const char* name : {"A", "B", "C", "D"}) {
        fixture.WritePlacements(std::string("zone.") + name + ".so",
                                dzgen::TilePlacements({{"TestBush.mesh", 10, 0, 10, 1, 0}}, 0, 100, 2));
        objects.push_back(std::string("Name='") + name + "' SurfaceObjectSaturation='1' StaticDist='100' CollisionMeshesDist='5'");
    }
    const std::string terrain = "TerrainLod0Distance='100' DeepestPoint='-5' Name='zone' DistanceToTileForCollisionMultiplier='1'";
    m_World.Load(fixture.Scene(terrain, objects));
    const std::vector<float> fractions = Fractions("Updating surface objects");
    ASSERT_EQ(4u, fractions.size());
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(0.9f + 0.025f * i, fractions[i]);

    m_World.Load(fixture.Scene(terrain));
    EXPECT_TRUE(Fractions("Updating surface objects").empty());
}

TEST_F(ZoneLoaderTest, TheCollisionMultiplierIsTheZonesWhenItHasATerrain)
{
    m_World.Ogre().SetTerrainCollisionMultiplier(7);
    m_World.Load(xml::LoadXmlFromMemory("<scene/>", "zone")->GetChild("scene"));
    EXPECT_FLOAT_EQ(7, m_World.Ogre().GetTerrainCollisionMultiplier());

    CZoneFixture fixture;
    fixture.WriteTiles("dz", {{"0.0", "0,0,0"}}, "0,0,0", "100,0,100", 100);
    const CSceneCounts before(m_World.Scene());
    EXPECT_THROW(m_World.Load(fixture.Scene("TerrainLod0Distance='100' DeepestPoint='-5'")), xml::CNoNodeException);
    EXPECT_EQ(before, CSceneCounts(m_World.Scene()));
}

TEST_F(ZoneLoaderTest, AZoneIsNeverEmpty)
{
    try {
        m_World.Load(xml::CNodePtr());
        ADD_FAILURE();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("Conf && \"Should not be given an empty config\"", e.what());
    }
}

// Teardown leaves the scene as it was, puts the configuration's ambient light
// back, and drops the zone's own resources; a second load and teardown leave
// the resource managers no larger than the first.
TEST_F(ZoneLoaderTest, TeardownPutsTheSceneBack)
{
    const CSceneCounts before(m_World.Scene());
    m_World.App().m_Config->GetChild("Scene")->GetAttribute("AmbientColor")->SetValue("0.1, 0.2, 0.3");
    m_World.Load(CZoneWorld::HomeField()).reset();
    const CResourceCounts first;
    EXPECT_EQ(before, CSceneCounts(m_World.Scene()));
    EXPECT_EQ(Ogre::ColourValue(0.1f, 0.2f, 0.3f, 1.0f), m_World.Scene()->getAmbientLight());
    EXPECT_FALSE(m_World.Mgr().GetTerrainRayTest());
    EXPECT_FALSE(Ogre::MaterialManager::getSingleton().resourceExists("Terrain/Grass", "Terrain"));
    EXPECT_FALSE(m_World.Scene()->isSkyDomeEnabled());

    CZoneWorld::LookFrom(CZoneWorld::HomeFieldCamera(), CZoneWorld::HomeFieldTarget());
    m_World.Load(CZoneWorld::HomeField()).reset();
    const CResourceCounts second;
    EXPECT_EQ(before, CSceneCounts(m_World.Scene()));
    EXPECT_LE(second.m_Meshes, first.m_Meshes);
    EXPECT_LE(second.m_Materials, first.m_Materials);
    EXPECT_LE(second.m_Textures, first.m_Textures);
    EXPECT_LE(second.m_Skeletons, first.m_Skeletons);
}

TEST_F(ZoneLoaderTest, ALoadThatFailsInItsSceneIsFollowedByAGoodOne)
{
    const CSceneCounts before(m_World.Scene());
    const xml::CNodePtr broken = CZoneWorld::HomeField();
    const xml::CNodePtr node = broken->GetChild("nodes")->AddChild("node");
    node->AddAttribute("name", "Broken");
    const xml::CNodePtr entity = node->AddChild("entity");
    entity->AddAttribute("name", "Broken");
    entity->AddAttribute("meshFile", "NoSuchMesh.mesh");
    EXPECT_THROW(m_World.Load(broken), Ogre::Exception);
    EXPECT_TRUE(m_World.m_Log.Has("Resource unloaded: DZGfx"));
    EXPECT_EQ(before, CSceneCounts(m_World.Scene()));
    EXPECT_EQ(Ogre::ColourValue(0.5f, 0.5f, 0.5f, 1.0f), m_World.Scene()->getAmbientLight());
    EXPECT_FALSE(m_World.Mgr().GetTerrainRayTest());

    CZoneWorld::LookFrom(CZoneWorld::HomeFieldCamera(), CZoneWorld::HomeFieldTarget());
    EXPECT_NO_THROW(m_World.Load(CZoneWorld::HomeField()));
}

// While the zone lives its terrain answers ray tests with the ground itself,
// seams between the tiles included.
TEST_F(ZoneLoaderTest, TheGroundBelowAThousandMetres)
{
    auto zone = m_World.Load(CZoneWorld::HomeField());
    const sds::CTerrainRayTestPtr ground = m_World.Mgr().GetTerrainRayTest();
    ASSERT_TRUE(ground);
    for (const sds::CVector& point : HomeFieldPointsAbove()) {
        const auto hit = ground->RayTest(point, sds::CVector::NEGATIVE_UNIT_Y);
        ASSERT_TRUE(hit) << point.x << ", " << point.z;
        EXPECT_NEAR(1000.0 - HomeFieldGroundAt(point.x, point.z), hit->m_Distance, 0.01) << point.x << ", " << point.z;
    }
}
