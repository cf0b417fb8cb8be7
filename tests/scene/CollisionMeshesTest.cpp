#include <gtest/gtest.h>

#include <cfloat>
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <OGRE/OgreMeshManager.h>

#include "meshgen/MeshDescription.h"
#include "scene/ZoneFixture.h"
#include "scene/ZoneWorld.h"
#include "scene/ogre/MeshToTriangles.h"
#include "scene/ogre/OgreZoneLoader.h"

namespace {

using dzgen::CHomeField;

// The default zone loaded with the camera over a tree of the "Trees" set.
class CollisionMeshesTest : public ::testing::Test
{
protected:
    void LoadAround(const Ogre::Vector3& point)
    {
        m_World.LookFrom(point + Ogre::Vector3(0, 50, 30), point);
        m_Zone = m_World.Load(CZoneWorld::HomeField());
        m_World.Mgr().GetObjectQueue().clear();
    }
    sds::IGfxMgr::CObjectQueue& Queue() { return m_World.Mgr().GetObjectQueue(); }

    static dzgen::CObjectPlacement FirstTree() { return CHomeField::Trees().front(); }
    static Ogre::Vector3 At(const dzgen::CObjectPlacement& p) { return Ogre::Vector3(p.x, p.y, p.z); }

    CZoneWorld m_World;
    std::shared_ptr<sds::ILevelResourceLoader> m_Zone;
};

} // namespace

TEST_F(CollisionMeshesTest, NoBudgetNoMeshes)
{
    LoadAround(At(FirstTree()));
    for (float budget : {0.0f, -1.0f}) {
        m_World.Mgr().GetSurfaceObjectsAround(sds::CVector(FirstTree().x, 0, FirstTree().z), 300, budget);
        EXPECT_TRUE(Queue().empty()) << budget;
    }
}

// The ground and the trees near the point, each once, with their materials,
// where the zone shows them.
TEST_F(CollisionMeshesTest, MeshesOfWhatStandsNearThePointOnce)
{
    const dzgen::CObjectPlacement tree = FirstTree();
    LoadAround(At(tree));
    const sds::CVector point(static_cast<float>(tree.x), 0, static_cast<float>(tree.z));
    m_World.Mgr().GetSurfaceObjectsAround(point, 300, FLT_MAX);
    ASSERT_FALSE(Queue().empty());

    std::set<std::string> materials;
    bool treeAtPoint = false;
    for (const auto& mesh : Queue()) {
        materials.insert(mesh->m_MaterialName);
        ASSERT_EQ(0u, mesh->m_Indices.size() % 3);
        for (std::uint32_t index : mesh->m_Indices)
            ASSERT_LT(index, mesh->m_Vertices.size());
        if (mesh->m_MaterialName.rfind("Terrain/", 0) == 0) {
            // The ground's points are the height field's.
            for (const sds::CVector& v : mesh->m_Vertices)
                ASSERT_NEAR(static_cast<float>(CHomeField::Height(v.x, v.z)), v.y, 1e-3) << v.x << ", " << v.z;
        } else if (mesh->m_MaterialName == "Tree/Bark") {
            // A trunk stands on the ground, a little sunk.
            float lowest = FLT_MAX;
            sds::CVector foot;
            for (const sds::CVector& v : mesh->m_Vertices) {
                if (v.y < lowest) {
                    lowest = v.y;
                    foot = v;
                }
            }
            EXPECT_NEAR(CHomeField::Height(foot.x, foot.z) - 0.2, lowest, 0.2);
            treeAtPoint = treeAtPoint || std::hypot(foot.x - point.x, foot.z - point.z) < 1.0;
        }
    }
    EXPECT_TRUE(materials.count("Terrain/Grass"));
    EXPECT_TRUE(materials.count("Tree/Bark"));
    EXPECT_TRUE(materials.count("Tree/Leaves"));
    EXPECT_TRUE(treeAtPoint);

    const std::size_t first = Queue().size();
    m_World.Mgr().GetSurfaceObjectsAround(point, 300, FLT_MAX);
    EXPECT_EQ(first, Queue().size());
}

