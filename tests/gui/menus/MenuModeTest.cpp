// The engine with the real menus: the screens it opens and the quit the main
// menu asks of it.

#include <gtest/gtest.h>

#include <memory>

#include "app/EngineWorld.h"
#include "core/UnitConverter.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/SettingsMenuState.h"

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
