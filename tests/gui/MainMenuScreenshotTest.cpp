// The main menu drawn by CEGUI's Ogre renderer over a 3D view, with the mouse
// cursor on the Start button, and the view without it once menu mode is left;
// the jump log and the video settings with the rendering engine's own
// options. The pictures are kept in the build tree (test-artifacts/gui/) for
// people to look at.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include <CEGUI/CEGUI.h>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/Engine.h"
#include "app/JumpRecord.h"
#include "core/UnitConverter.h"
#include "core/XmlFile.h"
#include "graphics/ogre/GfxSettingsListBox.h"
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
#include "support/TempDir.h"

using namespace sds;

namespace {

TEST(MainMenuScreenshot, ShowsTheMainMenuOverTheSceneWithTheCursor)
{
    CMenuScreen screen(LoadDefaultConfig());
    screen.Open();
    CTestMenuModeState menuMode(screen.m_GuiEngine.get());

    screen.m_Window.Render();
    const CPixels scene = screen.m_Window.Capture();

    GuiStates::GoToMainMenu(*screen.m_GuiEngine);
    screen.m_Engine.ChangeState(&menuMode);
    const CEGUI::Rectf frame = screen.m_Windows.Get("wndMainMenu/Frame").getUnclippedOuterRect().get();
    const CEGUI::Rectf start = screen.m_Windows.Get("wndMainMenu/btnStart").getUnclippedOuterRect().get();
    CAnalogEvent mouse;
    mouse.Pos[0] = (start.left() + 40.0f) / Width;
    mouse.Pos[1] = (start.top() + start.bottom()) / 2.0f / Height;
    screen.m_Events.FireAnalogEvent(mouse);
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels menu = screen.m_Window.Capture();

    const std::string artifacts = CMenuScreen::Artifacts("gui");
    screen.m_Window.Save(artifacts + "/main-menu.png");

    screen.m_Gui->ShowMouseCursor(false);
    screen.m_Window.Render();
    const CPixels noCursor = screen.m_Window.Capture();

    // The 3D view: sky at the top, ground at the bottom, both left as they are
    // around the menu.
    EXPECT_FALSE(std::equal(Pixel(scene, 8, 8), Pixel(scene, 8, 8) + 3, Pixel(scene, 8, Height - 8)))
        << "the scene has sky and ground";
    EXPECT_TRUE(SamePixel(scene, menu, 8, 8));
    EXPECT_TRUE(SamePixel(scene, menu, 8, Height - 8));
    // The sky is the viewport's colour, the grass below it the ground's.
    EXPECT_TRUE(HasColour(menu, 8, 8, 115, 166, 230)) << "sky";
    EXPECT_TRUE(HasColour(menu, 300, 300, 91, 168, 67)) << "ground";
    // The menu frame covers its area; its panel, beside the buttons, is the
    // skin's dark blue.
    EXPECT_GT(Changed(scene, menu, frame), 0.9);
    EXPECT_TRUE(HasColour(menu, unsigned(frame.left()) + 12, unsigned(frame.bottom()) - 90, 20, 27, 56)) << "panel";
    EXPECT_TRUE(HasColour(menu, unsigned(frame.right()) - 12, unsigned(frame.bottom()) - 90, 20, 27, 56)) << "panel";
    // The cursor is drawn at the mouse position, white inside a dark outline.
    const float cursorX = mouse.Pos[0] * Width, cursorY = mouse.Pos[1] * Height;
    const CEGUI::Rectf cursor(cursorX, cursorY, cursorX + 18.0f, cursorY + 26.0f);
    EXPECT_GT(Changed(noCursor, menu, cursor), 0.2);
    EXPECT_TRUE(HasColour(menu, unsigned(cursorX) + 3, unsigned(cursorY) + 10, 255, 255, 255)) << "arrow fill";
    EXPECT_TRUE(HasColour(noCursor, unsigned(cursorX) + 3, unsigned(cursorY) + 10, 0, 0, 0)) << "the button under it";

    // Leaving menu mode takes the menu and the cursor off the 3D view.
    screen.m_Engine.PopState();
    screen.m_Window.Render();
    const CPixels left = screen.m_Window.Capture();
    EXPECT_LT(Changed(scene, left, CEGUI::Rectf(0.0f, 0.0f, float(Width), float(Height))), 0.001);
}

// The help's keyboard page with the keys of the shipped bindings, over the
// main menu: the page is full of lines of text.
TEST(MainMenuScreenshot, ShowsTheKeysOnTheHelpsKeyboardPage)
{
    CMenuScreen screen(LoadDefaultConfig());
    screen.Open();
    CTestMenuModeState menuMode(screen.m_GuiEngine.get());

    GuiStates::GoToMainMenu(*screen.m_GuiEngine);
    screen.m_Engine.ChangeState(&menuMode);
    GuiStates::ShowHelp(*screen.m_GuiEngine);
    screen.m_Gui->ShowMouseCursor(false);
    screen.m_Window.Render();
    const CPixels page = screen.m_Window.Capture();
    const std::string artifacts = CMenuScreen::Artifacts("gui");
    screen.m_Window.Save(artifacts + "/help-keyboard.png");
    const std::string keys = screen.m_Gui->GetText("wndHelp/mleKeyboard");
    EXPECT_NE(std::string::npos, keys.find("Pull the main handle: Space or left mouse button")) << keys;

    // The same page without its text: the text covers a fair share of the box,
    // from its top to its bottom.
    screen.m_Gui->SetText("wndHelp/mleKeyboard", "");
    screen.m_Window.Render();
    const CPixels empty = screen.m_Window.Capture();
    const CEGUI::Rectf box = screen.m_Windows.Get("wndHelp/tcSections/tabKeyboard/mleKeyboard").getUnclippedInnerRect().get();
    const float half = (box.top() + box.bottom()) / 2.0f;
    EXPECT_GT(Changed(page, empty, CEGUI::Rectf(box.left(), box.top(), box.right(), half)), 0.04);
    EXPECT_GT(Changed(page, empty, CEGUI::Rectf(box.left(), half, box.right(), box.bottom())), 0.04);

    screen.m_Engine.PopState();}

xml::CNodePtr JumpInfo(std::uint32_t number, const std::string& preset, const std::string& landing, float speed)
{
    xml::CNodePtr info(new xml::CNode("Jump", false));
    info->AddChild("Info", std::to_string(number))->AddAttribute("Name", "Jump #");
    info->AddChild("Info", "Home Field")->AddAttribute("Name", "Drop zone name");
    info->AddChild("Info", preset)->AddAttribute("Name", "Configuration");
    info->AddChild("Info", landing)->AddAttribute("Name", "Landing type");
    const xml::CNodePtr landingSpeed = info->AddChild("Info", std::to_string(speed));
    landingSpeed->AddAttribute("Name", "Landing speed");
    landingSpeed->AddAttribute("Units", "Speed");
    return info;
}

TEST(MainMenuScreenshot, ShowsTheJumpLogAndTheVideoSettings)
{
    CMenuScreen screen(LoadDefaultConfig());
    CTempDir conf;
    const std::string settingsFile = conf.File("graphics.cfg");
    const xml::CNodePtr gfx = screen.m_App.GetConfig()->GetChild("Application")->GetChild("GfxCfg");
    gfx->GetAttribute("Path")->SetValue(settingsFile);
    Ogre::Root& root = screen.m_Window.GetRoot();
    auto createSettingsList = [&root, gfx](const std::string& list, const wrappers::CCeguiGUI::CSetRows& setRows,
                                           const wrappers::CCeguiGUI::CGetSelectedRow& getSelectedRow) {
        return std::static_pointer_cast<void>(
            std::make_shared<wrappers::CGfxSettingsListBox>(list, setRows, getSelectedRow, root, gfx));
    };
    screen.Open(createSettingsList);
    screen.m_Engine.Profile().AddJump(CJumpRecord(1, "Home Field", "1.trj", CVector::ZERO, CVector::ZERO,
                                         JumpInfo(1, "No wind", "Normal landing", 2.1f)));
    screen.m_Engine.Profile().AddJump(CJumpRecord(2, "Home Field", "2.trj", CVector::ZERO, CVector::ZERO,
                                         JumpInfo(2, "On target, 8mph wind", "Hard landing", 4.6f)));
    CTestMenuModeState menuMode(screen.m_GuiEngine.get());
    const std::string artifacts = CMenuScreen::Artifacts("gui");

    GuiStates::GoToMainMenu(*screen.m_GuiEngine);
    screen.m_Engine.ChangeState(&menuMode);
    GuiStates::ShowJumpLog(*screen.m_GuiEngine);
    screen.m_Window.Render();
    screen.m_Window.Save(artifacts + "/jump-log.png");
    EXPECT_EQ("Jump#2, Home Field, On target, 8mph wind", screen.m_Gui->GetSelectedItem("wndStatistics/lbSelectJumps"));
    EXPECT_NE(std::string::npos, screen.m_Gui->GetText("wndStatistics/stInfo").find("Landing speed: 10.3mph\n"));

    screen.m_GuiEngine->PopState();
    GuiStates::ShowVideoSettings(*screen.m_GuiEngine, "wndSettings/tcSections/tabVideo");
    screen.m_Gui->SelectItem("wndSettings/lbGfxParams", "Full Screen: No");
    screen.m_Window.Render();
    screen.m_Window.Save(artifacts + "/settings-video.png");
    EXPECT_EQ("Yes", root.getRenderSystem()->getConfigOptions().at("Full Screen").currentValue);
    EXPECT_EQ("", screen.m_Gui->GetSelectedItem("wndSettings/lbGfxParams")) << "the rows were made again";
    std::ifstream file(settingsFile);
    const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, written.find("\nFull Screen=Yes\n")) << written;
    root.getRenderSystem()->setConfigOption("Full Screen", "No");

    screen.m_Engine.PopState();}

} // namespace
