#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

#include <OGRE/OgreMath.h>

#include "CameraWorld.h"
#include "core/Exception.h"
#include "support/VectorNear.h"

using sds::CVector;
namespace ev = sds::CameraEvents;

namespace {

const CVector kFreeOffset(295, 30, 190);
const CVector kBoxPos(10, 5, -20);
// The shipped offsets of the orbiting modes.
const CVector kBehind(0, 3, -20);
const CVector kAround(10, 0, 10);
const CVector kSideways(0, 3, 20);

const char* ModeMessage(int mode)
{
    static const char* const kMessages[] = {"Camera 3D perspective.", "Camera behind.",   "Camera around.",
                                            "Camera sideways.",       "Camera free.",     "Camera script 1.",
                                            "Camera script 2.",       "Camera script 3.", "Camera script 4.",
                                            "Camera fixed."};
    return kMessages[mode - ev::camera_3dperspective];
}

// Every scene node under the node whose name holds the text.
int NodesNamed(const Ogre::Node* node, const std::string& part)
{
    int count = node->getName().find(part) != std::string::npos ? 1 : 0;
    for (const Ogre::Node* child : node->getChildren())
        count += NodesNamed(child, part);
    return count;
}

// Where each mode puts the camera when the box is attached; `before` is where
// the camera stood.
CVector ExpectedPos(int mode, const CVector& before)
{
    switch (mode) {
    case ev::camera_3dperspective: return kBoxPos;
    case ev::camera_behind: return kBoxPos + kBehind;
    case ev::camera_around: return kBoxPos + kAround;
    case ev::camera_sideways: return kBoxPos + kSideways;
    case ev::camera_free: return kFreeOffset;
    case ev::camera_fixed: return before;
    default: return CVector::ZERO;  // the script modes start at the origin
    }
}

} // namespace

TEST_F(CameraTest, NewCameraIsFreeAtTheFreeOffset)
{
    EXPECT_EQ(nullptr, m_Mgr->GetCamera());
    Step(0.1f);

    sds::ICamera& camera = Camera();
    EXPECT_EQ(ev::camera_free, camera.GetMode());
    EXPECT_VECTOR_NEAR(kFreeOffset, camera.GetPos(), 1e-3f);
    EXPECT_FLOAT_EQ(1.0f, camera.GetAcceleration());
    EXPECT_FALSE(camera.IsAttached());
    EXPECT_EQ(std::vector<std::string>{"Camera free."}, m_Log.m_Lines);
    // Input is on: a key moves it.
    Send(ev::camera_forward, true);
    Step(0.5f);
    EXPECT_VECTOR_NEAR(kFreeOffset - CVector(0, 0, 10), camera.GetPos(), 1e-3f);
}

// Every camera code, pressed and released, from every mode.
TEST_F(CameraTest, EventsSwitchModesFromEveryMode)
{
    sds::ICamera& camera = Camera();
    const sds::CGfxObjPtr box = m_Mgr->CreateBox(CVector(1, 1, 1));
    box->SetPos(kBoxPos);
    camera.Attach(box);
    for (int from = ev::camera_3dperspective; from <= ev::camera_fixed; ++from) {
        for (int code = ev::camera_switch_details; code <= ev::camera_none; ++code) {
            for (const bool on : {true, false}) {
                camera.SetMode(from);
                camera.SetFreeOffset(kFreeOffset);
                const CVector before = camera.GetPos();
                const std::size_t lines = m_Log.m_Lines.size();
                Send(code, on);

                const bool switches = on && code >= ev::camera_3dperspective && code <= ev::camera_fixed;
                const std::string what = "from " + std::to_string(from) + ", code " + std::to_string(code) +
                                         (on ? " on" : " off");
                ASSERT_EQ(switches ? code : from, camera.GetMode()) << what;
                if (!switches) {
                    EXPECT_EQ(lines, m_Log.m_Lines.size()) << what;
                    EXPECT_VECTOR_NEAR(before, camera.GetPos(), 1e-3f);
                    continue;
                }
                EXPECT_EQ(ModeMessage(code), m_Log.m_Lines.back()) << what;
                EXPECT_VECTOR_NEAR(ExpectedPos(code, before), camera.GetPos(), 0.05f);
                EXPECT_EQ(code <= ev::camera_sideways, camera.IsAttached()) << what;
            }
        }
    }
}

