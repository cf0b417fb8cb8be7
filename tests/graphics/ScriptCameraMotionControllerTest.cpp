#include <cmath>
#include <fstream>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "FakeLevelPositions.h"
#include "graphics/memory/MemCamera.h"
#include "graphics/memory/MemGfxMgr.h"
#include "graphics/script/ScriptCameraMotionController.h"
#include "support/CapturingLogMgr.h"
#include "support/FakeEventMgr.h"
#include "support/TempDir.h"
#include "support/VectorNear.h"
#include "support/Frames.h"

using sds::CVector;
using sds::test::Frame;

namespace {

// A controller over a recording camera, its script written for the test.
class ScriptCameraTest : public ::testing::Test
{
protected:
    std::unique_ptr<sds::CScriptCameraMotionController> Make(const std::string& script)
    {
        m_File = m_Dir.File("camera.lua");
        std::ofstream(m_File) << script;
        return std::make_unique<sds::CScriptCameraMotionController>(m_File, "dofile", &m_Gfx, &m_Events);
    }

    int ErrorsNaming(const std::string& file) const
    {
        int count = 0;
        for (const std::string& line : m_Log.m_Lines)
            count += line.rfind("Error: Could not run script: " + file + ". Error: ", 0) == 0;
        return count;
    }

    CCapturingLogMgr m_Log;
    sds::CMemGfxMgr m_Gfx;
    CFakeEventMgr m_Events;
    sds::CMemCamera m_Camera;
    CTempDir m_Dir;
    std::string m_File;
};

const char* const kLookAtTheGlobals = R"(
function Initialize()
    for _, name in ipairs({"TrajectoryStart", "TrajectoryFinish", "JumperPos", "TargetPos", "MousePosition"}) do
        Camera:LookAt(_G[name])
    end
end
function Update() end
)";

} // namespace

TEST_F(ScriptCameraTest, PositionGlobalsComeFromTheLevel)
{
    const CVector jumper(1, 2, 3), start(10, 20, 30), finish(40, 50, 60), target(7, 0, 9), mouse(0.25f, 0.75f, 0);
    struct Case
    {
        const char* what;
        std::optional<CVector> jumper;
        std::optional<std::pair<CVector, CVector>> trajectory;
        std::optional<CVector> target;
        std::vector<CVector> expected;  // start, finish, jumper, target
    };
    const Case cases[] = {
        {"nothing known", {}, {}, {}, {{}, {}, {}, {}}},
        {"a jumper", jumper, {}, {}, {jumper, jumper, jumper, {}}},
        {"a trajectory on show wins over the jumper", jumper, std::make_pair(start, finish), target,
         {start, finish, finish, target}},
    };
    m_Events.m_MousePosition = mouse;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // What one part knows and another does not is merged.
        auto jumperSide = std::make_shared<CFakeLevelPositions>();
        auto levelSide = std::make_shared<CFakeLevelPositions>();
        jumperSide->m_Jumper = c.jumper;
        levelSide->m_Trajectory = c.trajectory;
        levelSide->m_Target = c.target;
        m_Gfx.AddLevelPositions(jumperSide);
        m_Gfx.AddLevelPositions(levelSide);
        m_Camera.m_LookAt.clear();

        Make(kLookAtTheGlobals)->Initialize(&m_Camera);
        ASSERT_EQ(5u, m_Camera.m_LookAt.size());
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_VECTOR_NEAR(c.expected[i], m_Camera.m_LookAt[i], 0.0f);
        EXPECT_VECTOR_NEAR(mouse, m_Camera.m_LookAt[4], 0.0f);
    }
    // Parts the level let go of count no more.
    m_Camera.m_LookAt.clear();
    Make(kLookAtTheGlobals)->Initialize(&m_Camera);
    EXPECT_VECTOR_NEAR(CVector::ZERO, m_Camera.m_LookAt.at(2), 0.0f);
    EXPECT_TRUE(m_Log.m_Lines.empty()) << m_Log.m_Lines.front();
}

