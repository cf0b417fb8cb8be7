#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "OgreWorld.h"
#include "graphics/ogre/LoadingProgressBar.h"
#include "graphics/ogre/OgreConsole.h"
#include "graphics/ogre/OgreFader.h"
#include "support/FakeEventMgr.h"
#include "support/Pictures.h"
#include "support/TempDir.h"

namespace {

const char* const kShotDirVariable = "SDS_SCREENSHOT_DIR";

} // namespace

// One run of the picture: meshes placed, a fade out and in with its callback
// between, the console's lines, then the loading bar at a half. It runs when
// the test below starts it in a process of its own.
TEST(OgreScreenshot, Scene)
{
    const char* folder = std::getenv(kShotDirVariable);
    if (!folder)
        GTEST_SKIP() << "started by TwoRunsGiveIdenticalPictures";
    COgreTestEnvironment& env = COgreTestEnvironment::Get();
    CFakeEventMgr events;
    {
        COgreWorld world;
        sds::IGfxMgr& mgr = world.Mgr();
        Ogre::SceneNode* eye = env.m_Camera->getParentSceneNode();
        eye->setPosition(0, 1.5f, 6);
        eye->lookAt(Ogre::Vector3::ZERO, Ogre::Node::TS_WORLD);
        Ogre::Light* sun = env.m_Level->createLight("Sun");
        sun->setType(Ogre::Light::LT_DIRECTIONAL);
        Ogre::SceneNode* sunNode = env.m_Level->getRootSceneNode()->createChildSceneNode();
        sunNode->setDirection(Ogre::Vector3(-0.4f, -1.0f, -0.6f).normalisedCopy(), Ogre::Node::TS_WORLD);
        sunNode->attachObject(sun);

        const sds::CGfxObjPtr cube = mgr.CreateObject("Cube", nullptr);
        cube->SetYawPitchRoll(sds::CVector(20, 30, 0));
        const sds::CGfxObjPtr sphere = mgr.CreateSphere(0.6f);
        sphere->SetPos(sds::CVector(1.9f, 0, 0));
        const sds::CGfxObjPtr arrow = mgr.CreateObject("UnitArrow", nullptr);
        arrow->SetPos(sds::CVector(-1.9f, -0.6f, 0));
        arrow->SetScale(sds::CVector(3, 1.4f, 3));

        wrappers::COgreConsole console("ConsoleWnd", "ConsoleWnd/Console", 31, 5);
        console.Clear();
        console.SetFixedLine(0, "Altitude 1000 m");
        console.Print("Canopy open\nFlare at 3 m");

        int calls = 0;
        {
            wrappers::COgreFader fader;
            fader.StartFade(0.15f, 0.15f, [&] {
                ++calls;
                console.Print("Faded out and back");
            });
            for (int frame = 0; frame < 2000 && fader.IsFading(); ++frame) {
                env.RenderFrame();
                events.FireFrame(0.016f);
            }
            EXPECT_FALSE(fader.IsFading());
            EXPECT_FALSE(fader.IsVisible());
        }
        EXPECT_EQ(1, calls);
        env.RenderFrame();
        CaptureWindow(mgr, folder, "scene");

        auto bar = mgr.CreateLoadingProgressBar("LevelLoadingProgressBar");
        bar->SetProgress("Creating graphical scene", 1.0f);
        bar->SetStepProgress("Terrain", 0.5f);
        const auto& drawn = dynamic_cast<const wrappers::CLoadingProgressBar&>(*bar);
        EXPECT_FLOAT_EQ(drawn.GetFullWidth() * 0.5f, drawn.GetFilledWidth());
        CaptureWindow(mgr, folder, "loading");
    }
}

TEST(OgreScreenshot, TwoRunsGiveIdenticalPictures)
{
    if (std::getenv(kShotDirVariable))
        GTEST_SKIP();
    CTempDir first;
    CTempDir second;
    ASSERT_EQ(0, RunPictureTestInNewProcess("OgreScreenshot.Scene", kShotDirVariable, first.Path())) << "see " << first.File("run.log");
    ASSERT_EQ(0, RunPictureTestInNewProcess("OgreScreenshot.Scene", kShotDirVariable, second.Path())) << "see " << second.File("run.log");
    // Each run started and shut the engine down cleanly.
    for (const CTempDir* run : {&first, &second}) {
        std::ifstream log(run->File("Ogre.log"));
        std::string line;
        bool shutDown = false;
        while (std::getline(log, line)) {
            EXPECT_EQ(std::string::npos, line.find("Exception")) << line;
            EXPECT_EQ(std::string::npos, line.find("Error")) << line;
            shutDown = shutDown || line.find("OGRE Shutdown") != std::string::npos;
        }
        EXPECT_TRUE(shutDown);
    }
    for (const char* picture : {"scene.png", "loading.png"}) {
        EXPECT_EQ("0", DifferentPixels(first.File(picture), second.File(picture))) << picture;
        // Kept beside the test's work folder for a look.
        boost::filesystem::copy_file(first.File(picture), picture, boost::filesystem::copy_options::overwrite_existing);
    }
}
