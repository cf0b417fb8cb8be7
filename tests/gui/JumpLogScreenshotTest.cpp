// The jump log drawn by CEGUI's Ogre renderer at 1024 x 768, one jump listed
// and "Only this drop zone" checked: its check box is big enough to see and
// its mark is bright, and the buttons' words stand clear of their frames.
// The picture is kept in build/test-artifacts/gui/jump-log.png.

#include <memory>

#include <CEGUI/CEGUI.h>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/Engine.h"
#include "app/JumpRecord.h"
#include "gui/CeguiGUI.h"
#include "gui/WindowResolver.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/MenuServices.h"
#include "gui/menus/TestEngineStates.h"
#include "OgreTestWindow.h"
#include "ScreenPixels.h"
#include "support/CapturingLogMgr.h"
#include "support/DefaultConfig.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeSndMgr.h"

using namespace sds;

namespace {

// Pixels of the rectangle in the check mark's bright green.
unsigned MarkPixels(const CPixels& pixels, const CEGUI::Rectf& area)
{
    unsigned count = 0;
    for (unsigned y = unsigned(area.top()); y < unsigned(area.bottom()); ++y)
        for (unsigned x = unsigned(area.left()); x < unsigned(area.right()); ++x) {
            const std::uint8_t* p = Pixel(pixels, x, y);
            count += p[1] > 200 && p[0] < 190 && p[2] < 140 ? 1 : 0;
        }
    return count;
}

TEST(JumpLogScreenshot, TheFilterCheckBoxIsSeenCheckedAndTheButtonsHoldTheirWords)
{
    CCapturingLogMgr log;
    CFakeEventMgr events;
    CFakeApplication app(LoadDefaultConfig());
    CFakeSndMgr sound;
    CMenuServices services(app.m_Config);
    CTestEngine engine;
    CFakeGameModeState game;
    engine.m_GameModeState = &game;
    xml::CNodePtr info(new xml::CNode("Jump", false));
    info->AddChild("Info", "1")->AddAttribute("Name", "Jump #");
    info->AddChild("Info", "Home Field")->AddAttribute("Name", "Drop zone name");
    info->AddChild("Info", "On target, 8mph wind")->AddAttribute("Name", "Configuration");
    engine.Profile().AddJump(CJumpRecord(1, "Home Field", "Jump_1.trajectory", CVector::ZERO, CVector::ZERO, info));
    COgreTestWindow window(Width, Height);
    auto gui = std::make_unique<wrappers::CCeguiGUI>(app.GetConfig()->GetChild("GUI"), &window.GetRenderer());
    auto guiEngine = std::make_unique<CGuiEngine>();
    wrappers::CWindowResolver windows;
    windows.SetRoot(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow());

    // From a tutorial's jump: all four buttons are shown.
    engine.ChangeState(&game);
    GuiStates::GoToInGameMenu(*guiEngine);
    GuiStates::ShowStatistics(*guiEngine, false, "");
    gui->ShowWindow("wndStatistics/btnContinueTutorial", true);
    const std::string filter = "wndStatistics/chbFilterDZ";
    const CEGUI::Rectf box = windows.Get(filter).getUnclippedOuterRect().get();
    const CEGUI::Rectf mark(box.left(), box.top(), box.left() + 24.0f, box.bottom());
    events.FireFrame(0.05f);
    window.Render();
    const CPixels unchecked = window.Capture();
    gui->SetChecked(filter, true);
    events.FireFrame(0.05f);
    window.Render();
    const CPixels checked = window.Capture();
    const std::string artifacts = SDS_TEST_ARTIFACT_DIR "/gui";
    boost::filesystem::create_directories(artifacts);
    window.Save(artifacts + "/jump-log.png");

    EXPECT_EQ(0u, MarkPixels(unchecked, mark));
    EXPECT_LT(40u, MarkPixels(checked, mark)) << "a mark to see at a glance";
    EXPECT_GT(Changed(unchecked, checked, mark), 0.15);

    // The words of each button: nothing of them in the frame's ends, where
    // the pictures with and without the words are alike.
    for (const char* button : {"wndStatistics/btnJumpPlayer", "wndStatistics/btnRepeatJump",
                               "wndStatistics/btnContinueTutorial", "wndStatistics/btnDone"}) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(windows.Get(button).isEffectiveVisible());
        const CEGUI::Rectf area = windows.Get(button).getUnclippedOuterRect().get();
        const std::string text = gui->GetText(button);
        gui->SetText(button, "");
        window.Render();
        const CPixels blank = window.Capture();
        gui->SetText(button, text);
        const float end = 14.0f;
        EXPECT_GT(Changed(checked, blank, area), 0.02) << "its words are drawn";
        const CEGUI::Rectf left(area.left(), area.top(), area.left() + end, area.bottom());
        const CEGUI::Rectf right(area.right() - end, area.top(), area.right(), area.bottom());
        EXPECT_EQ(0.0, Changed(checked, blank, left));
        EXPECT_EQ(0.0, Changed(checked, blank, right));
    }

    guiEngine.reset();
    gui.reset();
}

} // namespace
