#include <functional>
#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include "GeneratedObjectTests.h"
#include "GfxObjectModelTests.h"
#include "MemWorld.h"
#include "SkeletonAnimationTests.h"
#include "TerrainRayTests.h"
#include "graphics/memory/MemDial.h"
#include "graphics/memory/MemOverlayElement.h"
#include "graphics/memory/MemRibbonTrail.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SkeletonAnimationTest, CMemWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, GfxObjectModelTest, CMemWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TerrainRayTest, CMemWorld);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, GeneratedObjectTest, CMemWorld);

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

TEST(MemGfxMgr, DialsRecordWhatTheyAreTold)
{
    sds::CMemGfxMgr mgr;
    const auto first = mgr.CreateDial(TestDialElement(TestRenderTargetXml()), TestDialElement(TestFaceXml()),
                                      TestDialElement(TestNeedleXml()));
    const auto second = mgr.CreateDial(TestDialElement(TestRenderTargetXml()), TestDialElement(TestFaceXml()),
                                       TestDialElement(TestNeedleXml()));
    auto& analog = dynamic_cast<sds::CMemDial&>(*second);
    EXPECT_VECTOR_NEAR(sds::CVector(200, 0, 0), analog.m_Position, 1e-6f);
    EXPECT_EQ("Test/DialNeedle", analog.m_Needle.m_Material);
    EXPECT_EQ(64, analog.m_Target.m_Width);
    second->SetValue(90.0f);
    second->SetValue(0.0f);
    EXPECT_EQ((std::vector<float>{90.0f, 0.0f}), analog.m_Values);
    EXPECT_FALSE(analog.IsDigital());
}

TEST(MemGfxMgr, TrailHeadsDimWithinTheirInitialColours)
{
    sds::CMemGfxMgr mgr;
    const sds::CGfxObjPtr jumper = mgr.CreateObject("Cube", nullptr);
    const auto trail = mgr.CreateRibbonTrail(
        TestDialElement("<Trail HeadMaterial='BaseWhite'><Chain Index='0' InitialColor='0.8 0.4 0.2 1' "
                        "ColorChange='0 0 0 0.5' InitialWidth='0.3' WidthChange='0'/></Trail>"),
        mgr.GetRootObject());
    auto& recorded = dynamic_cast<sds::CMemRibbonTrail&>(*trail);
    EXPECT_FALSE(recorded.m_HasHead);
    trail->AddObject(jumper);
    EXPECT_TRUE(recorded.m_HasHead);
    EXPECT_EQ(jumper->GetName(), recorded.m_HeadOn);
    struct Case
    {
        float factor, expected;
    };
    for (const Case& c : {Case{2.0f, 1.0f}, Case{0.5f, 0.5f}, Case{-1.0f, 0.0f}}) {
        trail->SetIntensity(c.factor);
        EXPECT_FLOAT_EQ(0.8f * c.expected, recorded.m_HeadColour.v[0]) << c.factor;
        EXPECT_FLOAT_EQ(0.8f * c.expected, recorded.m_Chains[0].m_HeadColour.v[0]) << c.factor;
    }
    trail->RemoveObject(jumper);
    EXPECT_TRUE(recorded.m_Trailed.empty());
    EXPECT_FALSE(recorded.m_HasHead);
}

TEST(MemGfxMgr, ReleasedObjectsTakeTheirMeshesAndCopiesAlong)
{
    CMemWorld world;
    sds::CMemGfxMgr& mgr = world.Memory();
    const std::size_t materials = mgr.GetMaterialNames().size();
    const std::size_t meshes = mgr.GetNumMeshes();
    const std::size_t nodes = mgr.GetNumNodes();
    for (int i = 0; i < 1000; ++i) {
        sds::CGfxObjPtr cube = mgr.CreateObject("Cube", nullptr);
        cube->SetMaterial("BaseWhite", true);
        mgr.CreatePlane(2, 2, 1.0f, 1.0f);
        mgr.CreateMeshObject(">plane");
        cube->CreateChild("Marker", ">plane");
        mgr.CreateRope(1.0f, 0.02f, 3, cube);
        mgr.CreateTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, sds::CFourFloats());
        sds::CGfxObjPtr tool = mgr.CreateObject("Cube", nullptr);
        sds::CGfxObjPtr rig = mgr.CreateObject("SkeletonTest", nullptr);
        rig->AttachToBone(tool, 1, sds::CVector(), sds::CQuaternion(), false, false);
    }
    EXPECT_EQ(materials, mgr.GetMaterialNames().size());
    EXPECT_EQ(meshes, mgr.GetNumMeshes());
    EXPECT_EQ(nodes, mgr.GetNumNodes());
    EXPECT_EQ(0u, mgr.GetNumEntities());
}

