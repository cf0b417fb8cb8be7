// The sky as a trainee sees it: noon, dusk and night over a field with a few
// blocks, and the sky box a zone without a sky shows, drawn twice in processes
// of their own; the two runs must give the same pictures. They are kept in
// test-artifacts/scene (sky-noon.png, sky-dusk.png, sky-night.png,
// sky-box.png) for people to look at.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "graphics/OgreWorld.h"
#include "scene/ogre/Caelum.h"
#include "scene/ogre/SkyBox.h"
#include "scene/ogre/SkyConfig.h"
#include "support/Pictures.h"
#include "support/TempDir.h"

namespace {

const char* const kShotDirVariable = "SDS_SKY_PICTURE_DIR";
const char* const kPictures[] = {"sky-noon.png", "sky-dusk.png", "sky-night.png", "sky-box.png"};

struct CView
{
    const char* m_Picture;
    int m_Hour;
    int m_Minutes;
    // Where the camera looks: the compass direction (degrees from north
    // through east) and how far up.
    float m_Heading;
    float m_Pitch;
};

// A flat field with a few grey blocks, lit by whatever light the scene has.
void BuildField(Ogre::SceneManager& scene)
{
    Ogre::MaterialPtr grass = Ogre::MaterialManager::getSingleton().create("SkyPicturesTest/Grass", "General");
    grass->getTechnique(0)->getPass(0)->setAmbient(0.3f, 0.42f, 0.2f);
    grass->getTechnique(0)->getPass(0)->setDiffuse(0.3f, 0.42f, 0.2f, 1.0f);
    Ogre::MeshManager::getSingleton().createPlane("SkyPicturesTest/Field", "General",
                                                  Ogre::Plane(Ogre::Vector3::UNIT_Y, 0.0f), 20000, 20000, 20, 20,
                                                  true, 1, 1, 1, Ogre::Vector3::UNIT_Z);
    Ogre::Entity* field = scene.createEntity("SkyPicturesTest/Field", "SkyPicturesTest/Field");
    field->setMaterial(grass);
    field->setCastShadows(false);
    scene.getRootSceneNode()->createChildSceneNode()->attachObject(field);
    // Hangar-sized blocks around, 800 m away.
    for (int block = 0; block < 12; ++block) {
        const Ogre::Radian around(Ogre::Math::TWO_PI * (block + 0.3f) / 12);
        const Ogre::Vector3 at(800 * Ogre::Math::Sin(around), 20, 800 * Ogre::Math::Cos(around));
        Ogre::SceneNode* node = scene.getRootSceneNode()->createChildSceneNode(at);
        node->setScale(Ogre::Vector3(40));
        node->attachObject(scene.createEntity("Cube.mesh"));
    }
}

void Look(Ogre::Camera& camera, float heading, float pitch)
{
    Ogre::SceneNode* eye = camera.getParentSceneNode();
    // Over the field as under a canopy, high enough to see the haze on the ground.
    eye->setPosition(0, 150, 0);
    // Heading 0 looks north (-z), 90 east (+x).
    eye->setOrientation(Ogre::Quaternion(Ogre::Degree(-heading), Ogre::Vector3::UNIT_Y) *
                        Ogre::Quaternion(Ogre::Degree(pitch), Ogre::Vector3::UNIT_X));
}

Ogre::ColourValue Pixel(Ogre::RenderWindow& window, float x, float y)
{
    return ReadPixel(window, static_cast<unsigned>(x * window.getWidth()), static_cast<unsigned>(y * window.getHeight()));
}

// The number of pixels of the upper half of the window brighter than a faint star.
int BrightPixelsAbove(Ogre::RenderWindow& window)
{
    const unsigned width = window.getWidth();
    const unsigned height = window.getHeight() / 2;
    std::vector<Ogre::uint8> pixels(width * height * 4);
    window.copyContentsToMemory(Ogre::Box(0, 0, width, height),
                                Ogre::PixelBox(width, height, 1, Ogre::PF_BYTE_RGBA, pixels.data()));
    int bright = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        bright += pixels[i] + pixels[i + 1] + pixels[i + 2] > 3 * 100;
    return bright;
}

} // namespace

