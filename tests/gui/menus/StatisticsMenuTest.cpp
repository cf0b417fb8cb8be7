// The jump log over a fake GUI: the list of the profile's jumps, its filters,
// the jump's information, and where its buttons lead in and out of a jump.

#include <functional>

#include <gtest/gtest.h>

#include "app/JumpRecord.h"
#include "gui/menus/DZMenuState.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/StatisticsMenuState.h"
#include "gui/menus/TutorialMenuState.h"
#include "ScreensFixture.h"

using namespace sds;

namespace {

const char* const LIST = "wndStatistics/lbSelectJumps";
const char* const INFO = "wndStatistics/stInfo";
const char* const FILTER_DZ = "wndStatistics/chbFilterDZ";
const char* const FILTER_CONDITIONS = "wndStatistics/chbFilterConditions";
const char* const HINT = "Press Esc or RMouse Button\nto see the Jump Log";

xml::CNodePtr Info(const xml::CNodePtr& jumpInfo, const std::string& name, const std::string& value,
                   const std::string& units = "")
{
    const xml::CNodePtr info = jumpInfo->AddChild("Info", value);
    if (!name.empty())
        info->AddAttribute("Name", name);
    if (!units.empty())
        info->AddAttribute("Units", units);
    return info;
}

class StatisticsTest : public ScreensTest
{
protected:
    // A jump as the game mode records it: its number, drop zone and preset,
    // then what the landing added.
    void AddJump(std::uint32_t number, const std::string& zone, const std::string& preset,
                 const std::function<void(const xml::CNodePtr&)>& landing = nullptr)
    {
        xml::CNodePtr info(new xml::CNode("Jump", false));
        Info(info, "Jump #", std::to_string(number));
        Info(info, "Drop zone name", zone);
        if (!preset.empty())
            Info(info, "Configuration", preset);
        if (landing)
            landing(info);
        m_Engine.Profile().AddJump(CJumpRecord(number, zone, "jump" + std::to_string(number) + ".trj",
                                               CVector::ZERO, CVector::ZERO, info));
    }

    // Jumps 1 to 4: three at the home field, the second in another preset,
    // and the third at the lake.
    void AddFourJumps()
    {
        AddJump(1, "Home Field", "No wind");
        AddJump(2, "Home Field", "Long spot");
        AddJump(3, "Lake", "No wind");
        AddJump(4, "Home Field", "No wind");
    }

    const std::vector<std::string>& Listed() { return m_Gui.Get(LIST).Items; }
    std::string Selected() { return m_Gui.GetSelectedItem(LIST); }
    void Select(const std::string& title)
    {
        m_Gui.SelectItem(LIST, title);
        Click(LIST);
    }

    void OpenJumpLog()
    {
        OpenMainMenu();
        Click("wndMainMenu/btnJumpLog");
    }

