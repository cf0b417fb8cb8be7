// The level over the real stack on a GL window: the default drop zone loaded
// in its three stages with the jump preset, drawn from the zone's camera
// toward the target (kept as test-artifacts/scene/level-loaded.png), the
// ground's collision queued around the target and baked where the terrain is
// drawn, also under a jumper far off, and teardowns that leave the
// scene and the resource managers as they were, after a good load and after
// one that fails in its last stage.

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSkeletonInstance.h>

#include "LevelStack.h"
#include "graphics/ICamera.h"
#include "jumper/IJumper.h"
#include "level/EngineLoader.h"
#include "physics/IPhyMgr.h"
#include "physics/IPhyObj.h"
#include "jumper/ObjGround.h"
#include "physics/PhyMgr.h"
#include "physics/sdk/IScene.h"
#include "scene/SceneCounts.h"
#include "scene/ZoneWorld.h"
#include "support/DefaultConfig.h"
#include "support/Pictures.h"
#include "support/TempDir.h"

namespace {

class LevelDisplayTest : public ::testing::Test
{
protected:
    LevelDisplayTest()
    {
        // The level reads the whole shipped configuration.
        m_World.App().m_Config = LoadDefaultConfig();
        m_Stack.SetDropZone();
    }

    xml::CNodePtr Scene() const { return m_Stack.GetDropZone()->GetWorkingTree()->GetChild("scene"); }
    Ogre::SceneManager* OgreScene() { return m_World.Scene(); }

    // Loads the level, then tears it down: the physics mod too, as the game mode does.
    void Cycle()
    {
        m_Stack.Load();
        m_Stack.Unload();
    }

    CZoneWorld m_World;
    CLevelStack m_Stack;
};

// The distance on the ground from the point to the nearest vertex of the mesh.
float GroundDistance(const sds::CTriangleMesh& mesh, const sds::CVector& point)
{
    float nearest = INFINITY;
    for (const sds::CVector& v : mesh.m_Vertices)
        nearest = std::min(nearest, std::hypot(v.x - point.x, v.z - point.z));
    return nearest;
}

// Whether the mesh's extent on the ground holds the point.
bool Covers(const sds::CTriangleMesh& mesh, const sds::CVector& point)
{
    float minX = INFINITY, maxX = -INFINITY, minZ = INFINITY, maxZ = -INFINITY;
    for (const sds::CVector& v : mesh.m_Vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minZ = std::min(minZ, v.z);
        maxZ = std::max(maxZ, v.z);
    }
    return minX <= point.x && point.x <= maxX && minZ <= point.z && point.z <= maxZ;
}

} // namespace

