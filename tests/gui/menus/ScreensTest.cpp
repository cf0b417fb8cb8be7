// The GUI engine and its screens against a fake GUI service.

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "app/Engine.h"
#include "core/ConfigPath.h"
#include "core/XmlFile.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/HelpState.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/MessageBoxState.h"
#include "ScreensFixture.h"
#include "app/EditionSelection.h"
#include "support/DiskResourceMgr.h"

using namespace sds;

namespace {

TEST_F(ScreensTest, MainMenuShowsTheTitleAndEditionFromTheConfiguration)
{
    EXPECT_EQ("Dravonkel\nSkorvel Personal", m_Gui.Get("wndMainMenu/stEdition").Text);
    EXPECT_FALSE(m_Engine.HasStates());
    EXPECT_FALSE(m_GuiEngine->HasStates()) << "the constructor enters no screen";
}

TEST_F(ScreensTest, ChangingToTheCurrentScreenDoesNotEnterItAgain)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    GuiStates::GoToMainMenu(*m_GuiEngine);
    EXPECT_EQ(1, Logged("Displaying wndMainMenu"));
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
}

TEST_F(ScreensTest, MenuModeStartsAndStopsTheGuiInputs)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    m_Engine.ChangeState(m_MenuMode.get());
    EXPECT_TRUE(m_Gui.m_MouseConnected && m_Gui.m_KeyboardConnected && m_Gui.m_CursorVisible);

    m_Engine.PopState();
    EXPECT_FALSE(m_Gui.m_MouseConnected || m_Gui.m_KeyboardConnected || m_Gui.m_CursorVisible);
    EXPECT_FALSE(m_GuiEngine->HasStates()) << "leaving menu mode closes the top screen";
    EXPECT_FALSE(Visible("wndMainMenu"));
}

TEST_F(ScreensTest, AnEmptyScreenStackLeavesMenuModeOnTheNextFrame)
{
    m_Engine.ChangeState(&m_Game);
    GuiStates::ShowHelp(*m_GuiEngine);
    m_Engine.PushState(m_MenuMode.get());

    Click("wndHelp/btnClose");
    EXPECT_FALSE(m_GuiEngine->HasStates());
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState()) << "menu mode stays until the next frame";

    m_Engine.Update(CTiming());
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_EQ("Resume", m_Game.m_Calls.back());
    EXPECT_FALSE(m_Gui.m_MouseConnected);
}

TEST_F(ScreensTest, HelpOverTheMainMenuPausesItWithoutUnsubscribing)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    Click("wndMainMenu/btnHelp");
    EXPECT_EQ(GuiStates::CHelpState::GetSingleton(), CurrentScreen());
    EXPECT_FALSE(Visible("wndMainMenu"));
    EXPECT_TRUE(Visible("wndHelp"));

    Click("wndMainMenu/btnExit");
    EXPECT_TRUE(m_Engine.m_QuitRequested) << "a covered screen keeps its subscriptions";

    Click("wndHelp/btnClose");
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_TRUE(Visible("wndMainMenu"));
    EXPECT_FALSE(Visible("wndHelp"));
    EXPECT_EQ(1, Logged("Displaying wndMainMenu")) << "uncovering only shows the window";

    Click("wndHelp/btnClose");
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen()) << "help's Close is gone with help";
}

TEST_F(ScreensTest, EachEnterLogsOneLineBeforeSubscribing)
{
    m_Log.m_Lines.clear();
    GuiStates::GoToMainMenu(*m_GuiEngine);
    GuiStates::ShowHelp(*m_GuiEngine);
    Click("wndHelp/btnClose");
    GuiStates::ShowHelp(*m_GuiEngine);
    EXPECT_EQ(2, Logged("Displaying wndHelp"));
    EXPECT_EQ(1, Logged("Displaying wndMainMenu"));
    EXPECT_EQ(3u, m_Log.m_Lines.size()) << m_Log.m_Lines.back();
}

TEST_F(ScreensTest, MainMenuExitOnlyRequestsTheQuit)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    Click("wndMainMenu/btnExit");
    EXPECT_TRUE(m_Engine.m_QuitRequested);
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_TRUE(Visible("wndMainMenu"));
}