    // The log after a landing: over the in-game menu of a jump.
    void OpenJumpLogInGame()
    {
        PauseJump();
        GuiStates::ShowStatistics(*m_GuiEngine, false, "");
    }
};

TEST_F(StatisticsTest, ListsTheMostRecentJumpFirstWithItsInformation)
{
    AddJump(1, "Home Field", "No wind");
    AddJump(2, "Home Field", "Long spot");
    AddJump(3, "Home Field", "No wind", [](const xml::CNodePtr& third) {
        Info(third, "Landing type", "Normal landing");
        Info(third, "Landing speed", "4", "Speed");
        Info(third, "Score", "");
        Info(third, "", "Jump was not finished.");
    });

    OpenJumpLog();
    EXPECT_EQ(GuiStates::CStatisticsMenuState::GetSingleton(), CurrentScreen());
    EXPECT_EQ(std::vector<std::string>({"Jump#3, Home Field, No wind", "Jump#2, Home Field, Long spot",
                                        "Jump#1, Home Field, No wind"}),
              Listed());
    EXPECT_EQ("Jump#3, Home Field, No wind", Selected());
    EXPECT_EQ("Jump #: 3\nDrop zone name: Home Field\nConfiguration: No wind\nLanding type: Normal landing\n"
              "Landing speed: 8.9mph\nJump was not finished.\n",
              m_Gui.GetText(INFO));

    Select("Jump#1, Home Field, No wind");
    EXPECT_EQ("Jump #: 1\nDrop zone name: Home Field\nConfiguration: No wind\n", m_Gui.GetText(INFO));
    // The same title again leaves the text alone.
    m_Gui.SetText(INFO, "unchanged");
    Click(LIST);
    EXPECT_EQ("unchanged", m_Gui.GetText(INFO));
}

TEST_F(StatisticsTest, ConditionsNarrowOnlyAListOfOneDropZone)
{
    AddFourJumps();
    OpenJumpLog();
    EXPECT_TRUE(m_Gui.IsDisabled(FILTER_CONDITIONS));
    const std::vector<std::string> all = Listed();
    ASSERT_EQ(4u, all.size());

    Check(FILTER_DZ, true);
    EXPECT_EQ(std::vector<std::string>({"Jump#4, Home Field, No wind", "Jump#2, Home Field, Long spot",
                                        "Jump#1, Home Field, No wind"}),
              Listed());
    EXPECT_FALSE(m_Gui.IsDisabled(FILTER_CONDITIONS));

    Check(FILTER_CONDITIONS, true);
    EXPECT_EQ(std::vector<std::string>({"Jump#4, Home Field, No wind", "Jump#1, Home Field, No wind"}), Listed());

    Check(FILTER_DZ, false);
    EXPECT_TRUE(m_Gui.IsDisabled(FILTER_CONDITIONS));
    EXPECT_TRUE(m_Gui.IsChecked(FILTER_CONDITIONS)) << "disabled, not unchecked";
    EXPECT_EQ(all, Listed()) << "the conditions alone do not filter";

    Check(FILTER_DZ, true);
    EXPECT_EQ(2u, Listed().size()) << "both filters at once again";
}

TEST_F(StatisticsTest, OutOfGameTheSelectedJumpIsTheReference)
{
    AddFourJumps();
    OpenJumpLog();
    Select("Jump#3, Lake, No wind");
    Check(FILTER_DZ, true);
    EXPECT_EQ(std::vector<std::string>({"Jump#3, Lake, No wind"}), Listed());
    EXPECT_EQ("Jump#3, Lake, No wind", Selected());
}

TEST_F(StatisticsTest, InGameTheMostRecentJumpIsTheReference)
{
    AddFourJumps();
    OpenJumpLogInGame();
    Select("Jump#3, Lake, No wind");
    Check(FILTER_DZ, true);
    EXPECT_EQ(3u, Listed().size());
    EXPECT_EQ("Jump#4, Home Field, No wind", Selected()) << "the lake jump is not listed any more";
}

TEST_F(StatisticsTest, AJumpWithoutConfigurationCountsAsEmptyConditions)
{
    AddJump(1, "Home Field", "");
    AddJump(2, "Home Field", "No wind");
    AddJump(3, "Home Field", "");
    OpenJumpLog();
    EXPECT_EQ(std::vector<std::string>({"Jump#3, Home Field", "Jump#2, Home Field, No wind", "Jump#1, Home Field"}),
              Listed());
    Check(FILTER_DZ, true);
    Check(FILTER_CONDITIONS, true);
    EXPECT_EQ(std::vector<std::string>({"Jump#3, Home Field", "Jump#1, Home Field"}), Listed());
}

TEST_F(StatisticsTest, AnEmptyLogLeavesTheListAndTextAlone)
{
    m_Gui.SetItems(LIST, {"left over"}, 0);
    m_Gui.SetText(INFO, "left over");
    OpenJumpLog();
    EXPECT_EQ(std::vector<std::string>({"left over"}), Listed());
    EXPECT_EQ("left over", m_Gui.GetText(INFO));
}

TEST_F(StatisticsTest, DoneAndTheJumpButtonsDependOnWhereTheLogWasOpened)
{
    AddJump(1, "Home Field", "No wind");
    const struct
    {
        const char* Where;
        bool InGame;
        const char* Tutorial;
        const char* Done;
        const char* Tooltip;
    } cases[] = {
        {"main menu", false, "", "Main menu", "Go to main menu"},
        {"after a jump", true, "", "Change DZ", "Show DZ selection dialog"},
        {"after a tutorial's jump", true, "Final turn", "Main menu", "Go to main menu"},
    };
    for (const auto& c : cases) {
        m_Game.m_CurrentTutorial = c.Tutorial;
        if (c.InGame)
            OpenJumpLogInGame();
        else
            OpenJumpLog();
        EXPECT_EQ(c.Done, m_Gui.GetText("wndStatistics/btnDone")) << c.Where;
        EXPECT_EQ(c.Tooltip, m_Gui.Get("wndStatistics/btnDone").Properties["Tooltip"]) << c.Where;
        EXPECT_EQ(c.InGame, Visible("wndStatistics/btnJumpPlayer")) << c.Where;
        EXPECT_EQ(c.InGame, Visible("wndStatistics/btnRepeatJump")) << c.Where;
        m_GuiEngine->PopState();
        m_Engine.PopState();
        m_Engine.PopState();
    }
}

TEST_F(StatisticsTest, DoneLeavesTheJumpForTheDropZonesOrTheMainMenu)
{
    AddJump(1, "Home Field", "No wind");
    for (const char* tutorial : {"", "Final turn"}) {
        m_Game.m_CurrentTutorial = tutorial;
        OpenJumpLogInGame();
        Click("wndStatistics/btnDone");
        EXPECT_FALSE(m_Engine.HasState(&m_Game)) << tutorial;
        EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState()) << tutorial;
        if (*tutorial)
            EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
        else
            EXPECT_EQ(GuiStates::CDZMenuState::GetSingleton(), CurrentScreen());
    }
    m_Log.m_Lines.clear();
    OpenJumpLog();
    Click("wndStatistics/btnDone");
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen()) << "out of game";
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
    EXPECT_FALSE(m_Log.HasContaining("not available"));
}