// Pages that the camera leaves and comes back to place their objects again,
// and hand out the same meshes under the same keys; the meshes the caller
// calls baked are left out.
TEST_F(CollisionMeshesTest, APageLoadedAgainHandsOutItsMeshesUnlessBaked)
{
    const dzgen::CObjectPlacement tree = FirstTree();
    LoadAround(At(tree));
    const sds::CVector point(static_cast<float>(tree.x), 0, static_cast<float>(tree.z));
    m_World.Mgr().GetSurfaceObjectsAround(point, 300, FLT_MAX);
    std::set<std::string> keys;
    for (const auto& mesh : Queue()) {
        EXPECT_FALSE(mesh->m_Key.empty()) << mesh->m_MaterialName;
        EXPECT_TRUE(keys.insert(mesh->m_Key).second) << "two meshes of " << mesh->m_Key;
    }
    Queue().clear();

    // Far enough for the trees' near pages to go, then back. The pagers
    // release what they left a few pages a frame.
    const Ogre::Vector3 away = At(tree) + Ogre::Vector3(tree.x > 0 ? -700.0f : 700.0f, 0, 0);
    const wrappers::CDotScene& scene = *dynamic_cast<wrappers::COgreZoneLoader&>(*m_Zone).GetScene();
    auto pageOutAndIn = [&] {
        m_World.LookFrom(away + Ogre::Vector3(0, 50, 30), away);
        m_Zone->Update(sds::CTiming());
        for (int frame = 0; frame < 1000 && scene.GetPendingPages() > 0; ++frame)
            m_Zone->Update(sds::CTiming());
        EXPECT_EQ(0u, scene.GetPendingPages());
        m_World.LookFrom(At(tree) + Ogre::Vector3(0, 50, 30), At(tree));
        m_Zone->Update(sds::CTiming());
    };
    pageOutAndIn();
    m_World.Mgr().GetSurfaceObjectsAround(point, 300, FLT_MAX);
    bool treeAgain = false;
    for (const auto& mesh : Queue()) {
        EXPECT_TRUE(keys.count(mesh->m_Key)) << "a new key " << mesh->m_Key;
        treeAgain = treeAgain || mesh->m_MaterialName == "Tree/Bark";
    }
    EXPECT_TRUE(treeAgain);
    Queue().clear();

    pageOutAndIn();
    m_World.Mgr().GetSurfaceObjectsAround(point, 300, FLT_MAX,
                                          [&keys](const std::string& key) { return keys.count(key) != 0; });
    EXPECT_TRUE(Queue().empty());
}

TEST_F(CollisionMeshesTest, NothingForAPointFarAboveEverything)
{
    LoadAround(At(FirstTree()));
    m_World.Mgr().GetSurfaceObjectsAround(sds::CVector(FirstTree().x, 5000, FirstTree().z), 300, FLT_MAX);
    EXPECT_TRUE(Queue().empty());
}

TEST_F(CollisionMeshesTest, NothingOnceTheZoneIsGone)
{
    LoadAround(At(FirstTree()));
    m_Zone.reset();
    m_World.Mgr().GetSurfaceObjectsAround(sds::CVector(FirstTree().x, 0, FirstTree().z), 300, FLT_MAX);
    EXPECT_TRUE(Queue().empty());
}

// A set out of collisions gives none; a set with impostor pages only gives
// them through those.
TEST(CollisionMeshSets, OnlySetsThatGenerateCollisions)
{
    CZoneWorld world;
    CZoneFixture zone;
    zone.AddMesh(meshgen::Tree(), "TestTree.mesh");
    zone.WriteTiles("dz", {{"0.0", "0,0,0"}}, "0,0,0", "200,0,200", 200);
    const std::vector<dzgen::CObjectPlacement> trees{{"TestTree.mesh", 50, 0, 50, 1, 0}, {"TestTree.mesh", 60, 0, 40, 1, 0}};
    zone.WritePlacements("zone.Off.so", dzgen::TilePlacements(trees, 0, 100, 2));
    zone.WritePlacements("zone.Far.so", dzgen::TilePlacements(trees, 0, 100, 2));
    world.LookFrom(Ogre::Vector3(50, 30, 80), Ogre::Vector3(50, 0, 50));
    auto loader = world.Load(zone.Scene(
        "TerrainLod0Distance='1000' DeepestPoint='-5' Name='zone' DistanceToTileForCollisionMultiplier='0.01'",
        {"Name='Off' SurfaceObjectSaturation='1' StaticDist='1000' GenerateCollisions='false' CollisionMeshesDist='100'",
         "Name='Far' SurfaceObjectSaturation='1' ImpostersDist='1000' CollisionMeshesDist='100'"}));
    world.Mgr().GetObjectQueue().clear();
    world.Mgr().GetSurfaceObjectsAround(sds::CVector(55, 0, 45), 300, FLT_MAX);
    // Two trees of the impostor set, bark and leaves each; no ground within 2 m of the tile's corner.
    ASSERT_EQ(4u, world.Mgr().GetObjectQueue().size());
    for (const auto& mesh : world.Mgr().GetObjectQueue())
        EXPECT_EQ(0u, mesh->m_MaterialName.rfind("Tree/", 0)) << mesh->m_MaterialName;
}