TEST(MemGfxMgr, ReleasedObjectUnhooksOnlyWhatItHung)
{
    sds::CMemGfxMgr mgr;
    sds::CGfxObjPtr body = mgr.CreateObject("Cube", nullptr);
    const sds::CGfxObjPtr kid = body->CreateChild("Kid", ">novis");
    sds::mem::CNode* node = static_cast<sds::CMemGfxObj&>(*body).GetNode();
    // Other code hangs a node of its own there.
    sds::mem::CNode* chain = mgr.CreateNode("ChaseCameraNode", node);
    body.reset();
    EXPECT_EQ(node, chain->m_Parent);
    EXPECT_FALSE(kid->GetParent());
}

// World poses are kept between changes: a pose read before any change of a
// parent, a bone or the hanging must not be what is read after it. Each row
// changes one thing; the read after it must match one worked out afresh (after
// an unrelated object moves) and differ from the read before it.
TEST(MemGfxMgr, KeptWorldPosesFollowEveryChange)
{
    CMemWorld world;
    sds::CMemGfxMgr& mgr = world.Memory();
    const sds::CGfxObjPtr top = mgr.CreateObject(">novis", nullptr);
    const sds::CGfxObjPtr rig = top->CreateChild("Rig", "SkeletonTest");
    const sds::CGfxObjPtr tool = mgr.CreateObject("Cube", nullptr);
    rig->AttachToBone(tool, 2, sds::CVector(0, 0.5f, 0), sds::CQuaternion(), false, false);
    const sds::CGfxObjPtr other = mgr.CreateObject(">novis", nullptr);
    const sds::CGfxObjPtr unrelated = mgr.CreateObject(">novis", nullptr);
    const sds::CSkeletonPtr skeleton = rig->GetSkeleton();
    sds::CVector axis(0.3f, 0.9f, 0.1f);
    axis.Normalize();
    sds::CQuaternion turn;
    turn.FromAngleAxis(0.7f, axis);

    const std::pair<const char*, std::function<void()>> changes[] = {
        {"top moved", [&] { top->SetPos(sds::CVector(1, 2, 3)); }},
        {"top turned", [&] { top->SetOrientation(turn); }},
        {"top scaled", [&] { top->SetScale(sds::CVector(2, 2, 2)); }},
        {"top yawed", [&] { top->Yaw(30); }},
        {"rig rotated", [&] { rig->Rotate(turn); }},
        {"rig turned by angles", [&] { rig->SetYawPitchRoll(sds::CVector(10, 20, 30)); }},
        {"rig hung elsewhere", [&] { other->SetPos(sds::CVector(-4, 0, 0)); other->AddChild(rig); }},
        {"root bone turned", [&] { skeleton->GetJoint(std::uint16_t(0))->SetOrientation(turn); }},
        {"middle bone moved", [&] { skeleton->GetJoint(std::uint16_t(1))->SetPos(sds::CVector(0.5f, 1, 0)); }},
        {"middle bone rotated", [&] { skeleton->GetJoint(std::uint16_t(1))->Rotate(turn, sds::IJoint::SPACE_LOCAL); }},
        {"tool taken off the bone", [&] { rig->DetachFromBone(tool); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        const sds::CVector before = tool->GetWorldPos();
        change();
        const sds::CVector after = tool->GetWorldPos();
        unrelated->SetPos(unrelated->GetPos() + sds::CVector(1, 0, 0));
        EXPECT_VECTOR_NEAR(tool->GetWorldPos(), after, 1e-5f);
        EXPECT_GT((after - before).Length(), 1e-3f);
    }
}
