#include <string>
#include <vector>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>
#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreRenderTexture.h>
#include <OGRE/OgreTextureManager.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include "GeneratedObjectTests.h"
#include "OgreWorld.h"
#include "graphics/ogre/Dial.h"
#include "graphics/ogre/DigitalDial.h"
#include "support/CapturingLogMgr.h"

namespace {

const std::string kArtifacts = std::string(SDS_TEST_ARTIFACT_DIR) + "/graphics";

class OgreDialTest : public ::testing::Test
{
protected:
    COgreTestEnvironment& Env() { return COgreTestEnvironment::Get(); }
    sds::IGfxMgr& Mgr() { return m_World.Mgr(); }

    std::shared_ptr<sds::IDial> MakeAnalog(int size)
    {
        const std::string target = "<RTT Width='" + std::to_string(size) + "' Height='" + std::to_string(size) +
                                   "' ZOrder='0' BgColor='0.15 0.15 0.18 1' NearClipDistance='0.1' "
                                   "FarClipDistance='10' CameraPos='0, 1.3, 0' CameraRotation='-90, 0, 0'/>";
        return Mgr().CreateDial(TestDialElement(target), TestDialElement(TestFaceXml()),
                                TestDialElement(TestNeedleXml()));
    }

    // The texture's pixels, RGBA, rows from the top.
    static std::vector<std::uint8_t> Pixels(const wrappers::COgreRTT& rtt)
    {
        Ogre::RenderTarget* target = rtt.GetRenderTarget();
        std::vector<std::uint8_t> pixels(4u * target->getWidth() * target->getHeight());
        target->copyContentsToMemory(Ogre::Box(0, 0, target->getWidth(), target->getHeight()),
                                     Ogre::PixelBox(target->getWidth(), target->getHeight(), 1, Ogre::PF_BYTE_RGBA,
                                                    pixels.data()));
        return pixels;
    }

    static bool IsNeedle(const std::vector<std::uint8_t>& pixels, unsigned width, unsigned x, unsigned y)
    {
        const std::uint8_t* p = &pixels[4u * (y * width + x)];
        return p[0] > 180 && p[1] < 80 && p[2] < 80;
    }

    static void Keep(const wrappers::COgreRTT& rtt, const std::string& name)
    {
        boost::filesystem::create_directories(kArtifacts);
        rtt.GetRenderTarget()->writeContentsToFile(kArtifacts + "/" + name);
    }

    COgreWorld m_World;
};

// Records which overlays are visible while a texture renders.
class COverlayWitness : public Ogre::RenderTargetListener
{
public:
    void preRenderTargetUpdate(const Ogre::RenderTargetEvent&) override
    {
        m_Visible.clear();
        for (auto it = Ogre::OverlayManager::getSingleton().getOverlayIterator(); it.hasMoreElements();) {
            Ogre::Overlay* overlay = it.getNext();
            if (overlay->isVisible())
                m_Visible.push_back(overlay->getName());
        }
    }

    std::vector<std::string> m_Visible;
};

} // namespace

TEST_F(OgreDialTest, AnalogDialsStandApartInTheTextureScene)
{
    const auto first = MakeAnalog(64);
    const auto second = MakeAnalog(64);
    const auto& a = dynamic_cast<const wrappers::CDial&>(*first);
    const auto& b = dynamic_cast<const wrappers::CDial&>(*second);
    const Ogre::Vector3 eyeA = a.GetRTT().GetCamera()->getDerivedPosition();
    const Ogre::Vector3 eyeB = b.GetRTT().GetCamera()->getDerivedPosition();
    EXPECT_FLOAT_EQ(100.0f, eyeA.x);
    EXPECT_FLOAT_EQ(1.3f, eyeA.y);
    EXPECT_FLOAT_EQ(100.0f, eyeB.x - eyeA.x);
    EXPECT_EQ(Env().m_Rtt, a.GetRTT().GetCamera()->getSceneManager());
    EXPECT_NE(a.GetRTT().GetCamera()->getName(), b.GetRTT().GetCamera()->getName());
    // Looking straight down at its own face.
    EXPECT_NEAR(-1.0f, a.GetRTT().GetCamera()->getDerivedDirection().y, 1e-5f);
}

