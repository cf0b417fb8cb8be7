#include <memory>

#include <gtest/gtest.h>

#include "GfxObjectModelTests.h"
#include "MemWorld.h"
#include "SkeletonAnimationTests.h"
#include "TerrainRayTests.h"
#include "graphics/memory/MemOverlayElement.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SkeletonAnimationTest, CMemWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, GfxObjectModelTest, CMemWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TerrainRayTest, CMemWorld);

TEST(MemGfxMgr, UnknownMeshThrowsUnlessAllowed)
{
    sds::CMemGfxMgr mgr;
    EXPECT_THROW(mgr.CreateObject("NoSuchMesh", nullptr), sds::CException);
    mgr.SetAllowUnknownMeshes(true);
    EXPECT_VECTOR_NEAR(sds::CVector(1, 1, 1), mgr.CreateObject("NoSuchMesh", nullptr)->GetSize(), 1e-4f);
}

TEST(MemGfxMgr, TakenEntityNameGetsAUniqueOne)
{
    sds::CMemGfxMgr mgr;
    mgr.CreateEntity("Clash", "Cube.mesh");
    const sds::CGfxObjPtr object = mgr.GetRootObject()->CreateChild("Clash", "Cube");
    EXPECT_EQ("Clash", object->GetName());
    EXPECT_NE("Clash.Entity", object->GetEntityName());
}

TEST(MemGfxMgr, ColourChangesTheMaterialOfEveryUser)
{
    sds::CMemGfxMgr mgr;
    const sds::CGfxObjPtr a = mgr.CreateObject("Cube", nullptr);
    const sds::CGfxObjPtr b = mgr.CreateObject("Cube", nullptr);
    sds::CFourFloats red;
    red.ParseQuaternion("1,0,0,0.5");
    a->SetSubEntityColour(0, red);
    const sds::mem::CMaterial* shared = mgr.GetMaterial(b->GetSubEntityMaterialName(0));
    EXPECT_FLOAT_EQ(0.5f, shared->m_Diffuse.v[3]);
    EXPECT_VECTOR_NEAR(sds::CVector(1, 0, 0), shared->m_Ambient, 1e-4f);
}

TEST(MemGfxMgr, OverlaysShowWhileTheirObjectLives)
{
    sds::CMemGfxMgr mgr;
    mgr.DefineOverlay("Hud", {"Hud/Speed"});
    try {
        mgr.CreateOverlayed("NoSuchOverlay");
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ("Overlay 'NoSuchOverlay' was not found", e.what());
    }
    {
        const sds::COverlayedPtr hud = mgr.CreateOverlayed("Hud");
        EXPECT_TRUE(mgr.IsOverlayVisible("Hud"));
        EXPECT_EQ(hud->GetElement("Hud/Speed"), hud->GetElement("Hud/Speed"));
        hud->GetElement("Hud/Speed")->SetCaption("12 m/s");
        EXPECT_EQ("12 m/s", hud->GetElement("Hud/Speed")->GetCaption());
    }
    EXPECT_FALSE(mgr.IsOverlayVisible("Hud"));
}

TEST(MemGfxMgr, ResetSceneLeavesOldObjectsHarmless)
{
    sds::CMemGfxMgr mgr;
    sds::CGfxObjPtr survivor = mgr.CreateObject("Cube", nullptr);
    const sds::CGfxObjPtr oldRoot = mgr.GetRootObject();
    mgr.ResetScene();
    EXPECT_NE(oldRoot, mgr.GetRootObject());
    EXPECT_EQ(0, mgr.GetRootObject()->GetNumChildren());
    // Releasing an object of the old scene touches nothing of the new one.
    survivor.reset();
    EXPECT_TRUE(mgr.GetRootObject()->CreateChild("Fresh", "Cube"));
}

TEST(MemGfxMgr, ObjectsMayOutliveTheManager)
{
    auto mgr = std::make_unique<sds::CMemGfxMgr>();
    sds::CGfxObjPtr parent = mgr->CreateObject("Cube", nullptr);
    sds::CGfxObjPtr child = parent->CreateChild("Kid", "Cube");
    mgr.reset();
    // Released after their manager and its nodes are gone, they touch neither.
    child.reset();
    parent.reset();
}

// The zone's camera as the rendering side has it: none before the zone makes
// it, none after the zone or a scene reset takes it; this one records.
TEST(MemGfxMgr, RecordingCameraComesAndGoesWithTheZone)
{
    sds::CMemGfxMgr mgr;
    EXPECT_EQ(nullptr, mgr.GetCamera());
    mgr.UpdateCamera(sds::CTiming());

    mgr.CreateCamera();
    sds::ICamera* camera = mgr.GetCamera();
    ASSERT_NE(nullptr, camera);
    camera->SetMode(sds::CameraEvents::camera_behind);
    camera->SetMode(99);
    camera->Attach(mgr.GetRootObject());
    camera->SetPos(sds::CVector(1, 2, 3));
    camera->LookAt(sds::CVector(4, 5, 6));
    sds::CTiming timing;
    timing.m_Elapsed = 0.25f;
    mgr.UpdateCamera(timing);
    const sds::CMemCamera& recorded = *mgr.GetMemCamera();
    EXPECT_EQ(std::vector<int>{sds::CameraEvents::camera_behind}, recorded.m_Modes);
    EXPECT_TRUE(camera->IsAttached());
    EXPECT_VECTOR_NEAR(sds::CVector(1, 2, 3), camera->GetPos(), 0.0f);
    ASSERT_EQ(1u, recorded.m_LookAt.size());
    ASSERT_EQ(1u, recorded.m_Updates.size());
    EXPECT_FLOAT_EQ(0.25f, recorded.m_Updates[0].m_Elapsed);

    mgr.DestroyCamera();
    EXPECT_EQ(nullptr, mgr.GetCamera());
    mgr.UpdateCamera(timing);
    mgr.CreateCamera();
    mgr.ResetScene();
    EXPECT_EQ(nullptr, mgr.GetCamera());
}