TEST_F(ScreensTest, MainMenuLeavesItsButtonsWhenItExits)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    GuiStates::GoToHelp(*m_GuiEngine);
    EXPECT_FALSE(Visible("wndMainMenu"));
    Click("wndMainMenu/btnExit");
    EXPECT_FALSE(m_Engine.m_QuitRequested);
}

TEST_F(ScreensTest, InGameContinueResumesTheJump)
{
    PauseJump();
    EXPECT_TRUE(Visible("wndInGameMenu"));
    EXPECT_TRUE(Visible("wndInGameMenu/btnEdit")) << "editing is offered while no tutorial runs";

    Click("wndInGameMenu/btnContinue");
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_EQ("Resume", m_Game.m_Calls.back());
    EXPECT_FALSE(m_GuiEngine->HasStates());
    EXPECT_FALSE(Visible("wndInGameMenu"));
}

TEST_F(ScreensTest, InGameMainMenuLeavesTheJumpForTheMainMenu)
{
    PauseJump();
    Click("wndInGameMenu/btnMainMenu");
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
    EXPECT_FALSE(m_Engine.HasState(&m_Game));
    EXPECT_EQ("Exit", m_Game.m_Calls.back());
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_TRUE(Visible("wndMainMenu"));
    EXPECT_FALSE(Visible("wndInGameMenu"));
    EXPECT_TRUE(m_Gui.m_MouseConnected) << "menu mode entered again";
}

TEST_F(ScreensTest, InGameEditOpensTheEditorOverThePausedJump)
{
    PauseJump();
    Click("wndInGameMenu/btnEdit");
    EXPECT_TRUE(m_Log.Has("Warning: Screen is not available: force-field editor"));
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState()) << "without an editor the menu stays";
    EXPECT_FALSE(m_Game.m_Editing);

    CRecordingEngineState editor("editor");
    m_Engine.m_EditorState = &editor;
    Click("wndInGameMenu/btnEdit");
    EXPECT_EQ(&editor, m_Engine.GetCurrentState());
    EXPECT_TRUE(m_Game.m_Editing);
    EXPECT_FALSE(m_Engine.HasState(m_MenuMode.get()));
    EXPECT_EQ(std::vector<std::string>({"Enter", "Pause", "Resume", "Pause"}), m_Game.m_Calls);
    EXPECT_FALSE(m_GuiEngine->HasStates());
}

TEST_F(ScreensTest, InGameEndSimulationEndsTheJumpOnItsTrajectory)
{
    PauseJump();
    Click("wndInGameMenu/btnEndSimulation");
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_EQ((std::vector<std::string>{"Resume", "ShowTrajectory 0 "}),
              std::vector<std::string>(m_Game.m_Calls.end() - 2, m_Game.m_Calls.end()));
}

TEST_F(ScreensTest, InGameHelpReturnsToTheMenuWithItsButtons)
{
    PauseJump();
    Click("wndInGameMenu/btnHelp");
    Click("wndHelp/btnClose");
    EXPECT_EQ(GuiStates::CInGameMenuState::GetSingleton(), CurrentScreen());
    EXPECT_EQ(1, Logged("Displaying wndInGameMenu"));
    Click("wndInGameMenu/btnContinue");
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState()) << "the buttons were never unsubscribed";
}

TEST_F(ScreensTest, MessageBoxSetsItsTextBeforeItShows)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    m_Gui.m_Calls.clear();
    GuiStates::ShowMessageBox(*m_GuiEngine, "Scene could not be saved.");
    EXPECT_EQ("Scene could not be saved.", m_Gui.GetText("wndMessageBox/Info"));
    const auto setText = std::find(m_Gui.m_Calls.begin(), m_Gui.m_Calls.end(), "SetText wndMessageBox/Info");
    const auto show = std::find(m_Gui.m_Calls.begin(), m_Gui.m_Calls.end(), "ShowWindow wndMessageBox 1");
    EXPECT_LT(setText, show);
    EXPECT_FALSE(Visible("wndMainMenu"));
}