TEST_F(OgreDialTest, NeedleTurnsAbsolutelyAndShowsInTheTexture)
{
    const auto dial = MakeAnalog(128);
    const auto& analog = dynamic_cast<const wrappers::CDial&>(*dial);
    dial->SetValue(90.0f);
    EXPECT_NEAR(0.70710677f, analog.GetNeedlePivot()->getOrientation().y, 1e-6f);
    dial->SetValue(0.0f);
    EXPECT_EQ(Ogre::Quaternion::IDENTITY, analog.GetNeedlePivot()->getOrientation());

    Env().RenderFrame();
    std::vector<std::uint8_t> pixels = Pixels(analog.GetRTT());
    Keep(analog.GetRTT(), "dial-at-rest.png");
    // At rest the needle points to twelve o'clock.
    EXPECT_TRUE(IsNeedle(pixels, 128, 64, 36));
    EXPECT_FALSE(IsNeedle(pixels, 128, 92, 64));

    // The altimeter turns it clockwise by negative angles.
    dial->SetValue(-90.0f);
    Env().RenderFrame();
    pixels = Pixels(analog.GetRTT());
    Keep(analog.GetRTT(), "dial-quarter-turn.png");
    EXPECT_TRUE(IsNeedle(pixels, 128, 92, 64));
    EXPECT_FALSE(IsNeedle(pixels, 128, 64, 36));
}

TEST_F(OgreDialTest, TextureCameraAndMaterialComeAndGoWithTheDial)
{
    CCapturingLogMgr log;
    Ogre::SceneManager* rtt = Env().m_Rtt;
    const std::size_t entities = rtt->getMovableObjects("Entity").size();
    std::string material, texture, camera;
    {
        const auto dial = MakeAnalog(64);
        const auto& analog = dynamic_cast<const wrappers::CDial&>(*dial);
        material = dial->GetMaterialName();
        texture = analog.GetRTT().GetTexture()->getName();
        camera = analog.GetRTT().GetCamera()->getName();
        EXPECT_TRUE(log.Has("Creating RTT: " + material));
        EXPECT_EQ(entities + 2, rtt->getMovableObjects("Entity").size());
        const Ogre::MaterialPtr shown = Ogre::MaterialManager::getSingleton().getByName(material);
        ASSERT_TRUE(shown);
        EXPECT_EQ(texture, shown->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getTextureName());
        EXPECT_FALSE(analog.GetRTT().GetRenderTarget()->getViewport(0)->getOverlaysEnabled());
    }
    EXPECT_TRUE(log.Has("Destroying RTT: " + material));
    EXPECT_FALSE(Ogre::MaterialManager::getSingleton().resourceExists(material));
    EXPECT_FALSE(Ogre::TextureManager::getSingleton().resourceExists(texture));
    EXPECT_FALSE(rtt->hasCamera(camera));
    EXPECT_EQ(entities, rtt->getMovableObjects("Entity").size());
}

TEST_F(OgreDialTest, DigitalDialRendersItsOverlayAloneAndGivesTheScreenItsOwnBack)
{
    Env().DefineTextOverlay("Test/DigitalDial", "Test/DigitalDial/Value");
    const auto dial = Mgr().CreateDial(
        TestDialElement("<RTT Width='256' Height='128' ZOrder='0' BgColor='0.05 0.05 0.05 1' NearClipDistance='1' "
                        "FarClipDistance='10' CameraPos='0,0,0' CameraRotation='0,0,0'/>"),
        TestDialElement("<Dial Overlay='Test/DigitalDial' Value='Test/DigitalDial/Value'/>"),
        TestDialElement("<Arrow/>"));
    const auto& digital = dynamic_cast<const wrappers::CDigitalDial&>(*dial);
    dial->SetText("4050");
    COverlayWitness witness;
    digital.GetRTT().GetRenderTarget()->addListener(&witness);

    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    const std::vector<std::string> screen = {"ConsoleWnd", "FPSOverlay", "LevelLoadingProgressBar"};
    for (const std::string& name : screen)
        overlays.getByName(name)->show();
    Env().RenderFrame();
    digital.GetRTT().GetRenderTarget()->removeListener(&witness);

    EXPECT_EQ(std::vector<std::string>{"Test/DigitalDial"}, witness.m_Visible);
    for (const std::string& name : screen) {
        EXPECT_TRUE(overlays.getByName(name)->isVisible()) << name;
        overlays.getByName(name)->hide();
    }
    EXPECT_FALSE(overlays.getByName("Test/DigitalDial")->isVisible());
    EXPECT_TRUE(digital.GetRTT().GetRenderTarget()->getViewport(0)->getOverlaysEnabled());

    // The read-out shows in the texture.
    const std::vector<std::uint8_t> pixels = Pixels(digital.GetRTT());
    Keep(digital.GetRTT(), "digital-dial.png");
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        lit += pixels[i] > 150 && pixels[i + 1] > 60 && pixels[i + 2] < 80;
    EXPECT_GT(lit, 200);
}