TEST_F(ScriptCameraTest, UpdateSeesTheCameraAndTheFrame)
{
    auto controller = Make(R"(
function Initialize() end
function Update() Camera:SetPos(CVector(Timing.m_Elapsed, Timing.m_Global, JumperPos.x)) end
)");
    auto positions = std::make_shared<CFakeLevelPositions>();
    positions->m_Jumper = CVector(5, 0, 0);
    m_Gfx.AddLevelPositions(positions);
    controller->Initialize(&m_Camera);
    controller->Update(&m_Camera, Frame(0.25f, 3.0f));
    EXPECT_VECTOR_NEAR(CVector(0.25f, 3.0f, 5.0f), m_Camera.GetPos(), 1e-6f);
    // The jumper moves on between frames.
    positions->m_Jumper = CVector(6, 0, 0);
    controller->Update(&m_Camera, Frame(0.5f, 3.5f));
    EXPECT_VECTOR_NEAR(CVector(0.5f, 3.5f, 6.0f), m_Camera.GetPos(), 1e-6f);
}

// Class "ICamera" offers its constants and the 53 operations by name, and
// each can be called from a script.
TEST_F(ScriptCameraTest, ScriptsReachEveryCameraOperation)
{
    auto controller = Make(R"(
local names = {"IsMovingIn", "SetMovingIn", "IsMoving", "IsSlowMovement", "SetSlowMovement",
    "IsAcceleratedMovement", "SetAcceleratedMovement", "GetAcceleration", "SetAcceleration",
    "GetAccelerationInc", "SetAccelerationInc", "GetMouseScale", "SetMouseScale", "GetMoveScale",
    "SetMoveScale", "IsInvertFreeY", "SetInvertFreeY", "GetRotX", "SetRotX", "GetRotY", "SetRotY",
    "GetTotalRotX", "SetTotalRotX", "GetTotalRotY", "SetTotalRotY", "SetMotionController",
    "ResetMotionController", "Update", "GetMode", "SetMode", "SetProjection", "SetNearClipDistance",
    "GetNearClipDistance", "SetWorldUpDown", "IsWorldUpDown", "IsAttached", "Attach", "GetAttached",
    "EnableInput", "DisableInput", "SetPos", "GetPos", "GetRot", "GetDir", "GetOrientation",
    "GetHorizontalOrientation", "LookAt", "FindObjUnderCursor", "Shake", "GetWorldSpaceCorner",
    "GetPrevModeLastPos", "GetPrevModeLastOrientation", "ViewportPosToWorldPos"}

function Initialize()
    local c = Camera
    for _, name in ipairs(names) do
        assert(type(c[name]) == "function", name .. " is not bound")
    end
    assert(ICamera.MOVING_FORWARD == 4 and ICamera.CORNERS_MAX == 8 and ICamera.MOVING_MAX == 8)
    assert(ICamera.CAMERA_HORIZONTAL_BACK == 7 and ICamera.BOTTOM_RIGHT_FAR == 7)

    c:SetMovingIn(ICamera.MOVING_LEFT, true)
    assert(c:IsMovingIn(ICamera.MOVING_LEFT) and c:IsMoving())
    c:SetSlowMovement(true); assert(c:IsSlowMovement())
    c:SetAcceleratedMovement(true); assert(c:IsAcceleratedMovement())
    c:SetAcceleration(2); assert(c:GetAcceleration() == 2)
    c:SetAccelerationInc(0.5); assert(c:GetAccelerationInc() == 0.5)
    c:SetMouseScale(3); assert(c:GetMouseScale() == 3)
    c:SetMoveScale(4); assert(c:GetMoveScale() == 4)
    c:SetInvertFreeY(true); assert(c:IsInvertFreeY())
    c:SetRotX(0.25); assert(c:GetRotX() == 0.25)
    c:SetRotY(0.5); assert(c:GetRotY() == 0.5)
    c:SetTotalRotX(1); assert(c:GetTotalRotX() == 1)
    c:SetTotalRotY(2); assert(c:GetTotalRotY() == 2)
    c:SetMotionController(63, nil)
    c:ResetMotionController(63)
    c:SetNearClipDistance(0.5); assert(c:GetNearClipDistance() == 0.5)
    c:SetWorldUpDown(false); assert(not c:IsWorldUpDown())
    c:SetProjection("Ortho")
    c:Attach(c:GetAttached())
    c:DisableInput()
    c:EnableInput()
    c:SetPos(CVector(1, 2, 3))
    assert(c:GetPos() == CVector(1, 2, 3))
    c:GetRot(); c:GetDir(); c:GetOrientation(); c:GetHorizontalOrientation()
    c:LookAt(CVector(0, 0, 0))
    assert(not c:FindObjUnderCursor(0.5, 0.5, 2))
    c:Shake()
    c:GetWorldSpaceCorner(ICamera.TOP_LEFT_FAR)
    c:ViewportPosToWorldPos(0.5, 0.5, CVector(0, 1, 0), CVector(0, 0, 0))
    c:SetMode(66); assert(c:GetMode() == 66 and not c:IsAttached())
    c:GetPrevModeLastPos(); c:GetPrevModeLastOrientation()
    c:Update(CTiming())
end
function Update() end
)");
    controller->Initialize(&m_Camera);
    EXPECT_TRUE(m_Log.m_Lines.empty()) << m_Log.m_Lines.front();
    EXPECT_FALSE(controller->HasFailed());
    EXPECT_EQ(66, m_Camera.GetMode());
    EXPECT_EQ(1u, m_Camera.m_Updates.size());
    EXPECT_EQ(2.0f, m_Camera.GetTotalRotY());
    EXPECT_EQ("Ortho", m_Camera.m_Projection);
}

