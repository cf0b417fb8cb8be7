#include <memory>
#include <stdexcept>
#include <vector>

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureManager.h>
#include <gtest/gtest.h>

#include "scene/SceneCounts.h"
#include "scene/ogre/SkyBox.h"
#include "scene/ogre/SkyBoxFaces.h"
#include "support/OgreTestEnvironment.h"
#include "support/Pictures.h"

using wrappers::CSkyBox;

namespace {

const Ogre::ColourValue kFrameColours[CSkyBox::kFaces] = {
    Ogre::ColourValue(1, 0, 0), Ogre::ColourValue(0, 1, 0), Ogre::ColourValue(0, 0, 1),
    Ogre::ColourValue(1, 1, 0), Ogre::ColourValue(1, 0, 1), Ogre::ColourValue(0, 1, 1),
};

// A material whose first texture unit has a frame of plain colour for each colour given.
std::string FramesMaterial(const std::string& name, const std::vector<Ogre::ColourValue>& colours)
{
    std::vector<Ogre::String> frames;
    for (size_t i = 0; i < colours.size(); ++i) {
        Ogre::Image image;
        image.create(Ogre::PF_BYTE_RGBA, 4, 4);
        for (Ogre::uint32 y = 0; y < 4; ++y)
            for (Ogre::uint32 x = 0; x < 4; ++x)
                image.setColourAt(colours[i], x, y, 0);
        frames.push_back(name + "_" + std::to_string(i));
        Ogre::TextureManager::getSingleton().loadImage(frames.back(), "General", image);
    }
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, "General");
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->createTextureUnitState()->setAnimatedTextureName(frames, 0);
    return name;
}

class SkyBoxTest : public ::testing::Test
{
protected:
    SkyBoxTest() : m_Env(COgreTestEnvironment::Get()), m_Scene(*m_Env.m_Level)
    {
        m_Env.m_Camera->getParentSceneNode()->setPosition(Ogre::Vector3::ZERO);
    }
    ~SkyBoxTest() override { m_Env.ResetLevelScene(); }

    // The colour at the middle of the window with the camera looking at the face.
    Ogre::ColourValue Seen(int face)
    {
        const float* n = wrappers::kSkyBoxFaces[face].m_Normal;
        const Ogre::Vector3 towards(-n[0], -n[1], -n[2]);
        m_Env.m_Camera->getParentSceneNode()->setOrientation(Ogre::Vector3::NEGATIVE_UNIT_Z.getRotationTo(towards));
        m_Env.RenderFrame();
        return ReadPixel(*m_Env.m_Window, COgreTestEnvironment::kWidth / 2, COgreTestEnvironment::kHeight / 2);
    }

    COgreTestEnvironment& m_Env;
    Ogre::SceneManager& m_Scene;
};

} // namespace

TEST_F(SkyBoxTest, FaceIShowsFrameIInTheEarlySkyGroupOnly)
{
    const std::string material =
        FramesMaterial("SkyBoxTest/SixFrames", std::vector<Ogre::ColourValue>(kFrameColours, kFrameColours + 6));
    const CSkyBox box(material, 50.0f, &m_Scene);
    for (int face = 0; face < CSkyBox::kFaces; ++face)
        EXPECT_EQ(kFrameColours[face], Seen(face)) << wrappers::kSkyBoxFaces[face].m_Word;

    m_Scene.setSpecialCaseRenderQueueMode(Ogre::SceneManager::SCRQM_INCLUDE);
    m_Scene.addSpecialCaseRenderQueue(Ogre::RENDER_QUEUE_SKIES_EARLY);
    EXPECT_EQ(kFrameColours[3], Seen(3)) << "drawn with the early sky group alone";
    m_Scene.setSpecialCaseRenderQueueMode(Ogre::SceneManager::SCRQM_EXCLUDE);
    EXPECT_EQ(Ogre::ColourValue::Black, Seen(3)) << "and not in any other group";
}

TEST_F(SkyBoxTest, MissingMaterialThrowsAndLeavesNothing)
{
    const CSceneCounts before(&m_Scene);
    try {
        CSkyBox box("SkyBoxTest/NoSuchMaterial", 50.0f, &m_Scene);
        ADD_FAILURE() << "made a sky box without its material";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("Sky box material not found: SkyBoxTest/NoSuchMaterial", e.what());
    }
    EXPECT_FALSE(m_Scene.hasSceneNode("CustomSkyBoxNode"));
    EXPECT_EQ(before, CSceneCounts(&m_Scene));
    // The next zone's sky box is not stopped by the failed one.
    const CSkyBox box(FramesMaterial("SkyBoxTest/AfterFailure", {Ogre::ColourValue::Red}), 50.0f, &m_Scene);
    EXPECT_EQ(Ogre::ColourValue::Red, Seen(0));
}

TEST_F(SkyBoxTest, NextSkyBoxReusesTheFacesWithItsOwnPicture)
{
    const std::string six =
        FramesMaterial("SkyBoxTest/First", std::vector<Ogre::ColourValue>(kFrameColours, kFrameColours + 6));
    const CSceneCounts before(&m_Scene);
    std::make_unique<CSkyBox>(six, 50.0f, &m_Scene).reset();
    EXPECT_FALSE(m_Scene.hasSceneNode("CustomSkyBoxNode"));
    EXPECT_EQ(before, CSceneCounts(&m_Scene));
    for (int face = 0; face < CSkyBox::kFaces; ++face) {
        EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists("CustomSkyBoxPlane" + std::to_string(face)));
        EXPECT_TRUE(Ogre::MeshManager::getSingleton().resourceExists(
            std::string("SkyBoxPlane_") + wrappers::kSkyBoxFaces[face].m_Word));
    }

    // One frame: every face shows it.
    const Ogre::ColourValue grey(0.4f, 0.4f, 0.4f);
    const CSkyBox second(FramesMaterial("SkyBoxTest/Second", {grey}), 80.0f, &m_Scene);
    for (int face = 0; face < CSkyBox::kFaces; ++face) {
        const Ogre::ColourValue seen = Seen(face);
        EXPECT_NEAR(grey.r, seen.r, 0.01f) << wrappers::kSkyBoxFaces[face].m_Word;
        EXPECT_NEAR(grey.b, seen.b, 0.01f) << wrappers::kSkyBoxFaces[face].m_Word;
    }
}