// One triangle mesh per sub-mesh, each with its material, in world space.
TEST(MeshToTriangles, OneMeshPerSubMesh)
{
    CZoneWorld world;
    CZoneFixture zone;
    const meshgen::CMeshDesc desc = meshgen::Tree();
    zone.AddMesh(desc, "TestTree.mesh");
    wrappers::CTriangleMeshes meshes;
    const Ogre::Quaternion turn(Ogre::Degree(90), Ogre::Vector3::UNIT_Y);
    wrappers::MeshToTriangles(*Ogre::MeshManager::getSingleton().getByName("TestTree.mesh", "General"), meshes,
                              Ogre::Vector3(100, 5, -20), turn, Ogre::Vector3(2));
    ASSERT_EQ(desc.m_SubMeshes.size(), meshes.size());
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        const meshgen::CGeometry& source = desc.m_SubMeshes[i].m_Geometry;
        EXPECT_EQ(desc.m_SubMeshes[i].m_Material, meshes[i]->m_MaterialName);
        EXPECT_EQ(source.m_Indices, meshes[i]->m_Indices);
        ASSERT_EQ(source.m_Vertices.size(), meshes[i]->m_Vertices.size());
        const Ogre::Vector3 expected = turn * (source.m_Vertices[5].m_Pos * 2) + Ogre::Vector3(100, 5, -20);
        EXPECT_NEAR(expected.x, meshes[i]->m_Vertices[5].x, 1e-4);
        EXPECT_NEAR(expected.y, meshes[i]->m_Vertices[5].y, 1e-4);
        EXPECT_NEAR(expected.z, meshes[i]->m_Vertices[5].z, 1e-4);
    }
}

// A key names the mesh, the sub-mesh and the placement to the bit; the
// sub-meshes whose keys the filter knows are left out.
TEST(MeshToTriangles, KeysOfPlacementsAndTheFilter)
{
    CZoneWorld world;
    CZoneFixture zone;
    zone.AddMesh(meshgen::Tree(), "TestTree.mesh");
    zone.AddMesh(meshgen::Bush(), "TestBush.mesh");
    const Ogre::MeshPtr tree = Ogre::MeshManager::getSingleton().getByName("TestTree.mesh", "General");
    const Ogre::MeshPtr bush = Ogre::MeshManager::getSingleton().getByName("TestBush.mesh", "General");
    const Ogre::Vector3 at(100, 5, -20), scale(1.2f);
    const Ogre::Quaternion turn(Ogre::Degree(30), Ogre::Vector3::UNIT_Y);
    auto keys = [](const Ogre::MeshPtr& mesh, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& size, const sds::CIsBaked& isBaked = sds::CIsBaked()) {
        wrappers::CTriangleMeshes meshes;
        wrappers::MeshToTriangles(*mesh, meshes, position, rotation, size, isBaked);
        std::vector<std::string> result;
        for (const auto& m : meshes)
            result.push_back(m->m_Key);
        return result;
    };
    const std::vector<std::string> placed = keys(tree, at, turn, scale);
    ASSERT_EQ(2u, placed.size());
    EXPECT_NE(placed[0], placed[1]);
    EXPECT_EQ(placed[1], wrappers::TriangleMeshKey(*tree, 1, at, turn, scale));
    EXPECT_EQ(placed, keys(tree, at, turn, scale));

    struct CCase
    {
        const char* m_What;
        std::vector<std::string> m_Keys;
    };
    const CCase others[] = {
        {"moved a tenth of a millimetre", keys(tree, at + Ogre::Vector3(1e-4f, 0, 0), turn, scale)},
        {"turned", keys(tree, at, Ogre::Quaternion(Ogre::Degree(31), Ogre::Vector3::UNIT_Y), scale)},
        {"scaled", keys(tree, at, turn, Ogre::Vector3(1.2f, 1.25f, 1.2f))},
        {"another mesh", keys(bush, at, turn, scale)},
    };
    for (const CCase& other : others)
        for (const std::string& key : other.m_Keys)
            EXPECT_EQ(placed.end(), std::find(placed.begin(), placed.end(), key)) << other.m_What;

    const std::set<std::string> baked{placed[0]};
    const auto isBaked = [&baked](const std::string& key) { return baked.count(key) != 0; };
    EXPECT_EQ(std::vector<std::string>{placed[1]}, keys(tree, at, turn, scale, isBaked));
    EXPECT_TRUE(keys(tree, at, turn, scale, [](const std::string&) { return true; }).empty());
}