TEST_F(ScreensTest, ClosingTheUpperOfTwoMessageBoxesRestoresTheLowerOne)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    const std::weak_ptr<GuiStates::CMessageBoxState> lower = GuiStates::ShowMessageBox(*m_GuiEngine, "lower");
    const std::weak_ptr<GuiStates::CMessageBoxState> upper = GuiStates::ShowMessageBox(*m_GuiEngine, "upper");
    EXPECT_EQ("upper", m_Gui.GetText("wndMessageBox/Info"));

    Click("wndMessageBox/btnClose");
    EXPECT_TRUE(upper.expired()) << "a closed box is gone";
    ASSERT_FALSE(lower.expired()) << "one click closes one box";
    EXPECT_EQ(lower.lock().get(), CurrentScreen());
    EXPECT_EQ("lower", m_Gui.GetText("wndMessageBox/Info"));
    EXPECT_TRUE(Visible("wndMessageBox"));

    Click("wndMessageBox/btnClose");
    EXPECT_TRUE(lower.expired());
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_FALSE(Visible("wndMessageBox"));
    EXPECT_TRUE(Visible("wndMainMenu"));
}

TEST_F(ScreensTest, ADestroyedGuiEngineLeavesNoScreenOrHandlerBehind)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    const std::weak_ptr<GuiStates::CMessageBoxState> box = GuiStates::ShowMessageBox(*m_GuiEngine, "shown");
    m_GuiEngine.reset();
    EXPECT_TRUE(box.expired());
    Click("wndMessageBox/btnClose");
    Click("wndMainMenu/btnExit");
    EXPECT_FALSE(m_Engine.m_QuitRequested) << "the main menu's buttons went with it";
}

TEST_F(ScreensTest, HelpAboutTextCarriesTheVersion)
{
    GuiStates::GoToMainMenu(*m_GuiEngine);
    GuiStates::ShowHelp(*m_GuiEngine);
    const std::string about = m_Gui.GetText("wndHelp/mleAboutInfo");
    EXPECT_NE(std::string::npos, about.find("Version: 1.2.863.0\n")) << about;
    EXPECT_NE(std::string::npos, about.find("\nDravonkel\nSkorvel Personal\n")) << about;
}

