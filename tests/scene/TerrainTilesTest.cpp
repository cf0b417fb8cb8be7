#include <gtest/gtest.h>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSubEntity.h>

#include "scene/SceneCounts.h"
#include "scene/ZoneFixture.h"
#include "scene/ZoneWorld.h"
#include "scene/ogre/DotScene.h"
#include "scene/ogre/PageWithEntitiesInfoTmpl.h"
#include "scene/ogre/TerrainLoader.h"

namespace {

class TerrainTilesTest : public ::testing::Test
{
protected:
    std::unique_ptr<wrappers::CDotScene> Make(const xml::CNodePtr& scene)
    {
        m_Progress.clear();
        return std::make_unique<wrappers::CDotScene>(&m_World.Mgr(), scene, true, 0.2f, 0.6f,
                                                     [this](const std::string& text, float fraction) {
                                                         m_Progress.emplace_back(text, fraction);
                                                     });
    }
    Ogre::SceneManager* Level() { return m_World.Scene(); }

    // The node of the plane under the terrain.
    Ogre::SceneNode* UnderGroundPlane()
    {
        for (const auto& entry : Level()->getMovableObjects("Entity")) {
            auto* entity = static_cast<Ogre::Entity*>(entry.second);
            if (entity->getSubEntity(0)->getMaterialName() == "BlackUnderGround")
                return entity->getParentSceneNode();
        }
        return nullptr;
    }

    CZoneWorld m_World;
    CZoneFixture m_Zone;
    CZoneWorld::CProgress m_Progress;
};

} // namespace

// Each page shows the tile of its own grid key: pages beyond the largest key,
// and keys no page has, stay empty.
TEST_F(TerrainTilesTest, PagesShowTheTilesOfTheirKeys)
{
    m_Zone.WriteTiles("dz",
                      {{"0.0", "0,0,0"}, {"0.1", "0,0,100"}, {"1.0", "100,0,0"}, {"1.1", "100,0,100"}, {"-1.0", "-100,0,0"}},
                      "0,0,0", "300,20,200", 100);
    const CSceneCounts before(Level());
    {
        auto scene = Make(m_Zone.Scene("TerrainLod0Distance='10000' DeepestPoint='-5' DistanceToTileForCollisionMultiplier='1'"));
        auto* loader = static_cast<wrappers::CTerrainLoader*>(scene->GetTerrainPager()->getPageLoader());
        EXPECT_EQ(1, loader->GetMaxX());
        EXPECT_EQ(1, loader->GetMaxZ());
        EXPECT_EQ("dz.-1.0.0.mesh", loader->GetTiles().at({-1, 0}).m_Mesh);
        scene->UpdatePagers();

        const auto& pages = scene->GetTerrainDetailLevel()->getLoadedPages();
        ASSERT_EQ(6u, pages.size());
        for (const auto& page : pages) {
            const auto& records = dynamic_cast<const wrappers::CPageEntities&>(*page.second).GetRecords();
            const int x = page.first.first, z = page.first.second;
            if (x > 1) {
                EXPECT_TRUE(records.empty()) << x << "," << z;
                continue;
            }
            ASSERT_EQ(1u, records.size()) << x << "," << z;
            EXPECT_EQ("dz." + sds::TileName({x, z}) + ".0.mesh.entity", records[0].m_Entity->getName());
            EXPECT_EQ(Ogre::Vector3(x * 100.0f, 0, z * 100.0f), records[0].m_Position);
        }
        // The loaded tiles answer ray tests with their ground; an empty page does not.
        const sds::CTerrainRayTestPtr rays = m_World.Mgr().GetTerrainRayTest();
        ASSERT_TRUE(rays);
        EXPECT_FLOAT_EQ(10.0f, rays->RayTest(sds::CVector(50, 10, 150), sds::CVector::NEGATIVE_UNIT_Y)->m_Distance);
        EXPECT_FALSE(rays->RayTest(sds::CVector(250, 10, 50), sds::CVector::NEGATIVE_UNIT_Y));
    }
    EXPECT_FALSE(m_World.Mgr().GetTerrainRayTest());
    EXPECT_EQ(before, CSceneCounts(Level()));
}