TEST_F(CameraTest, DetailsCycleWireframePointsSolid)
{
    Camera();
    const Ogre::PolygonMode expected[] = {Ogre::PM_WIREFRAME, Ogre::PM_POINTS, Ogre::PM_SOLID};
    for (const Ogre::PolygonMode mode : expected) {
        Send(ev::camera_switch_details, true);
        Send(ev::camera_switch_details, false);
        EXPECT_EQ(mode, Eye()->getPolygonMode());
    }
}

// The free camera remembers where it was left; the modes between hand it on.
TEST_F(CameraTest, FreeModeResumesWhereItWasLeft)
{
    sds::ICamera& camera = Camera();
    const sds::CGfxObjPtr box = m_Mgr->CreateBox(CVector(1, 1, 1));
    box->SetPos(kBoxPos);
    camera.Attach(box);
    const CVector left(100, 20, 100);
    camera.SetPos(left);

    camera.SetMode(ev::camera_behind);
    EXPECT_VECTOR_NEAR(kBoxPos + kBehind, camera.GetPos(), 0.05f);
    camera.SetMode(ev::camera_free);
    EXPECT_VECTOR_NEAR(left, camera.GetPos(), 1e-3f);

    camera.SetMode(ev::camera_behind);
    camera.SetMode(ev::camera_around);
    EXPECT_VECTOR_NEAR(kBoxPos + kBehind, camera.GetPrevModeLastPos(), 0.05f);
    camera.SetMode(ev::camera_free);
    EXPECT_VECTOR_NEAR(kBoxPos + kBehind, camera.GetPos(), 0.05f);
    EXPECT_VECTOR_NEAR(kBoxPos + kAround, camera.GetPrevModeLastPos(), 0.05f);
}

TEST_F(CameraTest, FreeCameraFliesByTheKeys)
{
    sds::ICamera& camera = Camera();
    // Forward for a second at the shipped 20 metres per second, then slowly.
    Send(ev::camera_forward, true);
    Step(1.0f);
    EXPECT_VECTOR_NEAR(kFreeOffset - CVector(0, 0, 20), camera.GetPos(), 1e-3f);
    Send(ev::camera_slow_movement, true);
    Step(1.0f);
    EXPECT_VECTOR_NEAR(kFreeOffset - CVector(0, 0, 22), camera.GetPos(), 1e-3f);
    Send(ev::camera_slow_movement, false);

    // Acceleration grows once a frame, whatever the frame's length, and is
    // gone with the key.
    Send(ev::camera_accelerated_movement, true);
    for (int frame = 1; frame <= 3; ++frame) {
        Step(frame * 0.01f);
        EXPECT_NEAR(1.0f + 0.2f * frame, camera.GetAcceleration(), 1e-5f) << frame;
    }
    Send(ev::camera_forward, false);
    Step(0.01f);
    EXPECT_FLOAT_EQ(1.0f, camera.GetAcceleration());
    Send(ev::camera_accelerated_movement, false);

    // A mouse movement of 0.05 turns once by 0.05 x 600 degrees, to the right.
    const CVector here = camera.GetPos();
    Send(ev::camera_yaw, true, 0.05f);
    Step(0.1f);
    EXPECT_VECTOR_NEAR(CVector(0.5f, 0, -0.8660254f), camera.GetDir(), 1e-4f);
    Step(0.1f);
    EXPECT_VECTOR_NEAR(CVector(0.5f, 0, -0.8660254f), camera.GetDir(), 1e-4f);
    EXPECT_NEAR(Ogre::Math::DegreesToRadians(-30.0f), camera.GetTotalRotX(), 1e-5f);

    // Without input nothing the user does counts.
    camera.DisableInput();
    Send(ev::camera_yaw, true, 0.05f);
    Send(ev::camera_pitch, true, 0.05f);
    Send(ev::camera_forward, true);
    Step(1.0f);
    EXPECT_VECTOR_NEAR(here, camera.GetPos(), 1e-3f);
    EXPECT_VECTOR_NEAR(CVector(0.5f, 0, -0.8660254f), camera.GetDir(), 1e-4f);
}

