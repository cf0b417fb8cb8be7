#include <algorithm>
#include <cmath>
#include <fstream>

#include <boost/filesystem.hpp>

#include "CameraWorld.h"
#include "FakeLevelPositions.h"
#include "graphics/script/ScriptCameraMotionController.h"
#include "support/FakeEventMgr.h"
#include "support/TempDir.h"
#include "support/VectorNear.h"

using sds::CVector;
namespace ev = sds::CameraEvents;

namespace {

bool IsFinite(const CVector& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Script cameras on the real camera: the script mode's controller comes from a
// script file of the test, or from the shipped configuration.
class ScriptCameraOgreTest : public CameraTest
{
protected:
    ScriptCameraOgreTest() { m_Mgr->AddLevelPositions(m_Positions); }

    std::unique_ptr<sds::CScriptCameraMotionController> Controller(const std::string& file)
    {
        return std::make_unique<sds::CScriptCameraMotionController>(file, "dofile", m_Mgr.get(), &m_Events);
    }

    std::unique_ptr<sds::CScriptCameraMotionController> Script(const std::string& text)
    {
        m_File = m_Dir.File("camera.lua");
        std::ofstream(m_File) << text;
        return Controller(m_File);
    }

    // Chooses the script mode of that controller.
    void Run(int mode, sds::ICameraMotionController& controller)
    {
        Camera().SetMotionController(mode, &controller);
        Camera().SetMode(mode);
    }

    bool HasErrors() const { return m_Log.HasContaining("Error: "); }

    CFakeEventMgr m_Events;
    std::shared_ptr<CFakeLevelPositions> m_Positions = std::make_shared<CFakeLevelPositions>();
    CTempDir m_Dir;
    std::string m_File;
};

} // namespace

TEST_F(ScriptCameraOgreTest, ScriptMovesTheCameraFromTheLevelsPositions)
{
    const CVector jumper(30, 100, -40), target(0, 2, 0);
    m_Positions->m_Jumper = jumper;
    m_Positions->m_Target = target;
    auto controller = Script(R"(
local t
function Initialize() t = 0 end
function Update()
    t = t + Timing.m_Elapsed
    Camera:SetPos(JumperPos + CVector(0, 10 * t, 20))
    Camera:LookAt(TargetPos)
end
)");
    Run(ev::camera_script1, *controller);
    EXPECT_EQ("Camera script 1.", m_Log.m_Lines.back());
    for (int frame = 0; frame < 10; ++frame)
        Step(0.1f);
    const CVector expected = jumper + CVector(0, 10, 20);
    EXPECT_VECTOR_NEAR(expected, Camera().GetPos(), 1e-3f);
    EXPECT_VECTOR_NEAR(Normalised(target - expected), Camera().GetDir(), 1e-3f);
    EXPECT_FALSE(HasErrors());
}

TEST_F(ScriptCameraOgreTest, MissingScriptLeavesTheCameraAtTheOrigin)
{
    Camera().LookAt(CVector(1, 2, 3));
    auto controller = Controller(m_Dir.File("missing.lua"));
    Run(ev::camera_script2, *controller);
    for (int frame = 0; frame < 3; ++frame)
        Step(0.1f);
    EXPECT_VECTOR_NEAR(CVector::ZERO, Camera().GetPos(), 1e-5f);
    EXPECT_EQ(sds::CQuaternion::IDENTITY, Camera().GetOrientation());
    const std::string logged = "Error: Could not run script: " + m_Dir.File("missing.lua") + ". Error: ";
    EXPECT_EQ(1, std::count_if(m_Log.m_Lines.begin(), m_Log.m_Lines.end(),
                               [&](const std::string& line) { return line.rfind(logged, 0) == 0; }));
}

// A script may switch modes from its own Update; the manipulator running it
// stays alive until that returns.
TEST_F(ScriptCameraOgreTest, ScriptSwitchesModesFromItsUpdate)
{
    auto controller = Script("function Initialize() end\nfunction Update() Camera:SetMode(61) end");
    Run(ev::camera_script3, *controller);
    Step(0.1f);
    EXPECT_EQ(ev::camera_free, Camera().GetMode());
    EXPECT_EQ("Camera free.", m_Log.m_Lines.back());
    Step(0.1f);
    EXPECT_FALSE(HasErrors()) << m_Log.m_Lines.back();

    // From its Initialize too.
    auto early = Script("function Initialize() Camera:SetMode(66) end\nfunction Update() end");
    Run(ev::camera_script4, *early);
    EXPECT_EQ(ev::camera_fixed, Camera().GetMode());
    Step(0.1f);
}

// A level that renews its camera scripts while one of them is the view: the
// view follows the new script and never drives the one let go.
TEST_F(ScriptCameraOgreTest, ReplacingTheControllerOfTheCurrentModeDrivesTheNewOne)
{
    auto first = Script("function Initialize() end\nfunction Update() Camera:SetPos(CVector(1, 2, 3)) end");
    Run(ev::camera_script4, *first);
    Step(0.1f);
    EXPECT_VECTOR_NEAR(CVector(1, 2, 3), Camera().GetPos(), 1e-4f);

    auto second = Script("function Initialize() end\nfunction Update() Camera:SetPos(CVector(4, 5, 6)) end");
    Camera().ResetMotionController(ev::camera_script4);
    first.reset();
    Step(0.1f);
    Camera().SetMotionController(ev::camera_script4, second.get());
    Step(0.1f);
    EXPECT_EQ(ev::camera_script4, Camera().GetMode());
    EXPECT_VECTOR_NEAR(CVector(4, 5, 6), Camera().GetPos(), 1e-4f);
    EXPECT_FALSE(HasErrors()) << m_Log.m_Lines.back();
}

// A script that updates the camera from inside the camera's update fails as a
// script, not as the program.
TEST_F(ScriptCameraOgreTest, CameraUpdateFromAScriptIsAScriptError)
{
    auto controller = Script("function Initialize() end\nfunction Update() Camera:Update(Timing) end");
    Run(ev::camera_script1, *controller);
    Step(0.1f);
    Step(0.1f);
    EXPECT_TRUE(controller->HasFailed());
    EXPECT_TRUE(m_Log.HasContaining("can not be called while it runs")) << m_Log.m_Lines.back();
    EXPECT_EQ(ev::camera_script1, Camera().GetMode());
}

// The four scripts the configuration names follow a jumper coming down toward
// the target for 100 frames without a failure, each ending up facing him (the
// trajectory camera faces the middle of the trajectory on show).
TEST_F(ScriptCameraOgreTest, ShippedScriptsFollowTheJumper)
{
    const xml::CNodePtr scripts = m_App.m_Config->GetChild("Camera")->GetChild("Scripts");
    const CVector target(0, 0, 0);
    m_Positions->m_Target = target;
    m_Events.m_MousePosition = CVector(0.3f, 0.4f, 0);
    for (int number = 1; number <= 4; ++number) {
        SCOPED_TRACE("camera script " + std::to_string(number));
        const std::string file =
            scripts->GetChildById("Camera", std::to_string(number), "Name,Id")->GetAttribute("Script")->GetValue();
        auto controller = Controller(file);
        for (const bool trajectory : {false, true}) {
            m_Positions->m_Trajectory.reset();
            if (trajectory)
                m_Positions->m_Trajectory = std::make_pair(CVector(-200, 800, 300), CVector(5, 0, -5));
            CVector jumper(-150, 400, 200);
            m_Positions->m_Jumper = jumper;
            Run(ev::camera_script1 + number - 1, *controller);
            for (int frame = 0; frame < 100; ++frame) {
                jumper = jumper + CVector(1.5f, -4, -2);
                m_Positions->m_Jumper = jumper;
                Step(0.05f);
            }
            ASSERT_FALSE(HasErrors()) << m_Log.m_Lines.back();
            const CVector position = Camera().GetPos();
            ASSERT_TRUE(IsFinite(position));
            // What the scripts see of the jumper while a trajectory is on show is its finish.
            const CVector seen = trajectory ? CVector(5, 0, -5) : jumper;
            const CVector watched = number == 3 && trajectory ? CVector(-97.5f, 400, 147.5f) : seen;
            EXPECT_GT(Camera().GetDir().Dot(Normalised(watched - position)), 0.999f);
        }
    }
}

// The chase camera's view after a hundred frames of the jumper's final
// approach: the jumper (a person-sized red box) in the middle of the picture,
// the ground and the yellow target ahead of him. The picture is kept as test-artifacts/camera/chase-camera.png.
TEST_F(ScriptCameraOgreTest, ChaseCameraKeepsTheJumperInTheMiddle)
{
    COgreTestEnvironment& env = COgreTestEnvironment::Get();
    Ogre::Light* sun = Scene()->createLight("ChaseSun");
    sun->setType(Ogre::Light::LT_DIRECTIONAL);
    Ogre::SceneNode* sunNode = Scene()->getRootSceneNode()->createChildSceneNode();
    sunNode->setDirection(Ogre::Vector3(-0.4f, -1.0f, -0.6f).normalisedCopy(), Ogre::Node::TS_WORLD);
    sunNode->attachObject(sun);
    auto colour = [](const sds::CGfxObjPtr& object, const char* rgb) {
        sds::CFourFloats value;
        value.ParseQuaternion(std::string(rgb) + ",1");
        object->SetMaterial("Dravonkel/Default", true);
        object->SetSubEntityColour(0, value);
    };
    const sds::CGfxObjPtr ground = m_Mgr->CreatePlane(8, 8, 1, 1);
    ground->SetScale(CVector(5000, 1, 5000));
    colour(ground, "0.35,0.55,0.25");
    const sds::CGfxObjPtr target = m_Mgr->CreateSphere(3.0f);
    target->SetPos(CVector(0, 0, 0));
    colour(target, "0.95,0.85,0.1");
    const sds::CGfxObjPtr jumper = m_Mgr->CreateBox(CVector(1, 1.8f, 1));
    colour(jumper, "0.9,0.2,0.1");

    m_Positions->m_Target = CVector(0, 0, 0);
    CVector position(-150, 80, 200);
    m_Positions->m_Jumper = position;
    jumper->SetPos(position);
    const std::string file = m_App.m_Config->GetChild("Camera")->GetChild("Scripts")->GetChildById("Camera", "1", "Name,Id")
                                 ->GetAttribute("Script")->GetValue();
    auto controller = Controller(file);
    Run(ev::camera_script1, *controller);
    for (int frame = 0; frame < 100; ++frame) {
        position = position + CVector(1.05f, -0.7f, -1.4f);
        m_Positions->m_Jumper = position;
        jumper->SetPos(position);
        Step(0.05f);
    }
    // A sky behind it all; the camera made the background black.
    Ogre::Viewport* viewport = env.m_Window->getViewport(0);
    viewport->setBackgroundColour(Ogre::ColourValue(0.55f, 0.7f, 0.9f));
    env.RenderFrame();
    const std::string artifacts = SDS_TEST_ARTIFACT_DIR "/camera";
    boost::filesystem::create_directories(artifacts);
    env.m_Window->writeContentsToFile(artifacts + "/chase-camera.png");

    std::vector<std::uint8_t> pixels(COgreTestEnvironment::kWidth * COgreTestEnvironment::kHeight * 4);
    Ogre::PixelBox box(COgreTestEnvironment::kWidth, COgreTestEnvironment::kHeight, 1, Ogre::PF_BYTE_RGBA, pixels.data());
    env.m_Window->copyContentsToMemory(Ogre::Box(0, 0, COgreTestEnvironment::kWidth, COgreTestEnvironment::kHeight), box);
    viewport->setBackgroundColour(Ogre::ColourValue(0, 0, 0, 1));
    auto pixel = [&](unsigned x, unsigned y) { return &pixels[(y * COgreTestEnvironment::kWidth + x) * 4]; };
    const std::uint8_t* middle = pixel(COgreTestEnvironment::kWidth / 2, COgreTestEnvironment::kHeight / 2);
    EXPECT_GT(middle[0], middle[1] + 60) << "the jumper's red in the middle";
    const std::uint8_t* top = pixel(COgreTestEnvironment::kWidth / 2, 4);
    EXPECT_GT(top[2], top[0]) << "sky above";
    EXPECT_FALSE(HasErrors());
}
