// The level over the real stack on a GL window: the default drop zone loaded
// in its three stages with the jump preset, drawn from the zone's camera
// toward the target (kept as test-artifacts/scene/level-loaded.png), the
// ground's collision queued around the target, and teardowns that leave the
// scene and the resource managers as they were, after a good load and after
// one that fails in its last stage.

#include <algorithm>
#include <cmath>
#include <string>

#include <gtest/gtest.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSkeletonInstance.h>

#include "LevelStack.h"
#include "graphics/ICamera.h"
#include "jumper/IJumper.h"
#include "level/EngineLoader.h"
#include "scene/SceneCounts.h"
#include "scene/ZoneWorld.h"
#include "support/DefaultConfig.h"
#include "support/Pictures.h"

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
