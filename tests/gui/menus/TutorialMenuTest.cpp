// The tutorial screen over a fake GUI, and what the main and in-game menus
// show of tutorials and of the jump log.

#include <gtest/gtest.h>

#include "app/JumpRecord.h"
#include "core/ConfigPath.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/TutorialMenuState.h"
#include "ScreensFixture.h"

using namespace sds;

namespace {

const char* const LIST = "wndTutorial/lbTutorial";

class TutorialTest : public ScreensTest
{
protected:
    TutorialTest()
    {
        m_Game.m_TutorialsOnDisk = {"Straight in", "Final turn", "Flare"};
        StartMenus();
    }

    void OpenTutorials()
    {
        OpenMainMenu();
        Click("wndMainMenu/btnTutorial");
        ASSERT_EQ(GuiStates::CTutorialMenuState::GetSingleton(), CurrentScreen());
    }
};

TEST_F(TutorialTest, StartWithoutTouchingTheListFliesTheFirst)
{
    OpenTutorials();
    EXPECT_EQ(m_Game.m_TutorialsOnDisk, m_Gui.Get(LIST).Items);
    Click("wndTutorial/btnStartTutorial");
    EXPECT_EQ("Straight in", m_Game.m_CurrentTutorial);
    EXPECT_EQ("Straight in", m_Game.m_TutorialDropZone);
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_FALSE(m_Engine.HasState(m_MenuMode.get()));

    // Paused, the tutorial's jump offers no editing.
    m_Engine.PushState(m_MenuMode.get());
    GuiStates::GoToInGameMenu(*m_GuiEngine);
    EXPECT_EQ(GuiStates::CInGameMenuState::GetSingleton(), CurrentScreen());
    EXPECT_FALSE(Visible("wndInGameMenu/btnEdit"));
}

TEST_F(TutorialTest, StartFliesTheSelectedOrWithoutSelectionTheFirst)
{
    OpenTutorials();
    m_Gui.SelectItem(LIST, "Flare");
    Click("wndTutorial/btnStartTutorial");
    EXPECT_EQ("Flare", m_Game.m_CurrentTutorial);

    m_Engine.PopState();
    OpenTutorials();
    m_Gui.Get(LIST).Selected = -1;
    Click("wndTutorial/btnStartTutorial");
    EXPECT_EQ("Straight in", m_Game.m_CurrentTutorial);
}

TEST_F(TutorialTest, MainMenuGoesBackWithoutATutorial)
{
    OpenTutorials();
    Click("wndTutorial/btnMainMenu");
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_TRUE(Visible("wndMainMenu"));
    EXPECT_FALSE(Visible("wndTutorial"));
    EXPECT_EQ("", m_Game.m_CurrentTutorial);
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
}

TEST_F(TutorialTest, ATutorialTheSetLostStartsNothing)
{
    OpenTutorials();
    m_Game.m_TutorialNames = {"Straight in"};
    m_Gui.SelectItem(LIST, "Flare");
    Click("wndTutorial/btnStartTutorial");
    EXPECT_TRUE(m_Log.Has("Warning: Tutorial is not available: Flare"));
    EXPECT_EQ("", m_Game.m_CurrentTutorial);
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
}

TEST_F(TutorialTest, ATutorialThatFailsToLoadBringsTheScreenBackWithTheReason)
{
    OpenTutorials();
    ClickFailingToLoad("wndTutorial/btnStartTutorial", "The tutorial's drop zone cannot be read");
    EXPECT_EQ(GuiStates::CTutorialMenuState::GetSingleton(), CurrentScreen());
    EXPECT_TRUE(Visible("wndTutorial"));

    Click("wndTutorial/btnStartTutorial");
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_EQ("Straight in", m_Game.m_CurrentTutorial);
}

TEST_F(TutorialTest, TheListIsReadOnceUnlessDropZonesAreReloaded)
{
    m_Game.m_TutorialsOnDisk.push_back("Crosswind");
    const int loads = m_Game.m_TutorialLoads;
    OpenTutorials();
    EXPECT_EQ(loads, m_Game.m_TutorialLoads);
    EXPECT_EQ(3u, m_Gui.Get(LIST).Items.size());

    SetConfigBool(m_App.m_Config, "Switches->>ReloadDZs", true);
    Click("wndTutorial/btnMainMenu");
    Click("wndMainMenu/btnTutorial");
    EXPECT_EQ(4u, m_Gui.Get(LIST).Items.size());
}

TEST_F(TutorialTest, EnteringTheMainMenuEndsTheTutorials)
{
    m_Game.m_CurrentTutorial = "Final turn";
    OpenMainMenu();
    EXPECT_EQ("", m_Game.m_CurrentTutorial);
    EXPECT_TRUE(Visible("wndMainMenu/btnTutorial"));
}

TEST_F(ScreensTest, WithoutTutorialsOrJumpsTheirButtonsAreNotOffered)
{
    OpenMainMenu();
    EXPECT_FALSE(Visible("wndMainMenu/btnTutorial"));
    EXPECT_TRUE(m_Gui.IsDisabled("wndMainMenu/btnJumpLog"));
    GuiStates::GoToHelp(*m_GuiEngine);

    m_Engine.Profile().AddJump(CJumpRecord(1, "Home Field", "1.trj", CVector::ZERO, CVector::ZERO,
                                           xml::CNodePtr(new xml::CNode("Jump", false))));
    GuiStates::GoToMainMenu(*m_GuiEngine);
    EXPECT_FALSE(m_Gui.IsDisabled("wndMainMenu/btnJumpLog")) << "after the first recorded jump";
}

TEST_F(ScreensTest, WithoutAGameModeTheMenusOfferNoTutorial)
{
    m_Engine.m_GameModeState = nullptr;
    StartMenus();
    OpenMainMenu();
    EXPECT_FALSE(Visible("wndMainMenu/btnTutorial"));
    Click("wndMainMenu/btnTutorial");
    Click("wndTutorial/btnStartTutorial");
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
}

} // namespace