TEST_F(CameraTest, AroundZoomNeverPassesThePivot)
{
    sds::ICamera& camera = Camera();
    const sds::CGfxObjPtr box = m_Mgr->CreateBox(CVector(1, 1, 1));
    box->SetPos(kBoxPos);
    camera.Attach(box);
    camera.SetMode(ev::camera_around);
    Send(ev::camera_forward, true);
    Send(ev::camera_accelerated_movement, true);
    float distance = (camera.GetPos() - kBoxPos).Length();
    for (int frame = 0; frame < 10; ++frame) {
        Step(0.25f);
        const CVector fromPivot = camera.GetPos() - kBoxPos;
        EXPECT_LE(fromPivot.Length(), distance + 1e-4f) << frame;
        // Still on the side of the offset.
        EXPECT_GT(fromPivot.Dot(kAround), 0.0f) << frame;
        distance = fromPivot.Length();
    }
    EXPECT_GT(distance, 0.0f);
    EXPECT_LT(distance, kAround.Length());
}

// However long the keys or the mouse turn it up or down, the orbit stops at
// straight over or under the pivot: it never goes over the top onto the other
// side, which would turn the view upside down.
TEST_F(CameraTest, OrbitStopsAtStraightUpAndDown)
{
    sds::ICamera& camera = Camera();
    const sds::CGfxObjPtr box = m_Mgr->CreateBox(CVector(1, 1, 1));
    box->SetPos(kBoxPos);
    camera.Attach(box);
    const std::pair<int, CVector> modes[] = {
        {ev::camera_behind, kBehind}, {ev::camera_sideways, kSideways}, {ev::camera_around, kAround}};
    // A key held (a code with no change) or the mouse, 15 degrees a frame.
    const std::pair<int, float> turns[] = {
        {ev::camera_up, 0.0f}, {ev::camera_down, 0.0f}, {ev::camera_pitch, 0.025f}, {ev::camera_pitch, -0.025f}};
    for (const auto& [mode, offset] : modes) {
        for (const auto& [code, change] : turns) {
            const std::string what = ModeMessage(mode) + std::string(" turned by ") + std::to_string(code) + " " +
                                     std::to_string(change);
            camera.SetMode(mode);
            const CVector side(offset.x, 0, offset.z);
            for (int frame = 0; frame < 24; ++frame) {
                Send(code, true, change);
                Step(0.25f);
                const CVector fromPivot = camera.GetPos() - kBoxPos;
                ASSERT_GE(CVector(fromPivot.x, 0, fromPivot.z).Dot(side), -1e-3f) << what << ", frame " << frame;
                ASSERT_GE(Eye()->getDerivedUp().y, -1e-4f) << what << ", frame " << frame;
            }
            Send(code, false);
            // It got there: over or under the pivot, at the offset's distance.
            const CVector fromPivot = camera.GetPos() - kBoxPos;
            EXPECT_LT(CVector(fromPivot.x, 0, fromPivot.z).Length(), 0.01f) << what;
            EXPECT_NEAR(offset.Length(), std::fabs(fromPivot.y), 0.01f) << what;
        }
    }
}

TEST_F(CameraTest, PerspectivePitchStopsShortOfTheLimit)
{
    sds::ICamera& camera = Camera();
    const sds::CGfxObjPtr box = m_Mgr->CreateBox(CVector(1, 1, 1));
    camera.Attach(box);
    camera.SetMode(ev::camera_3dperspective);
    // Ten degrees a frame: 90 is the last step below the shipped 95.
    for (int frame = 0; frame < 12; ++frame) {
        Send(ev::camera_pitch, true, 10.0f / 600.0f);
        Step(0.1f);
    }
    EXPECT_NEAR(Ogre::Math::DegreesToRadians(90.0f), camera.GetTotalRotY(), 1e-4f);
}

TEST_F(CameraTest, BoundsHoldTheCamera)
{
    sds::ICamera& camera = Camera();
    camera.SetBounds(CVector(0, 0, 0), CVector(10, 10, 10));
    // The point given does not count: the camera's own position does.
    camera.SetPos(CVector(0.1f, 5, 5));
    EXPECT_TRUE(camera.IsInBounds(CVector(-100, -100, -100)));
    camera.SetPos(CVector(0.05f, 5, 5));
    EXPECT_FALSE(camera.IsInBounds(CVector(5, 5, 5)));

    // Out of bounds, the free camera creeps back toward the middle, 0.1 a frame.
    camera.SetPos(CVector(20, 5, 5));
    Step(1.0f);
    EXPECT_VECTOR_NEAR(CVector(19.9f, 5, 5), camera.GetPos(), 1e-4f);
    Step(1.0f);
    EXPECT_VECTOR_NEAR(CVector(19.8f, 5, 5), camera.GetPos(), 1e-4f);
    // Whatever the keys say: the creep aims from where they would take it.
    Send(ev::camera_forward, true);
    Step(0.75f);
    const CVector aim = Normalised(CVector(5, 5, 5) - CVector(19.8f, 5, 5 - 15));
    EXPECT_VECTOR_NEAR(CVector(19.8f, 5, 5) + aim * 0.1f, camera.GetPos(), 1e-4f);
}

