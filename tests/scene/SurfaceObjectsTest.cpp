#include <gtest/gtest.h>

#include "core/Exception.h"
#include "meshgen/MeshDescription.h"
#include "scene/SceneCounts.h"
#include "scene/ZoneFixture.h"
#include "scene/ZoneWorld.h"
#include "scene/ogre/DotScene.h"
#include "scene/ogre/PageWithEntitiesInfoTmpl.h"

namespace {

const char* const kTerrain = "TerrainLod0Distance='1000' DeepestPoint='-5' Name='zone'";

// Three trees and a bush in the first of two tiles of 100 m, one tree in the second.
std::vector<dzgen::CObjectPlacement> Placements()
{
    return {{"TestTree.mesh", 10, 0, 10, 1, 0},
            {"TestTree.mesh", 20, 0, 30, 1.5f, 45},
            {"TestBush.mesh", 60, 1, 60, 1, 0},
            {"TestTree.mesh", 150, 2, 30, 1, 90}};
}

class SurfaceObjectsTest : public ::testing::Test
{
protected:
    SurfaceObjectsTest()
    {
        m_Zone.AddMesh(meshgen::Tree(), "TestTree.mesh");
        m_Zone.AddMesh(meshgen::Bush(), "TestBush.mesh");
        m_Zone.WriteTiles("dz", {{"0.0", "0,0,0"}}, "0,0,0", "200,0,200", 200);
        m_Zone.WritePlacements("zone.Trees.so", dzgen::TilePlacements(Placements(), 0, 100, 2));
        m_World.LookFrom(Ogre::Vector3(50, 10, 50), Ogre::Vector3(100, 0, 100));
    }

    std::unique_ptr<wrappers::CDotScene> Make(const std::vector<std::string>& objects)
    {
        auto scene = std::make_unique<wrappers::CDotScene>(&m_World.Mgr(), m_Zone.Scene(kTerrain, objects), true, 0.2f,
                                                           0.6f, [](const std::string&, float) {});
        scene->UpdatePagers();
        return scene;
    }
    Ogre::SceneManager* Level() { return m_World.Scene(); }

    static std::vector<wrappers::CPageEntities::CRecord> Records(const Forests::GeometryPageManager* level)
    {
        std::vector<wrappers::CPageEntities::CRecord> records;
        for (const auto& page : level->getLoadedPages()) {
            const auto& more = dynamic_cast<const wrappers::CPageEntities&>(*page.second).GetRecords();
            records.insert(records.end(), more.begin(), more.end());
        }
        return records;
    }

    CZoneWorld m_World;
    CZoneFixture m_Zone;
};

} // namespace

TEST_F(SurfaceObjectsTest, ASaturationOfOneShowsEveryPlacement)
{
    const CSceneCounts before(Level());
    {
        auto scene = Make({"Name='Trees' SurfaceObjectSaturation='1' StaticDist='1000' CollisionMeshesDist='5'"});
        ASSERT_EQ(1u, scene->GetSurfaceObjects().size());
        const wrappers::CSurfaceObjectSet& set = *scene->GetSurfaceObjects().front();
        EXPECT_EQ("Trees", set.m_Name);
        EXPECT_TRUE(set.m_GenerateCollisions);
        EXPECT_FLOAT_EQ(5, set.m_CollisionMeshesDist);
        const auto records = Records(set.m_Static);
        ASSERT_EQ(4u, records.size());
        EXPECT_EQ(Ogre::Vector3(20, 0, 30), records[1].m_Position);
        EXPECT_EQ(Ogre::Vector3(1.5f), records[1].m_Scale);
        EXPECT_NEAR(45, Ogre::Degree(records[1].m_Rotation.getYaw()).valueDegrees(), 1e-3);
        EXPECT_EQ("TestBush.mesh.entity", records[2].m_Entity->getName());
        EXPECT_EQ(Ogre::Vector3(150, 2, 30), records[3].m_Position);
    }
    EXPECT_EQ(before, CSceneCounts(Level()));
}

TEST_F(SurfaceObjectsTest, SetsThatWouldShowNothingAreNotMade)
{
    for (const char* object : {"Name='Trees' SurfaceObjectSaturation='0' StaticDist='100' CollisionMeshesDist='5'",
                               "Name='Trees' SurfaceObjectSaturation='-1' StaticDist='100' CollisionMeshesDist='5'",
                               "Name='Trees' SurfaceObjectSaturation='1' CollisionMeshesDist='5'",
                               "Name='Trees' SurfaceObjectSaturation='1' StaticDist='-1' BatchDist='0' CollisionMeshesDist='5'"})
        EXPECT_TRUE(Make({object})->GetSurfaceObjects().empty()) << object;
}

TEST_F(SurfaceObjectsTest, DetailLevelsNestByDistance)
{
    auto scene = Make({"Name='Trees' SurfaceObjectSaturation='1' StaticDist='100' BatchDist='300' ImpostersDist='600' "
                       "GenerateCollisions='false' CollisionMeshesDist='5'"});
    const wrappers::CSurfaceObjectSet& set = *scene->GetSurfaceObjects().front();
    EXPECT_FALSE(set.m_GenerateCollisions);
    const Forests::GeometryPageManager* levels[] = {set.m_Static, set.m_Batched, set.m_Impostors};
    const float ranges[][2] = {{0, 100}, {100, 300}, {300, 600}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(nullptr, levels[i]);
        EXPECT_EQ(ranges[i][0], levels[i]->getNearRange());
        EXPECT_EQ(ranges[i][1], levels[i]->getFarRange());
    }
}