TEST_F(StatisticsTest, RepeatGoesBackToTheJumpAndRestartsIt)
{
    AddJump(1, "Home Field", "No wind");
    OpenJumpLogInGame();
    Click("wndStatistics/btnRepeatJump");
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_EQ(1, m_Game.m_Restarts);
}

TEST_F(StatisticsTest, AfterALandingTheTrajectoryIsShownWithTheMessage)
{
    AddJump(1, "Home Field", "No wind");
    AddJump(2, "Home Field", "No wind");
    PauseJump();
    GuiStates::ShowStatistics(*m_GuiEngine, true, "Nice landing!\n");
    EXPECT_EQ(std::vector<std::uint32_t>({2}), m_Game.m_Trajectories);
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState()) << "the menus make way for the trajectory";
    EXPECT_EQ(std::string("Nice landing!\n") + HINT, m_Game.m_CenterMessage);
}

TEST_F(StatisticsTest, TheJumpPlayerShowsTheSelectedJumpBesideTheLatest)
{
    AddJump(1, "Home Field", "No wind");
    AddJump(2, "Home Field", "No wind");
    AddJump(3, "Lake", "No wind");
    OpenJumpLogInGame();
    Select("Jump#1, Home Field, No wind");
    Click("wndStatistics/btnJumpPlayer");
    EXPECT_EQ(std::vector<std::uint32_t>({3, 1}), m_Game.m_Trajectories);
    EXPECT_EQ(HINT, m_Game.m_CenterMessage);

    // A title that is not listed (the list changed under it) shows the latest alone.
    OpenJumpLogInGame();
    m_Gui.SetItems(LIST, {"Jump#9, Nowhere"}, 0);
    Click(LIST);
    Click("wndStatistics/btnJumpPlayer");
    EXPECT_EQ(std::vector<std::uint32_t>({3}), m_Game.m_Trajectories);
}

TEST_F(StatisticsTest, WithoutAJumpTheJumpPlayerStaysInTheMenus)
{
    PauseJump();
    GuiStates::ShowStatistics(*m_GuiEngine, true, "Landed");
    EXPECT_TRUE(m_Game.m_Trajectories.empty());
    EXPECT_EQ("", m_Game.m_CenterMessage);
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
    EXPECT_EQ(GuiStates::CStatisticsMenuState::GetSingleton(), CurrentScreen());
}

TEST_F(StatisticsTest, ContinueTutorialIsOfferedUntilTheLastTutorial)
{
    AddJump(1, "Tutorial", "Straight in");
    m_Game.m_TutorialsOnDisk = {"Straight in", "Final turn", "Flare"};
    StartMenus();
    m_Game.m_CurrentTutorial = "Final turn";
    OpenJumpLogInGame();
    EXPECT_TRUE(Visible("wndStatistics/btnContinueTutorial"));

    Click("wndStatistics/btnContinueTutorial");
    EXPECT_EQ("Flare", m_Game.m_CurrentTutorial);
    EXPECT_EQ("Flare", m_Game.m_TutorialDropZone);
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_EQ(std::vector<std::string>({"Enter", "Pause", "Resume", "Exit", "Enter"}), m_Game.m_Calls) << "a new jump";

    OpenJumpLogInGame();
    EXPECT_FALSE(Visible("wndStatistics/btnContinueTutorial")) << "after the last tutorial";
    m_GuiEngine->PopState();
    m_Engine.PopState();
    m_Game.m_CurrentTutorial = "Final turn";
    OpenJumpLog();
    EXPECT_FALSE(Visible("wndStatistics/btnContinueTutorial")) << "out of game";
}

TEST_F(StatisticsTest, ANextTutorialThatFailsToLoadBringsTheTutorialScreenBack)
{
    m_Game.m_TutorialsOnDisk = {"Straight in", "Final turn", "Flare"};
    StartMenus();
    m_Game.m_CurrentTutorial = "Final turn";
    OpenJumpLogInGame();
    ClickFailingToLoad("wndStatistics/btnContinueTutorial", "The tutorial's drop zone cannot be read");
    EXPECT_EQ(GuiStates::CTutorialMenuState::GetSingleton(), CurrentScreen());
    EXPECT_TRUE(Visible("wndTutorial"));
}

} // namespace
