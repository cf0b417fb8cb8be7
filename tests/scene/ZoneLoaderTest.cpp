#include <gtest/gtest.h>

#include <OGRE/OgreMaterialManager.h>

#include "core/XmlException.h"
#include "graphics/ICamera.h"
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
        m_World.LookFrom(CZoneWorld::HomeFieldCamera(), CZoneWorld::HomeFieldTarget());
    }

    std::vector<float> Fractions(const std::string& message) const
    {
        std::vector<float> fractions;
        for (const auto& step : m_World.m_Progress)
            if (step.first == message)
                fractions.push_back(step.second);
        return fractions;
    }

    // Away from the buildings, the pond, the smoke and the runway's lights,
    // whose boxes the scene's ray queries meet.
    static bool ClearOfObjects(const sds::CVector& p)
    {
        using dzgen::CHomeField;
        auto near = [&](const dzgen::CPoint& at, double radius) { return std::hypot(p.x - at.x, p.z - at.z) < radius; };
        return !near(CHomeField::kHangar, 150) && !near(CHomeField::kPond, 160) &&
               !near({CHomeField::kTarget.x - 95, CHomeField::kTarget.z - 40}, 40) &&
               !(std::fabs(p.x - CHomeField::kRunway.x0) < 10 && CHomeField::kRunway.Distance(p.x, p.z) < 10);
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
                                         {"Loading surface objects", 0.52f}, {"Loading surface objects", 0.66f},
                                         {"Updating terrain", 0.8f},         {"Updating surface objects", 0.9f},
                                         {"Updating surface objects", 0.9f + 0.1f / 3},
                                         {"Updating surface objects", 0.9f + 0.2f / 3}};
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
    // A force-field scene: its boundaries are its ground.
    m_World.Load(xml::LoadXmlFromMemory("<scene><BoundingBox Name='Boundaries'/></scene>", "zone")->GetChild("scene"));
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

    m_World.LookFrom(CZoneWorld::HomeFieldCamera(), CZoneWorld::HomeFieldTarget());
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
    try {
        m_World.Load(broken);
        ADD_FAILURE() << "loaded";
    } catch (const std::runtime_error& e) {
        // What is wrong, not where in the rendering engine's sources.
        EXPECT_NE(std::string::npos, std::string(e.what()).find("NoSuchMesh.mesh")) << e.what();
        EXPECT_EQ(std::string::npos, std::string(e.what()).find(".cpp")) << e.what();
    }
    EXPECT_TRUE(m_World.m_Log.Has("Resource unloaded: DZGfx"));
    EXPECT_EQ(before, CSceneCounts(m_World.Scene()));
    EXPECT_EQ(Ogre::ColourValue(0.5f, 0.5f, 0.5f, 1.0f), m_World.Scene()->getAmbientLight());
    EXPECT_FALSE(m_World.Mgr().GetTerrainRayTest());

    m_World.LookFrom(CZoneWorld::HomeFieldCamera(), CZoneWorld::HomeFieldTarget());
    EXPECT_NO_THROW(m_World.Load(CZoneWorld::HomeField()));
}

// While the zone lives its terrain answers ray tests with the ground itself,
// seams between the tiles included; the distance below and the camera's
// picking meet the ground, not the boxes of the terrain's pages.
TEST_F(ZoneLoaderTest, TheGroundBelowAThousandMetres)
{
    auto zone = m_World.Load(CZoneWorld::HomeField());
    const sds::CTerrainRayTestPtr ground = m_World.Mgr().GetTerrainRayTest();
    ASSERT_TRUE(ground);
    int clear = 0;
    for (const sds::CVector& point : HomeFieldPointsAbove()) {
        const auto hit = ground->RayTest(point, sds::CVector::NEGATIVE_UNIT_Y);
        ASSERT_TRUE(hit) << point.x << ", " << point.z;
        const double expected = 1000.0 - HomeFieldGroundAt(point.x, point.z);
        EXPECT_NEAR(expected, hit->m_Distance, 0.01) << point.x << ", " << point.z;
        if (!ClearOfObjects(point))
            continue;
        ++clear;
        EXPECT_NEAR(expected, m_World.Mgr().GetDistanceBelow(point), 0.01) << point.x << ", " << point.z;
    }
    EXPECT_GT(clear, 80);

    const sds::CVector above(-500, 800, 500);
    sds::ICamera* camera = m_World.Mgr().GetCamera();
    camera->SetPos(above);
    camera->LookAt(sds::CVector(-500, 0, 500.5f));
    m_World.Mgr().UpdateCamera(sds::CTiming());
    ASSERT_TRUE(camera->FindObjUnderCursor(0.5f, 0.5f, sds::ICamera::PICK_TERRAIN));
    const sds::ICamera::CPickResult& pick = camera->GetPickResults().at(0);
    EXPECT_EQ("Terrain", pick.m_Name);
    EXPECT_NEAR(HomeFieldGroundAt(pick.m_Point.x, pick.m_Point.z), pick.m_Point.y, 0.01);
}