// Look-at faces the point in every direction around the camera.
TEST_F(CameraTest, LookAtFacesThePoint)
{
    sds::ICamera& camera = Camera();
    const CVector offsets[] = {{10, 0, 0}, {-10, 0, 0}, {0, 0, 10}, {0, 0, -10}, {5, 3, 5},
                               {-5, -3, 5}, {5, 0, -5}, {-7, 2, -3}, {3, 20, 2}};
    for (const CVector& offset : offsets) {
        camera.LookAt(kFreeOffset + offset);
        EXPECT_VECTOR_NEAR(Normalised(offset), camera.GetDir(), 1e-3f);
    }
    // Out of the level's bounds (below their floor, down in a valley) it
    // still turns to the point: turning moves it nowhere.
    const CVector low(10, -6, 10);
    camera.SetBounds(CVector(-1000, 1, -1000), CVector(1000, 4000, 1000));
    camera.SetPos(low);
    for (const CVector& offset : offsets) {
        camera.LookAt(low + offset);
        EXPECT_VECTOR_NEAR(Normalised(offset), camera.GetDir(), 1e-3f);
    }
}

TEST_F(CameraTest, ListenerHearsThePoseBeforeTheStep)
{
    std::vector<std::vector<CVector>> heard;
    m_Mgr->SetSoundListener([&heard](const CVector& position, const CVector& velocity, const CVector& at,
                                     const CVector& up) { heard.push_back({position, velocity, at, up}); });
    sds::ICamera& camera = Camera();
    Send(ev::camera_forward, true);
    Step(1.0f);
    ASSERT_EQ(1u, heard.size());
    EXPECT_VECTOR_NEAR(kFreeOffset, heard[0][0], 1e-3f);
    EXPECT_VECTOR_NEAR(CVector::ZERO, heard[0][1], 0.0f);
    EXPECT_VECTOR_NEAR(CVector(0, 0, -1), heard[0][2], 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(0, 1, 0), heard[0][3], 1e-5f);
    EXPECT_VECTOR_NEAR(kFreeOffset - CVector(0, 0, 20), camera.GetPos(), 1e-3f);

    // camera_none hears nothing.
    camera.SetMode(ev::camera_none);
    Step(1.0f);
    EXPECT_EQ(1u, heard.size());
}