TEST_F(LevelDisplayTest, DefaultZoneLoadsWholeAndIsDrawnFromItsCamera)
{
    const sds::CVector targetInFile = Scene()->GetChild("Target")->GetAttribute("Position")->GetValue<sds::CVector>();
    sds::CDZLoaderMod& level = m_Stack.Load();
    const sds::CEngineLoader& loader = level.GetEngineLoader();
    EXPECT_TRUE(m_World.m_Log.Has("Drop zone is loaded"));
    // The shipped media hold the jumper material's templates.
    EXPECT_FALSE(m_World.m_Log.HasContaining("The jumper material is not set"));

    // The last stage asked for the ground's collision around the landing
    // area: the tile under the target and its neighbours, not the whole
    // zone's 2 km square.
    const sds::IGfxMgr::CObjectQueue& queue = m_World.Mgr().GetObjectQueue();
    ASSERT_FALSE(queue.empty());
    bool underTarget = false;
    for (const auto& mesh : queue) {
        EXPECT_FALSE(mesh->m_Indices.empty());
        EXPECT_LT(GroundDistance(*mesh, targetInFile), 2 * dzgen::CHomeField::kTileSize) << "a mesh far from the target";
        underTarget = underTarget || Covers(*mesh, targetInFile);
    }
    EXPECT_TRUE(underTarget);

    EXPECT_EQ(targetInFile, loader.GetTargetPos());
    ASSERT_FALSE(level.GetJumperMgr().GetJumpers().empty());
    const sds::CGfxObjPtr jumper = level.GetJumperMgr().GetJumpers().front()->GetGfxObj();
    EXPECT_FLOAT_EQ(jumper->GetWorldPos().y, loader.GetJumperHeight());
    EXPECT_GT(loader.GetJumperHeight(), targetInFile.y + 50.0f) << "the jumper starts in the air";

    // From the zone's camera toward the target, with the level's own camera
    // held still; frames of no time let the zone page around it and the
    // level's objects take their bodies' poses before the picture.
    sds::ICamera* camera = m_World.Mgr().GetCamera();
    ASSERT_NE(nullptr, camera);
    camera->SetMode(sds::CameraEvents::camera_free);
    camera->SetPos(Scene()->GetChild("Camera")->GetAttribute("Pos")->GetValue<sds::CVector>());
    camera->LookAt(targetInFile);
    for (int frame = 0; frame < 10; ++frame) {
        m_World.Mgr().UpdateCamera(sds::CTiming());
        level.Update(sds::CTiming());
        COgreTestEnvironment::Get().RenderFrame();
    }
    CaptureWindow(m_World.Mgr(), CZoneWorld::ArtifactFolder(), "level-loaded");

    // What the picture shows stands where the file puts it.
    const auto placed = [this](const std::string& mesh, const sds::CVector& at) {
        for (const auto& object : OgreScene()->getMovableObjects("Entity")) {
            const auto* entity = static_cast<const Ogre::Entity*>(object.second);
            const Ogre::SceneNode* node = entity->getParentSceneNode();
            if (entity->getMesh()->getName() != mesh + ".mesh" || !node)
                continue;
            // A rag doll's model is posed by its bones, its node staying put.
            const Ogre::Vector3 p = entity->hasSkeleton()
                                        ? node->_getFullTransform() *
                                              entity->getSkeleton()->getRootBones().front()->_getDerivedPosition()
                                        : node->_getDerivedPosition();
            if (std::hypot(p.x - at.x, p.z - at.z) < 2.0f)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(placed("Target", targetInFile));
    xml::ForEachChild(*Scene(), "WindSock", [&](const xml::CNodePtr& sock) {
        const sds::CVector at = sock->GetAttribute("Position")->GetValue<sds::CVector>();
        EXPECT_TRUE(placed("WindSock", at)) << "a windsock at " << at.x << ", " << at.z;
    });
    xml::ForEachChild(*Scene(), "Tree", [&](const xml::CNodePtr& tree) {
        const sds::CVector at = tree->GetAttribute("Pos")->GetValue<sds::CVector>();
        EXPECT_TRUE(placed("Tree", at)) << "a tree at " << at.x << ", " << at.z;
    });
}

// The ground a jumper lands on is the ground drawn, wherever it comes down:
// around the target as the level loads, and far off once a jumper nears it.
// Boxes dropped onto the landing area, off its edges and under the jumper
// come to rest on the drawn terrain.
TEST_F(LevelDisplayTest, TheBakedGroundLiesUnderTheTerrainDrawn)
{
    // The aircraft, and the jumper at its door, 40 m over the runway's far
    // end, 300 m from the target.
    const sds::CVector jumperAt(-150.0f, 40.0f, -250.0f);
    m_World.App().m_Config->GetChild("Airplane")->GetAttribute("Altitude")->SetValue(sds::VectorToString(jumperAt));
    sds::CDZLoaderMod& level = m_Stack.Load();
    // Frames of no time: the aircraft stays where it is while the ground is baked.
    for (int i = 0; i < 10000 && (i < 10 || !m_World.Mgr().GetObjectQueue().empty()); ++i) {
        level.Update(sds::CTiming());
        m_Stack.Physics()->Update(sds::CTiming());
    }
    ASSERT_TRUE(m_World.Mgr().GetObjectQueue().empty());
    const sds::CVector stands = level.GetJumperMgr().GetJumpers().front()->GetPos();
    ASSERT_LT(std::hypot(stands.x - jumperAt.x, stands.z - jumperAt.z), 5.0f);

    const sds::CTerrainRayTestPtr terrain = m_World.Mgr().GetTerrainRayTest();
    ASSERT_TRUE(terrain);
    const sds::CVector target = level.GetEngineLoader().GetTargetPos();
    struct CPlace
    {
        const char* m_What;
        float x, z;
    };
    const CPlace places[] = {{"the target", target.x, target.z},
                             {"the landing area's west edge", target.x - 120.0f, target.z},
                             {"the landing area's south edge", target.x, target.z - 120.0f},
                             {"the landing area's north-east", target.x + 85.0f, target.z + 85.0f},
                             {"under the jumper", jumperAt.x, jumperAt.z},
                             {"beside the jumper, off the runway", jumperAt.x + 60.0f, jumperAt.z + 80.0f}};
    physics::IPhyMgr& world = m_Stack.Physics()->GetPhyMgr();
    const float half = 0.1f;
    std::vector<std::shared_ptr<physics::IPhyObj>> boxes;
    for (const CPlace& place : places) {
        const auto hit = terrain->RayTest(sds::CVector(place.x, 500.0f, place.z), sds::CVector(0, -1, 0));
        ASSERT_TRUE(hit) << place.m_What;
        boxes.push_back(world.CreateBox(hit->m_Point + sds::CVector(0, 2.0f, 0),
                                        sds::CVector(2 * half, 2 * half, 2 * half), 100.0f, ""));
    }
    sds::CTiming frame;
    frame.m_Elapsed = 1.0f / 60.0f;
    for (int i = 0; i < 120; ++i)
        world.Update(frame);
    // Measured under where each box came to rest: on a slope it may slide a little.
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const sds::CVector rest = boxes[i]->GetPos();
        const auto under = terrain->RayTest(sds::CVector(rest.x, 500.0f, rest.z), sds::CVector(0, -1, 0));
        ASSERT_TRUE(under) << places[i].m_What;
        EXPECT_NEAR(under->m_Point.y + half, rest.y, 0.05f) << places[i].m_What;
    }
}

// Over a session the ground's collision is baked once: jumps that come down
// by the same copse again, while the camera leaves it (its pages go) and
// comes back to it (they are placed again), add no mesh and no actor to the
// physics world.
TEST_F(LevelDisplayTest, JumpsBackToACopseBakeNothingTwice)
{
    // The jumper at the aircraft's door 40 m over the copse west of the landing area.
    const sds::CVector copse(-160.0f, 40.0f, 120.0f);
    m_World.App().m_Config->GetChild("Airplane")->GetAttribute("Altitude")->SetValue(sds::VectorToString(copse));
    sds::CDZLoaderMod& level = m_Stack.Load();
    sds::ICamera* camera = m_World.Mgr().GetCamera();
    ASSERT_NE(nullptr, camera);
    auto lookAt = [&](const sds::CVector& at) {
        camera->SetMode(sds::CameraEvents::camera_free);
        camera->SetPos(at + sds::CVector(0, 60.0f, 40.0f));
        camera->LookAt(at);
        m_World.Mgr().UpdateCamera(sds::CTiming());
    };
    // Frames of no time: the jumper stays at the door while the ground is baked.
    std::set<std::string> queued;
    auto bake = [&] {
        lookAt(copse);
        for (int i = 0; i < 10000 && (i < 10 || !m_World.Mgr().GetObjectQueue().empty()); ++i) {
            level.Update(sds::CTiming());
            for (const auto& mesh : m_World.Mgr().GetObjectQueue())
                queued.insert(mesh->m_MaterialName);
            m_Stack.Physics()->Update(sds::CTiming());
        }
        ASSERT_TRUE(m_World.Mgr().GetObjectQueue().empty());
    };
    const auto& world = dynamic_cast<const physics::CPhyMgr&>(m_Stack.Physics()->GetPhyMgr());
    bake();
    ASSERT_TRUE(queued.count("Tree/Bark") && queued.count("Pine/Needles")) << "no tree of the copse was baked";
    const std::size_t meshes = m_Stack.Physics()->GetGround().GetMeshes().size();
    const std::size_t actors = world.GetScene().GetActors().size();

    for (int jump = 2; jump <= 3; ++jump) {
        lookAt(sds::CVector(800.0f, 0.0f, -800.0f));
        level.Update(sds::CTiming());
        level.Restart();
        m_Stack.Physics()->Restart();
        bake();
        EXPECT_EQ(meshes, m_Stack.Physics()->GetGround().GetMeshes().size()) << "jump " << jump;
        EXPECT_EQ(actors, world.GetScene().GetActors().size()) << "jump " << jump;
    }
}

TEST_F(LevelDisplayTest, TeardownLeavesTheSceneAsItWasAndASecondCycleNoMoreResources)
{
    const CSceneCounts before(OgreScene());
    Cycle();
    EXPECT_EQ(before, CSceneCounts(OgreScene()));
    const CResourceCounts first;

    Cycle();
    EXPECT_EQ(before, CSceneCounts(OgreScene()));
    const CResourceCounts second;
    EXPECT_LE(second.m_Meshes, first.m_Meshes);
    EXPECT_LE(second.m_Materials, first.m_Materials);
    EXPECT_LE(second.m_Textures, first.m_Textures);
    EXPECT_LE(second.m_Skeletons, first.m_Skeletons);
}

TEST_F(LevelDisplayTest, ALoadFailingInItsLastStageLeavesNothingAndTheNextLoadWorks)
{
    const CSceneCounts before(OgreScene());
    m_Stack.SetDropZone("../data/Skorvel/HomeField.dz", [](const xml::CNodePtr& scene) {
        const xml::CNodePtr missing = scene->AddChild("SimObj");
        missing->AddAttribute("File", "../data/physics/NoSuchObject.phs");
        missing->AddAttribute("Position", "100,0,100");
        missing->AddAttribute("Orientation", "1, 0, 0, 0");
    });
    EXPECT_ANY_THROW(m_Stack.Load());
    EXPECT_EQ(nullptr, m_Stack.Level());
    EXPECT_TRUE(m_World.m_Log.Has("Resource unloaded: Physics"));
    EXPECT_TRUE(m_World.m_Log.Has("Resource unloaded: DZGfx"));
    m_Stack.Unload();
    EXPECT_EQ(before, CSceneCounts(OgreScene()));

    m_Stack.SetDropZone();
    EXPECT_NO_THROW(m_Stack.Load());
    EXPECT_TRUE(m_World.m_Log.Has("Drop zone is loaded"));
}

// A drop zone whose ground is missing or cannot be paged would load as a jump
// that never ends, or fail with the rendering engine's internals; it is
// refused with the drop zone, the file and what in it is wrong.
TEST_F(LevelDisplayTest, ADropZoneWithoutGroundIsRefusedNamingTheFileAndWhatIsWrong)
{
    CTempDir folder;
    std::ofstream(folder.File("empty.tiles")) << "<Tiles Name='HomeField' MinCorner='-1000,-20,-1000' "
                                                 "MaxCorner='1000,90,1000' TileSize='250,0,250' />";
    std::ofstream(folder.File("flat.tiles")) << "<Tiles Name='HomeField' MinCorner='0,0,0' MaxCorner='0,90,0' "
                                                "TileSize='250,0,250'><Tile Name='0.0' Pos='0,0,0' /></Tiles>";
    const auto tiles = [&folder](const std::string& file) {
        return [&folder, file](const xml::CNodePtr& scene) {
            const xml::CNodePtr terrain = scene->GetChild("Terrain");
            terrain->GetAttribute("Path")->SetValue(folder.Path() + "/");
            terrain->GetAttribute("TerrainTiles")->SetValue(file);
        };
    };
    const std::string zone = "Home Field (../data/Skorvel/HomeField.dz) cannot be loaded.\n";
    const struct
    {
        const char* damage;
        std::function<void(const xml::CNodePtr&)> edit;
        std::string message;
    } cases[] = {
        {"no terrain", [](const xml::CNodePtr& scene) { scene->RemoveChild(scene->GetChild("Terrain")); },
         zone + "It has no \"Terrain\", so there is no ground to land on."},
        {"tiles without a tile", tiles("empty.tiles"),
         zone + "The terrain tiles file " + folder.Path() + "/empty.tiles has no \"Tile\", so there is no ground to land on."},
        {"tiles of no size", tiles("flat.tiles"),
         zone + "The terrain tiles file " + folder.Path() + "/flat.tiles has a \"MinCorner\" (0,0,0) that is not below "
                "its \"MaxCorner\" (0,90,0) in x and z."},
    };
    const CSceneCounts before(OgreScene());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        m_Stack.SetDropZone("../data/Skorvel/HomeField.dz", c.edit);
        try {
            m_Stack.Load();
            ADD_FAILURE() << "loaded";
        } catch (const std::exception& e) {
            EXPECT_EQ(c.message, e.what());
        }
        m_Stack.Unload();
        EXPECT_EQ(before, CSceneCounts(OgreScene()));
    }
}