// One run of the pictures, started by the test below in a process of its own.
TEST(SkyPictures, Draw)
{
    const char* folder = std::getenv(kShotDirVariable);
    if (!folder)
        GTEST_SKIP() << "started by TwoRunsGiveIdenticalPictures";
    COgreTestEnvironment& env = COgreTestEnvironment::Get();
    COgreWorld world;
    Ogre::Camera& camera = *env.m_Camera;
    camera.setFOVy(Ogre::Degree(60));
    camera.setNearClipDistance(0.5f);
    camera.setFarClipDistance(10000.0f);
    BuildField(*env.m_Level);

    // The spring equinox at 50 N: the sun 40 degrees high in the south at
    // noon, setting in the west just after six.
    const CView views[] = {
        {kPictures[0], 12, 7, 180, 12},
        {kPictures[1], 17, 58, 270, 5},
        {kPictures[2], 23, 0, 0, 25},
    };
    for (const CView& view : views) {
        CSkyTime when;
        when.m_Hour = view.m_Hour;
        when.m_Minutes = view.m_Minutes;
        when.m_TimeZone = 0;
        when.m_Month = 3;
        when.m_Day = 20;
        when.m_Latitude = 50.0f;
        when.m_Longitude = 0.0f;
        const wrappers::CCaelum sky(MakeCaelumConfig(when), &world.Ogre());
        Look(camera, view.m_Heading, view.m_Pitch);
        for (int frame = 0; frame < 2; ++frame) {
            sky.GetSystem()->updateSubcomponents(1.0f / 60);
            env.RenderFrame();
        }
        env.m_Window->writeContentsToFile(std::string(folder) + "/" + view.m_Picture);

        // Plainly wrong skies: the top of the picture is sky.
        const Ogre::ColourValue high = Pixel(*env.m_Window, 0.2f, 0.05f);
        if (view.m_Picture == kPictures[0]) {
            EXPECT_GT(high.b, high.r + 0.2f) << "a blue sky at noon";
        }
        if (view.m_Picture == kPictures[1]) {
            const Ogre::ColourValue horizon = Pixel(*env.m_Window, 0.5f, 0.6f);
            EXPECT_GT(horizon.r, horizon.b) << "a warm glow where the sun sets";
        }
        if (view.m_Picture == kPictures[2]) {
            EXPECT_LT(high.r + high.g + high.b, 0.3f) << "a dark sky at night";
            EXPECT_GT(BrightPixelsAbove(*env.m_Window), 20) << "with stars";
        }
    }

    // The shipped sky box, looking into a corner over the field, where a seam
    // between two faces would show.
    {
        // As a zone without a sky leaves them: no fog, the scene's own light.
        env.m_Level->setFog(Ogre::FOG_NONE);
        env.m_Level->setAmbientLight(Ogre::ColourValue(0.9f, 0.9f, 0.9f));
        const wrappers::CSkyBox box("Sky/SkyBox", 4000.0f, env.m_Level);
        Look(camera, 45, 12);
        env.RenderFrame();
        env.m_Window->writeContentsToFile(std::string(folder) + "/" + kPictures[3]);
        const Ogre::ColourValue high = Pixel(*env.m_Window, 0.5f, 0.05f);
        EXPECT_GT(high.b, high.r + 0.2f) << "a blue sky above";
        // Either side of the corner the two faces meet in one colour.
        const Ogre::ColourValue left = Pixel(*env.m_Window, 0.49f, 0.4f);
        const Ogre::ColourValue right = Pixel(*env.m_Window, 0.51f, 0.4f);
        EXPECT_NEAR(left.b, right.b, 0.1f);
        EXPECT_NEAR(left.g, right.g, 0.1f);
    }
}

TEST(SkyPictures, TwoRunsGiveIdenticalPictures)
{
    if (std::getenv(kShotDirVariable))
        GTEST_SKIP();
    CTempDir first;
    CTempDir second;
    for (const CTempDir* run : {&first, &second})
        ASSERT_EQ(0, RunPictureTestInNewProcess("SkyPictures.Draw", kShotDirVariable, run->Path()))
            << "see " << run->File("run.log");
    const std::string kept = std::string(SDS_TEST_ARTIFACT_DIR) + "/scene";
    boost::filesystem::create_directories(kept);
    for (const char* picture : kPictures) {
        EXPECT_EQ("0", DifferentPixels(first.File(picture), second.File(picture))) << picture;
        boost::filesystem::copy_file(first.File(picture), kept + "/" + picture,
                                     boost::filesystem::copy_options::overwrite_existing);
    }
}