TEST_F(CameraTest, PickingMergesTheTerrain)
{
    m_Mgr->SetTerrainRayTest(std::make_shared<CFlatGround>(0.0f));
    const sds::CGfxObjPtr box = m_Mgr->CreateBox(CVector(4, 4, 4));
    box->SetPos(CVector(0, 10, 0));
    m_Mgr->GetRootObject()->UpdateTransform();
    sds::ICamera& camera = Camera();
    camera.SetPos(CVector(0, 50, 0));
    camera.LookAt(CVector(0, 0, 0));

    ASSERT_TRUE(camera.FindObjUnderCursor(0.5f, 0.5f, sds::ICamera::PICK_TERRAIN));
    ASSERT_EQ(1u, camera.GetPickResults().size());
    EXPECT_EQ("Terrain", camera.GetPickResults()[0].m_Name);
    // The ray starts on the near plane, 0.1 in front of the camera.
    EXPECT_NEAR(49.9f, camera.GetPickResults()[0].m_Distance, 0.05f);
    EXPECT_NEAR(0.0f, camera.GetPickResults()[0].m_Point.y, 1e-3f);

    ASSERT_TRUE(camera.FindObjUnderCursor(0.5f, 0.5f, sds::ICamera::PICK_OBJECTS));
    ASSERT_EQ(1u, camera.GetPickResults().size());
    EXPECT_EQ(box->GetEntityName(), camera.GetPickResults()[0].m_Name);
    EXPECT_VECTOR_NEAR(CVector(0, 10, 0), camera.GetPickResults()[0].m_Point, 1e-4f);
    // The object picked is found by the name the pick gives.
    EXPECT_EQ(box, m_Mgr->FindObject(camera.GetPickResults()[0].m_Name));

    ASSERT_TRUE(camera.FindObjUnderCursor(0.5f, 0.5f, sds::ICamera::PICK_ALL));
    const auto& all = camera.GetPickResults();
    ASSERT_EQ(2u, all.size());
    EXPECT_EQ(box->GetEntityName(), all[0].m_Name);
    EXPECT_EQ("Terrain", all[1].m_Name);
    EXPECT_LT(all[0].m_Distance, all[1].m_Distance);
    for (const auto& hit : all)
        EXPECT_NE("DefaultCamera", hit.m_Name);

    // Bare terrain picks no object.
    EXPECT_FALSE(camera.FindObjUnderCursor(0.05f, 0.05f, sds::ICamera::PICK_OBJECTS));
    EXPECT_TRUE(camera.GetPickResults().empty());

    // Straight ahead on the plane below, as the camera's own ray says.
    const CVector eye = camera.GetPos();
    const CVector dir = camera.GetDir();
    EXPECT_VECTOR_NEAR(eye + dir * (eye.y / -dir.y),
                       camera.ViewportPosToWorldPos(0.5f, 0.5f, CVector(0, 1, 0), CVector(0, 0, 0)), 1e-2f);
    // A plane behind the camera, and one along the ray, give no point.
    EXPECT_EQ(CVector::MAX_NEGATIVE, camera.ViewportPosToWorldPos(0.5f, 0.5f, CVector(0, 1, 0), CVector(0, 60, 0)));
    camera.SetMode(ev::camera_free);
    EXPECT_EQ(CVector::MAX_NEGATIVE, camera.ViewportPosToWorldPos(0.5f, 0.5f, CVector(0, 1, 0), CVector(0, 0, 0)));
}

TEST_F(CameraTest, CameraComesAndGoesWithItsChains)
{
    EXPECT_EQ(nullptr, m_Mgr->GetCamera());
    sds::ICamera& camera = Camera();
    EXPECT_EQ("Ogre/SceneRootCamNode", Eye()->getParentSceneNode()->getName());
    const sds::CGfxObjPtr box = m_Mgr->CreateBox(CVector(1, 1, 1));
    camera.Attach(box);
    camera.SetMode(ev::camera_3dperspective);
    EXPECT_EQ(box->GetName() + "CamCtrlNodeCamNode", Eye()->getParentSceneNode()->getName());
    EXPECT_EQ(1, NodesNamed(Scene()->getRootSceneNode(), "CamYawNode"));

    m_Mgr->DestroyCamera();
    EXPECT_EQ(nullptr, m_Mgr->GetCamera());
    EXPECT_EQ("Camera is destroyed", m_Log.m_Lines.back());
    EXPECT_EQ(0, NodesNamed(Scene()->getRootSceneNode(), "CamYawNode"));
    EXPECT_EQ(0, NodesNamed(Scene()->getRootSceneNode(), "CamCtrlNode"));
    // The window's camera is back on its own node, and the box keeps nothing of the camera.
    EXPECT_EQ("DefaultCameraNode", Eye()->getParentSceneNode()->getName());
    EXPECT_EQ(0, box->GetNumChildren());
    Step(0.1f);
    m_Mgr->DestroyCamera();

    // A second zone makes a camera again.
    EXPECT_EQ(ev::camera_free, Camera().GetMode());
}

// A reset of the scene takes the level camera with it and hangs the window's
// camera on a new node where the old one stood.
TEST_F(CameraTest, SceneResetKeepsTheWindowCameraHanging)
{
    Scene()->getSceneNode("DefaultCameraNode")->setPosition(1, 2, 3);
    Camera();
    m_Mgr->ResetScene();
    EXPECT_EQ(nullptr, m_Mgr->GetCamera());
    EXPECT_TRUE(m_Log.Has("Camera is destroyed"));
    EXPECT_EQ(0, NodesNamed(Scene()->getRootSceneNode(), "CamYawNode"));
    ASSERT_TRUE(Eye()->getParentSceneNode());
    EXPECT_EQ("DefaultCameraNode", Eye()->getParentSceneNode()->getName());
    EXPECT_EQ(Scene()->getRootSceneNode(), Eye()->getParentSceneNode()->getParent());
    EXPECT_EQ(Ogre::Vector3(1, 2, 3), Eye()->getDerivedPosition());
    // And again without a level camera.
    m_Mgr->ResetScene();
    EXPECT_EQ(Ogre::Vector3(1, 2, 3), Eye()->getDerivedPosition());
}

