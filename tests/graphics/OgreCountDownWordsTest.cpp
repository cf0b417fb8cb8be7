// The count-down's shipped overlays drawn by the rendering engine over a
// stand-in of a level (sky above, ground below): big words in their bold
// face that stand out from both, and that vanish with their alpha. The first
// word is the first text of its font ever drawn, so it shows that fonts are
// ready before fixed captions are laid out. The picture is kept as
// test-artifacts/graphics/count-down.png.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/Overlay/OgreOverlayContainer.h>
#include <OGRE/Overlay/OgreOverlayManager.h>
#include <boost/filesystem.hpp>

#include "OgreWorld.h"
#include "graphics/IOverlayElement.h"
#include "support/Pictures.h"

namespace {

const Ogre::ColourValue kSky(0.55f, 0.72f, 0.92f);
const Ogre::ColourValue kGround(0.25f, 0.42f, 0.18f);

// A stand-in of the level under every shipped overlay: sky down to `horizon`
// (a share of the screen's height), ground below it.
void ShowLevelStandIn(float horizon)
{
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    Ogre::Overlay* overlay = overlays.getByName("Test/LevelStandIn");
    if (!overlay) {
        overlay = overlays.create("Test/LevelStandIn");
        overlay->setZOrder(10);
        for (const auto& half : {std::make_pair("Test/Sky", kSky), std::make_pair("Test/Ground", kGround)}) {
            Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(half.first, "General");
            Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
            pass->setLightingEnabled(false);
            pass->setDepthCheckEnabled(false);
            pass->createTextureUnitState("White.dds")
                ->setColourOperationEx(Ogre::LBX_SOURCE1, Ogre::LBS_MANUAL, Ogre::LBS_CURRENT, half.second);
            auto* panel = static_cast<Ogre::OverlayContainer*>(overlays.createOverlayElement("Panel", half.first));
            panel->setMetricsMode(Ogre::GMM_RELATIVE);
            panel->setMaterialName(half.first);
            overlay->add2D(panel);
        }
    }
    overlays.getOverlayElement("Test/Sky")->setPosition(0.0f, 0.0f);
    overlays.getOverlayElement("Test/Sky")->setDimensions(1.0f, horizon);
    overlays.getOverlayElement("Test/Ground")->setPosition(0.0f, horizon);
    overlays.getOverlayElement("Test/Ground")->setDimensions(1.0f, 1.0f - horizon);
    overlay->show();
}

// Two frames: a text drawn for the first time shows from the second.
CWindowPicture Draw()
{
    COgreTestEnvironment& env = COgreTestEnvironment::Get();
    env.RenderFrame();
    env.RenderFrame();
    return CWindowPicture::Capture(*env.m_Window);
}

// Where a word's pixels lie: each pixel far from the plain backdrop.
struct CInk
{
    unsigned Pixels = 0;
    unsigned Left = ~0u, Right = 0, Top = ~0u, Bottom = 0;
};

CInk FindInk(const CWindowPicture& picture, const Ogre::ColourValue& backdrop)
{
    CInk ink;
    for (unsigned y = 0; y < picture.Height; ++y) {
        for (unsigned x = 0; x < picture.Width; ++x) {
            const Ogre::ColourValue c = picture.At(x, y);
            if (std::abs(c.r - backdrop.r) + std::abs(c.g - backdrop.g) + std::abs(c.b - backdrop.b) < 0.6f)
                continue;
            ++ink.Pixels;
            ink.Left = std::min(ink.Left, x);
            ink.Right = std::max(ink.Right, x);
            ink.Top = std::min(ink.Top, y);
            ink.Bottom = std::max(ink.Bottom, y);
        }
    }
    return ink;
}

} // namespace

TEST(OgreCountDownWords, BigCentredWordsStandOutFromSkyAndGroundAndFadeWithTheirAlpha)
{
    COgreWorld world;
    const struct
    {
        const char* Overlay;
        const char* Word;
    } words[] = {{"CountDown/Ready", "Ready"}, {"CountDown/Set", "Set"}, {"CountDown/Go", "Go!"}};
    for (const auto& word : words) {
        const sds::COverlayedPtr overlay = world.Mgr().CreateOverlayed(word.Overlay);
        sds::IOverlayElement* message = overlay->GetElement(std::string(word.Overlay) + "/Message");
        EXPECT_EQ(word.Word, message->GetCaption());
        sds::CFourFloats colour = message->GetColour();
        colour.v[3] = 1.0f;
        message->SetColour(colour);

        for (const auto& backdrop : {std::make_pair(1.0f, kSky), std::make_pair(0.0f, kGround)}) {
            ShowLevelStandIn(backdrop.first);
            const CWindowPicture shown = Draw();
            const CInk ink = FindInk(shown, backdrop.second);
            const char* over = backdrop.first > 0.0f ? " over the sky" : " over the ground";
            EXPECT_GT(ink.Pixels, 1000u) << word.Word << over;
            EXPECT_GT(ink.Bottom - ink.Top + 1, shown.Height / 10) << word.Word << over << ": a tenth of the screen high";
            EXPECT_NEAR((ink.Left + ink.Right) / 2.0f, shown.Width / 2.0f, shown.Width / 20.0f) << word.Word << over;
        }
        if (word.Word == std::string("Ready")) {
            ShowLevelStandIn(0.4f);
            const std::string folder = std::string(SDS_TEST_ARTIFACT_DIR) + "/graphics";
            boost::filesystem::create_directories(folder);
            Draw().Keep(folder + "/count-down.png");
        }

        colour.v[3] = 0.0f;
        message->SetColour(colour);
        ShowLevelStandIn(1.0f);
        EXPECT_EQ(0u, FindInk(Draw(), kSky).Pixels) << word.Word << ": gone at alpha 0";
    }
    Ogre::OverlayManager::getSingleton().getByName("Test/LevelStandIn")->hide();
}