// A failing script is logged once and then left alone until its mode is
// chosen again; the frame loop never sees its error.
TEST_F(ScriptCameraTest, FailingScriptsAreLoggedOnceAndStop)
{
    struct Case
    {
        const char* what;
        const char* script;
        const char* error;  // a part of the logged text
    };
    const Case cases[] = {
        {"an error in Update", "function Initialize() end\nfunction Update() error('the wind is gone') end",
         "the wind is gone"},
        {"an endless loop in Update", "function Initialize() end\nfunction Update() while true do end end",
         "instructions without returning"},
        {"calling a missing camera operation", "function Initialize() end\nfunction Update() Camera:Fly() end",
         "Fly"},
        {"no Update at all", "function Initialize() end", "attempt to call a nil value"},
    };
    for (const Case& c : cases) {
        m_Log.m_Lines.clear();
        auto controller = Make(c.script);
        controller->Initialize(&m_Camera);
        for (int frame = 0; frame < 3; ++frame)
            controller->Update(&m_Camera, Frame(0.1f, 0.1f * frame));
        ASSERT_EQ(1, ErrorsNaming(m_File)) << c.what;
        EXPECT_TRUE(m_Log.HasContaining(c.error)) << c.what << ": " << m_Log.m_Lines.front();
        EXPECT_TRUE(controller->HasFailed()) << c.what;
        // Chosen again, the script gets its chance again.
        controller->Initialize(&m_Camera);
        controller->Update(&m_Camera, Frame(0.1f, 1.0f));
        EXPECT_EQ(2, ErrorsNaming(m_File)) << c.what;
    }
}