TEST_F(CameraTest, BadRequestsAreRefused)
{
    sds::ICamera& camera = Camera();
    for (const int mode : {56, 68, -1}) {
        camera.SetMode(mode);
        EXPECT_EQ(ev::camera_free, camera.GetMode()) << mode;
        EXPECT_TRUE(m_Log.HasContaining("Warning: There is no camera mode " + std::to_string(mode))) << mode;
    }
    for (const std::function<void()>& call : std::vector<std::function<void()>>{
             [&] { camera.IsMovingIn(sds::ICamera::MOVING_MAX); }, [&] { camera.SetMovingIn(8, true); }}) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ("invalid bitset<N> position", e.what());
        }
    }
    EXPECT_THROW(camera.GetWorldSpaceCorner(sds::ICamera::CORNERS_MAX), std::out_of_range);
    EXPECT_NE(camera.GetWorldSpaceCorner(sds::ICamera::TOP_RIGHT_NEAR),
              camera.GetWorldSpaceCorner(sds::ICamera::BOTTOM_LEFT_FAR));

    // The 3D perspective needs an object with a scene node to ride on.
    camera.Attach(m_Mgr->CreateMeshObject("Cube"));
    EXPECT_THROW(camera.SetMode(ev::camera_3dperspective), sds::CException);
    EXPECT_EQ(ev::camera_none, camera.GetMode());
    camera.Attach(sds::CGfxObjPtr());
    camera.SetMode(ev::camera_free);
    EXPECT_VECTOR_NEAR(kFreeOffset, camera.GetPos(), 1e-3f);
}

// camera_none has no chain: what needs one does nothing.
TEST_F(CameraTest, CameraNoneHasNothingToMove)
{
    sds::ICamera& camera = Camera();
    camera.SetMode(ev::camera_none);
    EXPECT_TRUE(m_Log.m_Lines.size() == 1) << m_Log.m_Lines.back();
    const CVector where = camera.GetPos();
    camera.SetPos(CVector(1, 2, 3));
    EXPECT_EQ(sds::CQuaternion::IDENTITY, camera.GetHorizontalOrientation());
    Send(ev::camera_yaw, true, 0.1f);
    Send(ev::camera_forward, true);
    camera.LookAt(CVector(0, 0, 0));
    Step(1.0f);
    EXPECT_VECTOR_NEAR(where, camera.GetPos(), 1e-3f);
    EXPECT_FALSE(camera.IsAttached());
}

TEST_F(CameraTest, CameraReadsTheUsersMouseAndTheConfiguration)
{
    const xml::CNodePtr mouse = m_App.m_Settings->AddChild("Mouse");
    mouse->AddAttribute("LookSensitivity", "0.5");
    mouse->AddAttribute("InvertY", "1");
    EXPECT_FLOAT_EQ(300.0f, Camera().GetMouseScale());
    EXPECT_TRUE(Camera().IsInvertFreeY());
    EXPECT_FLOAT_EQ(20.0f, Camera().GetMoveScale());
    EXPECT_FLOAT_EQ(0.2f, Camera().GetAccelerationInc());
    EXPECT_TRUE(Camera().IsWorldUpDown());
    EXPECT_FLOAT_EQ(0.1f, Camera().GetNearClipDistance());
    Camera().SetProjection("Ortho");
    EXPECT_EQ(Ogre::PT_ORTHOGRAPHIC, Eye()->getProjectionType());
    EXPECT_FLOAT_EQ(1000.0f, Camera().GetNearClipDistance());
    Camera().SetProjection("NoSuchProjection");
    EXPECT_EQ(Ogre::PT_ORTHOGRAPHIC, Eye()->getProjectionType());
    m_Mgr->DestroyCamera();

    // Without its configuration no camera is made, and the window's camera stays where it hangs.
    m_App.m_Config->RemoveChild(m_App.m_Config->GetChild("Camera"));
    EXPECT_THROW(m_Mgr->CreateCamera(), xml::CNoNodeException);
    EXPECT_EQ(nullptr, m_Mgr->GetCamera());
    EXPECT_EQ("DefaultCameraNode", Eye()->getParentSceneNode()->getName());
}
