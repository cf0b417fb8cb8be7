// The engine with the real menus: the screens it opens and the quit the main
// menu asks of it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#include "app/EngineWorld.h"
#include "app/GameModeState.h"
#include "core/ConfigPath.h"
#include "core/UnitConverter.h"
#include "core/XmlFile.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/HelpState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/MessageBoxState.h"
#include "gui/menus/SettingsMenuState.h"
#include "support/HudOverlays.h"

using namespace sds;

namespace {

class MenuModeTest : public ::testing::Test
{
protected:
    MenuModeTest() { m_World.m_CreateGuiEngine = [] { return std::make_shared<CGuiEngine>(); }; }

    CEngineWorld m_World;
    CUnitConverter m_Units{m_World.m_App.GetConfig()->GetChild("UnitConverter")};
};

} // namespace

TEST_F(MenuModeTest, MenusStartOnTheMainMenuAndARestartAsksForTheVideoSettings)
{
    for (bool restarted : {false, true}) {
        m_World.m_Log.m_Lines.clear();
        const auto engine = m_World.MakeEngine(restarted ? "SplashScreens" : "MainMenu", restarted);
        const auto* menus = dynamic_cast<CGuiEngine*>(engine->GetGuiEngine());
        ASSERT_NE(nullptr, menus);
        EXPECT_EQ(engine->m_MenuModeState, engine->GetCurrentState()) << restarted;
        if (!restarted) {
            EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), menus->GetCurrentState());
            continue;
        }
        // A restart comes from the video settings: they open again, over the main menu.
        EXPECT_EQ(GuiStates::CSettingsMenuState::GetSingleton(), menus->GetCurrentState());
        EXPECT_EQ("wndSettings/tcSections/tabVideo", m_World.m_Gui->Get("wndSettings/tcSections").SelectedTab);
        EXPECT_TRUE(m_World.m_Gui->Get("wndSettings").Visible);
        EXPECT_FALSE(m_World.m_Gui->Get("wndMainMenu").Visible);
    }
}

TEST_F(MenuModeTest, MainMenuExitEndsTheProgramOnTheNextFrame)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    engine->Start();
    m_World.m_Events->FireGUIEvent(CGUIEvent("wndMainMenu/btnExit"));
    EXPECT_FALSE(m_World.m_App.m_QuitCalled);
    m_World.Frame(0.02f);
    EXPECT_TRUE(m_World.m_App.m_QuitCalled);
    EXPECT_FALSE(engine->HasStates());
    EXPECT_FALSE(m_World.m_Gui->m_MouseConnected) << "menu mode exited";
}

// A drop zone with scene messages (the shipped first tutorial's, the words a
// trainee gets before the jump), flown as a profile's first jump: the boxes
// come in the order the file gives them, and the help screen comes after
// them instead of taking the last one's place.
TEST_F(MenuModeTest, SceneMessagesAreReadInTheirOrderAndTheFirstJumpsHelpFollowsThem)
{
    DefineHudOverlays(m_World.m_Gfx);
    CTempDir zones;
    const std::string tutorial = "../data/Tutorials/Tutorial1.Tutorial";
    ASSERT_TRUE(boost::filesystem::exists(tutorial)) << "the shipped tutorial";
    boost::filesystem::copy_file(tutorial, zones.File("tutorial.dz"));
    std::vector<std::string> messages;
    const xml::CNodePtr scene = xml::LoadXmlFile(tutorial)->GetChild("scene");
    xml::ForEachChild(*scene, "Message", [&messages](const xml::CNodePtr& m) { messages.push_back(m->GetValue()); });
    ASSERT_LE(2u, messages.size());
    SetConfigString(m_World.m_App.m_Config, "Application->DropZones->>Path", zones.Path() + "/");

    const auto engine = m_World.MakeEngine("MainMenu");
    engine->Start();
    auto& game = *EngineStates::CGameModeState::GetSingleton();
    ASSERT_EQ(1u, game.GetDropZones().size());
    game.SetCurrentDropZone(game.GetDropZones().begin()->second);
    engine->ChangeState(engine->m_GameModeState);
    // Until the fade has uncovered the level and the menus come up over it.
    for (int i = 0; i < 40 && engine->GetCurrentState() != engine->m_MenuModeState; ++i)
        m_World.Frame(0.1f);
    const auto* menus = dynamic_cast<CGuiEngine*>(engine->GetGuiEngine());

    std::vector<std::string> read;
    while (dynamic_cast<GuiStates::CMessageBoxState*>(menus->GetCurrentState())) {
        ASSERT_TRUE(m_World.m_Gui->Get("wndMessageBox").Visible);
        read.push_back(m_World.m_Gui->Get("wndMessageBox/Info").Text);
        m_World.m_Events->FireGUIEvent(CGUIEvent("wndMessageBox/btnClose"));
        ASSERT_LE(read.size(), messages.size());
    }
    EXPECT_EQ(messages, read);
    EXPECT_EQ(GuiStates::CHelpState::GetSingleton(), menus->GetCurrentState()) << "the help after the messages";
    EXPECT_TRUE(m_World.m_Gui->Get("wndHelp").Visible);
    engine->Stop();
}