TEST_F(ScriptCameraTest, FailingInitializeStopsTheScript)
{
    auto controller = Make("function Initialize() Camera:SetPos(CVector(1, 1, 1)) error('no start') end\n"
                           "function Update() Camera:SetPos(CVector(2, 2, 2)) end");
    controller->Initialize(&m_Camera);
    controller->Update(&m_Camera, Frame(0.1f, 0.1f));
    EXPECT_EQ(1, ErrorsNaming(m_File));
    EXPECT_VECTOR_NEAR(CVector(1, 1, 1), m_Camera.GetPos(), 0.0f);

    // A file that is not there: the script's functions are never called.
    const std::string missing = m_Dir.File("missing.lua");
    sds::CScriptCameraMotionController absent(missing, "dofile", &m_Gfx, &m_Events);
    absent.Initialize(&m_Camera);
    absent.Update(&m_Camera, Frame(0.1f, 0.2f));
    EXPECT_EQ(1, ErrorsNaming(missing));
    EXPECT_TRUE(m_Log.HasContaining(missing)) << m_Log.m_Lines.back();
}

// The force-field editor's camera: a side view of the plane z = 0 from where
// the editor put the camera, the wheel moving it nearer or further.
TEST_F(ScriptCameraTest, SideViewLooksAtThePlaneAndZoomsWithTheWheel)
{
    sds::CScriptCameraMotionController controller(SDS_SOURCE_DIR "/data/scripts/SideViewCamera.lua", "dofile",
                                                  &m_Gfx, &m_Events);
    m_Camera.m_PrevModeLastPos = CVector(10.0f, 130.0f, 360.0f);
    m_Events.m_MousePosition = CVector(0.5f, 0.5f, 240.0f);
    controller.Initialize(&m_Camera);
    EXPECT_VECTOR_NEAR(CVector(10.0f, 130.0f, 360.0f), m_Camera.GetPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(CVector(10.0f, 130.0f, 0.0f), m_Camera.m_LookAt.back(), 1e-4f);

    const struct
    {
        float Wheel;
        CVector Moved; // where something else moved the camera before the frame
        CVector Expected;
    } frames[] = {
        // The wheel's position at the switch is the rest: no jump.
        {240.0f, {10.0f, 130.0f, 360.0f}, {10.0f, 130.0f, 360.0f}},
        // A turn forward comes nearer; a pan across is kept.
        {340.0f, {-50.0f, 80.0f, 360.0f}, {-50.0f, 80.0f, 350.0f}},
        // Never through the plane, nor out of sight.
        {100000.0f, {-50.0f, 80.0f, 350.0f}, {-50.0f, 80.0f, 20.0f}},
        {-100000.0f, {-50.0f, 80.0f, 20.0f}, {-50.0f, 80.0f, 3000.0f}},
    };
    for (const auto& frame : frames) {
        m_Events.m_MousePosition.z = frame.Wheel;
        m_Camera.SetPos(frame.Moved);
        controller.Update(&m_Camera, Frame(0.02f, 1.0f));
        SCOPED_TRACE(frame.Wheel);
        EXPECT_VECTOR_NEAR(frame.Expected, m_Camera.GetPos(), 1e-3f);
        EXPECT_VECTOR_NEAR(CVector(frame.Expected.x, frame.Expected.y, 0.0f), m_Camera.m_LookAt.back(), 1e-3f);
    }
    EXPECT_FALSE(m_Log.HasContaining("Error"));
}

// The trajectory camera: seen square to the trajectory's way across, from far
// enough for both ends; a fall with little drift from the fixed side +z, not
// from whichever way its last metres went.
TEST_F(ScriptCameraTest, TrajectoryCameraLooksSquareAcrossTheWayFlown)
{
    const struct
    {
        const char* what;
        CVector start, finish;
        CVector side; // the direction from the middle to the camera, level part
    } cases[] = {
        {"a flight across x", {0, 1000, 0}, {600, 0, 0}, {0, 0, 1}},
        {"a flight across z", {0, 1000, 0}, {0, 0, -600}, {1, 0, 0}},
        {"a fall drifting 2 m along -x", {-150, 200, 0}, {-152, 0, 0.5f}, {0, 0, 1}},
        {"the jumper alone", {5, 50, 5}, {5, 50, 5}, {0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto level = std::make_shared<CFakeLevelPositions>();
        level->m_Trajectory = std::make_pair(c.start, c.finish);
        m_Gfx.AddLevelPositions(level);
        sds::CScriptCameraMotionController controller(SDS_SOURCE_DIR "/data/scripts/Camera3.lua", "dofile", &m_Gfx,
                                                      &m_Events);
        controller.Initialize(&m_Camera);
        const CVector middle = (c.start + c.finish) * 0.5f;
        EXPECT_VECTOR_NEAR(middle, m_Camera.m_LookAt.back(), 1e-3f);
        CVector away = m_Camera.GetPos() - middle;
        away.y = 0.0f;
        const float distance = (c.finish - c.start).Length() * 0.9f + 25.0f;
        EXPECT_VECTOR_NEAR(c.side * distance, away, 1e-2f);
        EXPECT_GT(m_Camera.GetPos().y, middle.y) << "from above";
    }
    EXPECT_FALSE(m_Log.HasContaining("Error"));
}

// The chase camera through a touch-down: chosen again by the landing it
// frames him from beside; the run out, a bounce back and standing still never
// swing it through the jumper or below him, and he stays seen from beside.
TEST_F(ScriptCameraTest, ChaseCameraFramesTheLandedJumperFromAbove)
{
    auto level = std::make_shared<CFakeLevelPositions>();
    // The target lies off to his side: "the far side from the target" is not behind him.
    level->m_Target = CVector(-60, 0, 40);
    m_Gfx.AddLevelPositions(level);
    sds::CScriptCameraMotionController chase(SDS_SOURCE_DIR "/data/scripts/Camera1.lua", "dofile", &m_Gfx,
                                             &m_Events);
    const float dt = 1.0f / 30.0f;
    CVector jumper(-100, 30, 0);
    level->m_Jumper = jumper;
    m_Camera.m_PrevModeLastPos = CVector(500, 100, 500);
    chase.Initialize(&m_Camera);
    // Under canopy along +x, 7 m/s across and 2 m/s down, to the ground.
    while (jumper.y > 1.0f) {
        jumper += CVector(7 * dt, -2 * dt, 0);
        level->m_Jumper = jumper;
        chase.Update(&m_Camera, Frame(dt, 0));
    }
    // Chosen again at the touch-down: beside him at once, on his side of the
    // way flown, not swung round to the far side from the target.
    m_Camera.m_PrevModeLastPos = m_Camera.GetPos();
    chase.Initialize(&m_Camera);
    const CVector landing = m_Camera.GetPos() - jumper;
    EXPECT_LT(std::fabs(landing.x), std::fabs(landing.z)) << "not beside him";
    EXPECT_GT(landing.y, 1.0f);

    // The run out slows down from 7 m/s, a bounce 0.3 m back, then he stands.
    std::vector<CVector> steps;
    for (float speed = 7.0f; speed > 0.0f; speed -= 0.25f)
        steps.push_back(CVector(speed * dt, 0, 0));
    for (int i = 0; i < 6; ++i)
        steps.push_back(CVector(-0.08f, 0, 0));
    steps.resize(steps.size() + 90, CVector::ZERO);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        jumper += steps[i];
        level->m_Jumper = jumper;
        chase.Update(&m_Camera, Frame(dt, 0));
        const CVector view = m_Camera.GetPos() - jumper;
        ASSERT_GT(view.Length(), 5.0f) << "frame " << i << ": the camera came through him";
        ASSERT_GT(view.y, 1.0f) << "frame " << i << ": not looking down on him";
        EXPECT_VECTOR_NEAR(jumper, m_Camera.m_LookAt.back(), 1e-4f);
    }
    // Beside him, not behind where his canopy comes down.
    const CVector view = m_Camera.GetPos() - jumper;
    EXPECT_LT(std::fabs(view.x), std::fabs(view.z));
    EXPECT_LT(std::hypot(view.x, view.z), 12.0f);
    EXPECT_FALSE(m_Log.HasContaining("Error"));
}