TEST_F(TerrainTilesTest, TileNamesAreXDotZ)
{
    const CSceneCounts before(Level());
    for (const char* name : {"3", "3.4.5", "x.1"}) {
        m_Zone.WriteTiles("dz", {{"0.0", "0,0,0"}, {name, "0,0,0"}}, "0,0,0", "100,0,100", 100, false);
        try {
            Make(m_Zone.Scene("TerrainLod0Distance='100' DeepestPoint='-5'"));
            ADD_FAILURE() << name;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ("xz.size() == 2 && \"name should have format X.Z\"", e.what());
        }
        EXPECT_EQ(before, CSceneCounts(Level())) << name;
    }
}

TEST_F(TerrainTilesTest, ThePlaneUnderTheTerrainLiesUnderAllOfIt)
{
    m_Zone.WriteTiles("dz", {{"0.0", "0,0,0"}}, "200,0,-100", "1200,50,400", 100);
    auto scene = Make(m_Zone.Scene("TerrainLod0Distance='0' DeepestPoint='-7'"));
    Ogre::SceneNode* plane = UnderGroundPlane();
    ASSERT_NE(nullptr, plane);
    EXPECT_EQ(Ogre::Vector3(1000, 1, 500), plane->getScale());
    EXPECT_EQ(Ogre::Vector3(700, -7, 150), plane->getPosition());
    const Forests::TBounds& bounds = scene->GetTerrainPager()->getBounds();
    EXPECT_EQ(200, bounds.left);
    EXPECT_EQ(-100, bounds.top);
    EXPECT_EQ(1200, bounds.right);
    EXPECT_EQ(400, bounds.bottom);
    // No range for the terrain: no detail level, but the loader is there.
    EXPECT_EQ(nullptr, scene->GetTerrainDetailLevel());
    EXPECT_TRUE(scene->GetTerrainPager()->getDetailLevels().empty());
    EXPECT_NE(nullptr, scene->GetTerrainPager()->getPageLoader());
}

TEST_F(TerrainTilesTest, SurfaceObjectSetsEachReportTheirShare)
{
    m_Zone.WriteTiles("dz", {{"0.0", "0,0,0"}}, "0,0,0", "100,0,100", 100);
    const std::vector<std::string> objects = {"Name='A' SurfaceObjectSaturation='1' StaticDist='50' CollisionMeshesDist='5'",
                                              "Name='B' SurfaceObjectSaturation='1' StaticDist='50' CollisionMeshesDist='5'",
                                              "Name='C' SurfaceObjectSaturation='1' StaticDist='50' CollisionMeshesDist='5'"};
    auto scene = Make(m_Zone.Scene("TerrainLod0Distance='100' DeepestPoint='-5' Name='zone'", objects));
    std::vector<float> shares;
    for (const auto& step : m_Progress)
        if (step.first == "Loading surface objects")
            shares.push_back(step.second);
    ASSERT_EQ(3u, shares.size());
    EXPECT_FLOAT_EQ(0.38f, shares[0]);
    EXPECT_FLOAT_EQ(0.52f, shares[1]);
    EXPECT_FLOAT_EQ(0.66f, shares[2]);
    // The placement files are the terrain's folder, the zone's name, the set's name.
    EXPECT_TRUE(m_World.m_Log.Has("Warning: Surface object file does not exist: '" + m_Zone.Folder() + "zone.B.so'"));
    EXPECT_TRUE(scene->GetSurfaceObjects().empty());
}

TEST_F(TerrainTilesTest, NoSurfaceObjectsWhenTheSettingsWantNone)
{
    m_Zone.WriteTiles("dz", {{"0.0", "0,0,0"}}, "0,0,0", "100,0,100", 100);
    m_World.App().m_Settings->AddChild("Graphics")->AddAttribute("SurfaceObjects", "0");
    // "Name" is then not needed either.
    auto scene = Make(m_Zone.Scene("TerrainLod0Distance='100' DeepestPoint='-5'",
                                   {"Name='A' SurfaceObjectSaturation='1' StaticDist='50' CollisionMeshesDist='5'"}));
    for (const auto& step : m_Progress)
        EXPECT_NE("Loading surface objects", step.first);
    EXPECT_TRUE(scene->GetSurfaceObjects().empty());
}