TEST(HelpKeys, ActionsBecomeTheirKeysAndUnboundOnesLeaveTheirLine)
{
    const GuiStates::CHelpState::CKeysOf keys = [](const std::string& mode, const std::string& action) {
        if (action == "pause")
            return mode + ":P";
        if (action == "turn_left")
            return mode + ":A";
        return std::string();
    };
    const struct
    {
        const char *page, *shown;
    } cases[] = {
        {"Pause: {pause}", "Pause: Global:P"},
        {"Turn: {FreeFall/turn_left}, then {pause}.", "Turn: FreeFall:A, then Global:P."},
        {"Title\n  Cut away: {cut_away}\n  Pause: {pause}", "Title\n  Pause: Global:P"},
        {"Both: {pause} {CanopyRide/feet_up}\nEnd", "End"},
        {"Plain text, no actions\n\nAfter a blank line", "Plain text, no actions\n\nAfter a blank line"},
        {"Unclosed {pause", "Unclosed {pause"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, GuiStates::CHelpState::FillKeys(c.page, keys)) << c.page;
}

// The keyboard page of every edition: each action it names has keys in the
// shipped bindings, but the next control type where no mod acts on it.
TEST(HelpKeys, TheShippedKeyboardPagesNameOnlyBoundActions)
{
    CCapturingLogMgr log;
    CDiskResourceMgr resources;
    const xml::CNodePtr shipped = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
    std::vector<std::string> editions;
    xml::ForEachChild(*shipped->GetChild("Application"), "AvailableEdition",
                      [&editions](const xml::CNodePtr& edition) { editions.push_back(edition->GetValue()); });
    ASSERT_EQ(5u, editions.size());
    for (const std::string& edition : editions) {
        SCOPED_TRACE(edition);
        const xml::CNodePtr config = xml::CNode::Clone(shipped);
        config->GetChild("Application")->GetAttribute("Edition")->SetValue(edition);
        SelectEdition(config);
        const xml::CNodePtr change = config->GetChild("GUI")->GetChild("Change");
        const std::string page =
            change->GetChildById("SetProperty", "wndHelp/mleKeyboard", "Window")->GetValue();
        const std::string shown = GuiStates::CHelpState::FillKeys(page, GuiStates::CHelpState::KeysOf(config));
        EXPECT_EQ(std::string::npos, shown.find('{')) << shown;
        const bool copies = config->GetChild("Rules")->GetAttribute("EventCopyMod")->GetValue<bool>();
        const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
        EXPECT_EQ(lines(page) - (copies ? 0 : 1), lines(shown)) << shown;
        for (const char* line : {"  Climb out of the door, then let go: Space or left mouse button\n",
                                 "  Pull the main handle: Space or left mouse button\n",
                                 "  Pull with the left hand: A or Left arrow or left mouse button + mouse forward-back\n",
                                 "  Left hand to the rear riser, front riser, toggle: Q, Z, X\n",
                                 "  Right hand to the rear riser, front riser, toggle: E, C, V\n",
                                 "  Restart the jump: Ctrl+R\n"})
            EXPECT_NE(std::string::npos, shown.find(line)) << line << " in\n" << shown;
        EXPECT_EQ(copies, shown.find("next control type: Space or middle mouse button") != std::string::npos);
    }
}

// Opened, the help fills its keyboard page with the keys; opened again, the same.
TEST_F(ScreensTest, HelpShowsTheKeysOfItsKeyboardPage)
{
    m_Gui.SetText("wndHelp/mleKeyboard", "Menu: {menu_mode}\nLet go: {ExitPlane/letgo_from_plane}\nCut away: {cut_away}");
    for (int open = 0; open < 2; ++open) {
        GuiStates::ShowHelp(*m_GuiEngine);
        EXPECT_EQ("Menu: Esc\nLet go: Space or left mouse button", m_Gui.GetText("wndHelp/mleKeyboard"));
        Click("wndHelp/btnClose");
    }
}

xml::CNodePtr AboutConfig()
{
    const xml::CNodePtr config = LoadDefaultConfig();
    const xml::CNodePtr application = config->GetChild("Application");
    application->RemoveChild(application->GetChild("About"));
    const xml::CNodePtr about = application->AddChild("About");
    about->AddChild("Edition", "E");
    about->AddChild("Description", "G\n")->AddAttribute("Name", "General");
    about->AddChild("Description", "S\n")->AddAttribute("Name", "Special");
    about->AddChild("Description", "L")->AddAttribute("Name", "Links");
    SetConfigString(application, "GfxCfg->Title", "T");
    return config;
}

class HelpTextTest : public ScreensTest
{
protected:
    HelpTextTest() : ScreensTest(AboutConfig()) {}
};

TEST_F(HelpTextTest, AboutTextIsBuiltInItsOrder)
{
    GuiStates::GoToHelp(*m_GuiEngine);
    EXPECT_EQ("G\nT\nE\nS\nVersion: 1.2.863.0\nL", m_Gui.GetText("wndHelp/mleAboutInfo"));
}

xml::CNodePtr ConfigWithSelection(const std::string& selection)
{
    const xml::CNodePtr config = LoadDefaultConfig();
    SetConfigString(config, "Application->DropZones->>DZSelection", selection);
    return config;
}

class UnknownSelectionTest : public ScreensTest
{
protected:
    UnknownSelectionTest() : ScreensTest(ConfigWithSelection("Bogus")) {}
};

TEST_F(UnknownSelectionTest, IsLoggedAndStartStaysOnTheMainMenu)
{
    EXPECT_TRUE(m_Log.Has("Error: Unknown drop-zone selection screen 'Bogus' (Application->DropZones->>DZSelection)"));
    GuiStates::GoToMainMenu(*m_GuiEngine);
    Click("wndMainMenu/btnStart");
    EXPECT_TRUE(m_Log.Has("Warning: Screen is not available: drop-zone selection"));
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
}

} // namespace
