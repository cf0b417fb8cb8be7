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
#include "MenuScreen.h"
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
    CMenuScreen screen(LoadDefaultConfig());
    screen.WithGameMode();
    xml::CNodePtr info(new xml::CNode("Jump", false));
    info->AddChild("Info", "1")->AddAttribute("Name", "Jump #");
    info->AddChild("Info", "Home Field")->AddAttribute("Name", "Drop zone name");
    info->AddChild("Info", "On target, 8mph wind")->AddAttribute("Name", "Configuration");
    screen.m_Engine.Profile().AddJump(CJumpRecord(1, "Home Field", "Jump_1.trajectory", CVector::ZERO, CVector::ZERO, info));

    // From a tutorial's jump: all four buttons are shown.
    screen.m_Engine.ChangeState(&screen.m_Game);
    screen.Open();
    GuiStates::GoToInGameMenu(*screen.m_GuiEngine);
    GuiStates::ShowStatistics(*screen.m_GuiEngine, false, "");
    screen.m_Gui->ShowWindow("wndStatistics/btnContinueTutorial", true);
    const std::string filter = "wndStatistics/chbFilterDZ";
    const CEGUI::Rectf box = screen.m_Windows.Get(filter).getUnclippedOuterRect().get();
    const CEGUI::Rectf mark(box.left(), box.top(), box.left() + 24.0f, box.bottom());
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels unchecked = screen.m_Window.Capture();
    screen.m_Gui->SetChecked(filter, true);
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels checked = screen.m_Window.Capture();
    const std::string artifacts = CMenuScreen::Artifacts("gui");
    screen.m_Window.Save(artifacts + "/jump-log.png");

    EXPECT_EQ(0u, MarkPixels(unchecked, mark));
    EXPECT_LT(40u, MarkPixels(checked, mark)) << "a mark to see at a glance";
    EXPECT_GT(Changed(unchecked, checked, mark), 0.15);

    // The words of each button: nothing of them in the frame's ends, where
    // the pictures with and without the words are alike.
    for (const char* button : {"wndStatistics/btnJumpPlayer", "wndStatistics/btnRepeatJump",
                               "wndStatistics/btnContinueTutorial", "wndStatistics/btnDone"}) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(screen.m_Windows.Get(button).isEffectiveVisible());
        const CEGUI::Rectf area = screen.m_Windows.Get(button).getUnclippedOuterRect().get();
        const std::string text = screen.m_Gui->GetText(button);
        screen.m_Gui->SetText(button, "");
        screen.m_Window.Render();
        const CPixels blank = screen.m_Window.Capture();
        screen.m_Gui->SetText(button, text);
        const float end = 14.0f;
        EXPECT_GT(Changed(checked, blank, area), 0.02) << "its words are drawn";
        const CEGUI::Rectf left(area.left(), area.top(), area.left() + end, area.bottom());
        const CEGUI::Rectf right(area.right() - end, area.top(), area.right(), area.bottom());
        EXPECT_EQ(0.0, Changed(checked, blank, left));
        EXPECT_EQ(0.0, Changed(checked, blank, right));
    }
}

} // namespace