// Drawn without shaders a set has static pages only, out to the batched range
// when it gives no static one.
TEST_F(SurfaceObjectsTest, WithoutShadersStaticPagesOnly)
{
    m_World.App().m_Config->AddChild("Graphics")->AddAttribute("UseShaders", "false");
    auto scene = Make({"Name='Trees' SurfaceObjectSaturation='1' BatchDist='500' ImpostersDist='1000' CollisionMeshesDist='5'"});
    const wrappers::CSurfaceObjectSet& set = *scene->GetSurfaceObjects().front();
    ASSERT_NE(nullptr, set.m_Static);
    EXPECT_EQ(500, set.m_Static->getFarRange());
    EXPECT_EQ(nullptr, set.m_Batched);
    EXPECT_EQ(nullptr, set.m_Impostors);
    EXPECT_EQ(4u, Records(set.m_Static).size());
}

// Two sets may place one mesh: the scene keeps one entity for it.
TEST_F(SurfaceObjectsTest, TwoSetsShareTheEntityOfAMesh)
{
    m_Zone.WritePlacements("zone.More.so", dzgen::TilePlacements(Placements(), 0, 100, 2));
    auto scene = Make({"Name='Trees' SurfaceObjectSaturation='1' StaticDist='1000' CollisionMeshesDist='5'",
                       "Name='More' SurfaceObjectSaturation='1' StaticDist='1000' CollisionMeshesDist='5'"});
    ASSERT_EQ(2u, scene->GetSurfaceObjects().size());
    const auto first = Records(scene->GetSurfaceObjects().front()->m_Static);
    const auto second = Records(scene->GetSurfaceObjects().back()->m_Static);
    ASSERT_EQ(4u, second.size());
    EXPECT_EQ(first[0].m_Entity, second[0].m_Entity);
}

TEST_F(SurfaceObjectsTest, AMissingMeshLeavesItsGroupEmpty)
{
    auto placements = Placements();
    placements.push_back({"NoSuchMesh.mesh", 40, 0, 40, 1, 0});
    m_Zone.WritePlacements("zone.Trees.so", dzgen::TilePlacements(placements, 0, 100, 2));
    auto scene = Make({"Name='Trees' SurfaceObjectSaturation='1' StaticDist='1000' CollisionMeshesDist='5'"});
    EXPECT_EQ(4u, Records(scene->GetSurfaceObjects().front()->m_Static).size());
    EXPECT_TRUE(m_World.m_Log.Has("Error: Mesh not found: NoSuchMesh.mesh"));
}

TEST_F(SurfaceObjectsTest, EitherCornerOrderGivesTheSameBounds)
{
    dzgen::CPlacementFileDesc desc = dzgen::TilePlacements(Placements(), 0, 100, 2);
    std::swap(desc.m_FirstCorner, desc.m_SecondCorner);
    m_Zone.WritePlacements("zone.Trees.so", desc);
    auto scene = Make({"Name='Trees' SurfaceObjectSaturation='1' StaticDist='1000' CollisionMeshesDist='5'"});
    const Forests::TBounds& bounds = scene->GetSurfaceObjects().front()->m_Pager->getBounds();
    EXPECT_EQ(0, bounds.left);
    EXPECT_EQ(0, bounds.top);
    EXPECT_EQ(200, bounds.right);
    EXPECT_EQ(200, bounds.bottom);
    EXPECT_EQ(4u, Records(scene->GetSurfaceObjects().front()->m_Static).size());
}

TEST_F(SurfaceObjectsTest, LogInfoTellsWhatTheFileHolds)
{
    auto scene = Make({"Name='Trees' SurfaceObjectSaturation='1' StaticDist='1000' LogInfo='1' CollisionMeshesDist='5'"});
    const std::string file = m_Zone.Folder() + "zone.Trees.so";
    for (const std::string& line : {file + " has 2 tiles with size = 100,0,100", file + " 0,0 has 2 objects",
                                    file + " 1,0 has 1 objects", std::string("Loading tile 0,0"),
                                    std::string("TestTree.mesh has 2 placements")})
        EXPECT_TRUE(m_World.m_Log.Has(line)) << line;
}

TEST_F(SurfaceObjectsTest, AWrongHeaderStopsTheScene)
{
    dzgen::CPlacementFileDesc desc = dzgen::TilePlacements(Placements(), 0, 100, 2);
    desc.m_Minor = 1;
    m_Zone.WritePlacements("zone.Trees.so", desc);
    const CSceneCounts before(Level());
    try {
        Make({"Name='Trees' SurfaceObjectSaturation='1' StaticDist='1000' CollisionMeshesDist='5'"});
        ADD_FAILURE() << "version 1.1 was accepted";
    } catch (const sds::CException& e) {
        EXPECT_EQ("Incorrect header: " + m_Zone.Folder() + "zone.Trees.so", e.what());
    }
    EXPECT_EQ(before, CSceneCounts(Level()));
}
