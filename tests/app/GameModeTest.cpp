#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include <boost/filesystem.hpp>

#include "EngineWorld.h"
#include "app/GameModeState.h"
#include "app/Profile.h"
#include "app/ProfileMgr.h"
#include "core/UnitConverter.h"
#include "jumper/JumperMgr.h"
#include "jumper/Trajectory.h"
#include "mods/HUDMessageMod.h"
#include "mods/ILevelHost.h"
#include "mods/OverlaysMod.h"
#include "mods/PhyEnabledMod.h"
#include "physics/IPhyMgr.h"
#include "mods/TrajectoryViewerMod.h"
#include "mods/FakeJumper.h"
#include "scene/DropZoneLevel.h"
#include "support/HudOverlays.h"

using namespace sds;
using EngineStates::CGameModeState;

namespace {

// The drop-zone loader as the game mode drives it: a level of one jumper
// (none while editing) that records a jump left unfinished when the jump is
// restarted or the level is left.
class CFakeDZLoader : public IDZLoaderMod
{
public:
    explicit CFakeDZLoader(ILevelHost& host) : IDZLoaderMod("Drop zone loader"), m_Host(host)
    {
        m_Jumpers = std::make_unique<CJumperMgr>();
        MakeJumper();
        ms_Last = this;
    }
    ~CFakeDZLoader() override { ms_Last = nullptr; }

    void Restart() override
    {
        m_Calls.push_back("Restart");
        RecordJump();
        m_Jumpers = std::make_unique<CJumperMgr>();
        MakeJumper();
    }
    // The level's jumpers move with the loader, as the real level's do.
    void Update(const CTiming& timing) override { m_Jumpers->UpdateAll(timing); }
    void StartCountDown() override { m_Calls.push_back("StartCountDown"); }
    void Reset() override
    {
        m_Calls.push_back("Reset");
        RecordJump();
    }

    void MakeJumper()
    {
        m_Jumper.reset();
        if (m_Host.IsEditing())
            return;
        m_Jumper = std::make_shared<CFakeJumper>();
        m_Jumper->m_LandingRows = {{"Landing type", "StandUp Landing"}};
        m_Jumper->m_Trajectory.m_Points = {CVector(0, 900, 0), CVector(10, 0, 5)};
        m_Jumper->m_Trajectory.m_Info->AddChild("Info", "60")->AddAttribute("Name", "Duration");
        m_Jumpers->AddToUpdateList(m_Jumper);
    }
    void RecordJump()
    {
        if (m_Jumper)
            m_Host.RecordJump(*m_Jumper);
    }

    static CFakeDZLoader* ms_Last;
    ILevelHost& m_Host;
    std::unique_ptr<CJumperMgr> m_Jumpers;
    std::shared_ptr<CFakeJumper> m_Jumper;
    std::vector<std::string> m_Calls;
};

CFakeDZLoader* CFakeDZLoader::ms_Last = nullptr;

const char* const DropZone = R"(<scene FullName="Home Field">
  <Preset><Jumper Create="1"/><Info Name="Preset">Beginner</Info><Info Name="Altitude">914.4</Info></Preset>
</scene>)";

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

class GameModeTest : public ::testing::Test
{
protected:
    GameModeTest() : m_Units(m_World.m_App.m_Config->GetChild("UnitConverter"))
    {
        DefineHudOverlays(m_World.m_Gfx);
        SetConfigString(m_World.m_App.m_Config, "Application->DropZones->>Path", m_Zones.Path() + "/");
        SetConfigString(m_World.m_App.m_Config, "Application->Tutorials->>Path", m_Zones.Path() + "/none/");
        WriteFile(m_Zones.File("home.dz"), DropZone);
    }

    ~GameModeTest() override
    {
        if (m_Engine)
            m_Engine->Stop();
    }

    // The engine in the main menu, with the game mode's level loader and the first drop zone chosen.
    CGameModeState& Start()
    {
        m_Engine = m_World.MakeEngine("MainMenu");
        m_Engine->Start();
        CGameModeState& game = *CGameModeState::GetSingleton();
        game.SetDZLoaderFactory([](ILevelHost& host, ILoadingProgressBar&) {
            return std::make_shared<CFakeDZLoader>(host);
        });
        if (!game.GetDropZones().empty())
            game.SetCurrentDropZone(game.GetDropZones().begin()->second);
        return game;
    }

    // As the drop-zone menu's Jump does.
    CGameModeState& Jump()
    {
        CGameModeState& game = Start();
        m_Engine->ChangeState(m_Engine->m_GameModeState);
        return game;
    }

    // Frames until the fade is over and the wait has ended.
    void RunFade()
    {
        for (int i = 0; i < 40 && m_Engine->GetCurrentState() != m_Engine->m_GameModeState; ++i)
            m_World.Frame(0.1f);
    }

    // As the in-game menu's "Main menu" does: the menus over the level go, then the level.
    void LeaveToMainMenu()
    {
        while (m_Engine->GetCurrentState() != m_Engine->m_GameModeState)
            m_Engine->PopState();
        m_Engine->ChangeState(m_Engine->m_MenuModeState);
    }

    void Event(std::int32_t code, bool on)
    {
        CInternalEvent event;
        event.Code = code;
        event.On = on ? 1 : 0;
        m_World.m_Events->FireEvent(event);
    }

    std::vector<std::string> LinesStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : m_World.m_Log.m_Lines)
            if (line.compare(0, prefix.size(), prefix) == 0)
                lines.push_back(line.substr(prefix.size()));
        return lines;
    }

    std::vector<std::string>& MenuCalls() { return CEngineWorld::Menus(*m_Engine).m_Calls; }

    CEngineWorld m_World;
    CUnitConverter m_Units;
    CTempDir m_Zones;
    std::unique_ptr<CEngine> m_Engine;
};

const std::vector<std::string> AllMods = {"HUDMessage", "Physics", "Drop zone loader", "EventDistribution",
                                          "EventCopy", "TrajectoryViewerMod", "Overlays"};

} // namespace

TEST_F(GameModeTest, ModsAreMadeInOrderAndReleasedInReverse)
{
    for (bool copy : {true, false}) {
        SetConfigBool(m_World.m_App.m_Config, "Rules->>EventCopyMod", copy);
        m_World.m_Log.m_Lines.clear();
        Jump();
        std::vector<std::string> mods = AllMods;
        if (!copy)
            mods.erase(mods.begin() + 4);
        EXPECT_EQ(mods, LinesStartingWith("Using Mod: "));
        LeaveToMainMenu();
        EXPECT_EQ(std::vector<std::string>(mods.rbegin(), mods.rend()), LinesStartingWith("Done using Mod: "));
        m_Engine->Stop();
        m_Engine.reset();
    }
}

TEST_F(GameModeTest, EnteringWithoutADropZoneIsAProgrammingError)
{
    CGameModeState& game = Start();
    game.SetCurrentDropZone(nullptr);
    try {
        m_Engine->PushState(m_Engine->m_GameModeState);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_EQ("m_DZ && \"No DZ is provided. Programming error\"", std::string(e.what()));
    }
    EXPECT_TRUE(LinesStartingWith("Using Mod: ").empty());
}

TEST_F(GameModeTest, DropZoneFilesAreListedByName)
{
    WriteFile(m_Zones.File("b-copy.dz"), DropZone);
    WriteFile(m_Zones.File("a.dz"), "<scene FullName=\"Airfield\"/>");
    WriteFile(m_Zones.File("broken.dz"), "<scene FullName=");
    WriteFile(m_Zones.File("nameless.dz"), "<scene/>");
    WriteFile(m_Zones.File("other.txt"), "<scene FullName=\"Other\"/>");
    boost::filesystem::create_directory(m_Zones.File("folder.dz"));
    CGameModeState& game = Start();
    EXPECT_EQ((std::vector<std::string>{"Airfield", "Home Field"}), game.GetDropZoneNames());
    EXPECT_TRUE(m_World.Logged("Warning: Drop zones with the same name, 'Home Field' is skipped."));
    EXPECT_TRUE(m_World.m_Log.HasContaining("broken.dz' cannot be read and is skipped"));
    EXPECT_EQ(m_Zones.File("b-copy.dz"), game.GetDropZones().at("Home Field")->GetPath()) << "the first kept";
    EXPECT_TRUE(m_World.Logged("Path does not exist: '" + m_Zones.Path() + "/none/'"));
    EXPECT_TRUE(game.GetTutorialNames().empty());
}

TEST_F(GameModeTest, FirstJumpSkipsTwoFramesWaitsForTheFadeThenCountsDownWithHelp)
{
    CGameModeState& game = Jump();
    CFakeDZLoader& loader = *CFakeDZLoader::ms_Last;
    // Every mod was updated once; the jumper moves in the skip and wait frames.
    EXPECT_EQ(1, loader.m_Jumper->m_Updates);
    EXPECT_NE(m_Engine->m_GameModeState, m_Engine->GetCurrentState());
    m_World.Frame(0.1f);
    m_World.Frame(0.1f);
    EXPECT_EQ(3, loader.m_Jumper->m_Updates);
    EXPECT_TRUE(loader.m_Calls.empty()) << "waiting for the fade";
    EXPECT_FALSE(m_World.m_Gfx.IsOverlayVisible("InputType")) << "the HUD is hidden while loading";
    RunFade();
    EXPECT_EQ(std::vector<std::string>{"StartCountDown"}, loader.m_Calls);
    // The first jump of a profile shows the help screen over the level.
    EXPECT_EQ((std::vector<std::string>{"ShowHelp", "Start"}),
              std::vector<std::string>(MenuCalls().end() - 2, MenuCalls().end()));
    EXPECT_EQ(m_Engine->m_MenuModeState, m_Engine->GetCurrentState());
    EXPECT_TRUE(m_World.Logged("Warning: The force-field editor is not available") == false);
    (void)game;
}

TEST_F(GameModeTest, MenuOpensOnReleaseAndNotWhilePaused)
{
    Jump();
    RunFade();
    m_Engine->PopState(); // the help
    ASSERT_EQ(m_Engine->m_GameModeState, m_Engine->GetCurrentState());
    MenuCalls().clear();
    Event(92, true);
    EXPECT_TRUE(MenuCalls().empty()) << "held";
    Event(99, true);
    EXPECT_TRUE(m_World.Logged("Paused"));
    EXPECT_EQ("Paused", m_World.m_Gfx.FindOverlayElement("CenterMessage/Message")->m_Caption);
    EXPECT_TRUE(m_World.m_Gfx.IsOverlayVisible("CenterMessage"));
    Event(92, false);
    EXPECT_TRUE(MenuCalls().empty()) << "paused";
    Event(99, false);
    Event(99, true);
    EXPECT_TRUE(m_World.Logged("Resumed"));
    EXPECT_EQ(m_Engine->m_GameModeState, m_Engine->GetCurrentState());
    Event(92, false);
    EXPECT_EQ((std::vector<std::string>{"GoToInGameMenu", "Start"}), MenuCalls());
    EXPECT_EQ(m_Engine->m_MenuModeState, m_Engine->GetCurrentState());
    // Covered by the menus, the game mode hears none of its events.
    Event(100, true);
    EXPECT_FALSE(m_World.Logged("Restarting"));
}

TEST_F(GameModeTest, RestartRestartsTheModsWhenTheFadeHasCoveredTheLevel)
{
    Jump();
    RunFade();
    m_Engine->PopState();
    CFakeDZLoader& loader = *CFakeDZLoader::ms_Last;
    Event(100, true);
    EXPECT_TRUE(m_World.Logged("Restarting"));
    EXPECT_EQ(std::vector<std::string>{"StartCountDown"}, loader.m_Calls) << "not before the fade";
    for (int i = 0; i < 10 && loader.m_Calls.size() < 2; ++i)
        m_World.Frame(0.1f);
    ASSERT_EQ((std::vector<std::string>{"StartCountDown", "Restart"}), loader.m_Calls);
    // Two skip frames, then the wait; a profile with a jump counts down without help.
    m_World.Frame(0.01f);
    m_World.Frame(0.01f);
    EXPECT_NE(m_Engine->m_GameModeState, m_Engine->GetCurrentState());
    MenuCalls().clear();
    RunFade();
    EXPECT_EQ("StartCountDown", loader.m_Calls.back());
    EXPECT_TRUE(MenuCalls().empty());
    EXPECT_EQ(2, COverlaysMod::GetSingleton()->GetHudMode());
}

TEST_F(GameModeTest, FadesOfNoLengthStartTheJumpOnTheNextFrames)
{
    SetConfigString(m_World.m_App.m_Config, "Scene->Fading->>In", "0");
    SetConfigString(m_World.m_App.m_Config, "Scene->Fading->>Out", "0");
    Jump();
    // Two skip frames, then the fade is over.
    for (int i = 0; i < 3; ++i)
        m_World.Frame(0.01f);
    CFakeDZLoader& loader = *CFakeDZLoader::ms_Last;
    EXPECT_EQ(std::vector<std::string>{"StartCountDown"}, loader.m_Calls);
    EXPECT_FALSE(m_World.m_Fader.IsVisible());
    m_Engine->PopState(); // the help
    ASSERT_EQ(m_Engine->m_GameModeState, m_Engine->GetCurrentState());
    Event(100, true);
    EXPECT_EQ("Restart", loader.m_Calls.back()) << "the screen is covered at once";
    for (int i = 0; i < 3; ++i)
        m_World.Frame(0.01f);
    EXPECT_EQ("StartCountDown", loader.m_Calls.back());
    EXPECT_EQ(m_Engine->m_GameModeState, m_Engine->GetCurrentState());
}

TEST_F(GameModeTest, SceneMessagesArePushedOverTheHelpWithTheFirstOnTop)
{
    WriteFile(m_Zones.File("home.dz"), "<scene FullName=\"Home Field\"><Message>Wind is strong.</Message>"
                                       "<Message>Land into the wind.</Message></scene>");
    Jump();
    RunFade();
    // Each box covers the one pushed before it.
    const std::vector<std::string> calls = MenuCalls();
    const auto help = std::find(calls.begin(), calls.end(), "ShowHelp");
    ASSERT_NE(calls.end(), help);
    EXPECT_EQ((std::vector<std::string>{"ShowMessageBox Land into the wind.", "ShowMessageBox Wind is strong."}),
              std::vector<std::string>(calls.end() - 2, calls.end()));
    EXPECT_LT(help, calls.end() - 2) << "the help under the messages";
}

TEST_F(GameModeTest, LandedJumpIsRecordedOnce)
{
    Jump();
    RunFade();
    m_Engine->PopState();
    CGameModeState& game = *CGameModeState::GetSingleton();
    game.ShowTrajectory(true, "1");
    const CProfile& profile = *m_Engine->GetProfileMgr().GetCurrentProfile();
    ASSERT_EQ(1u, profile.GetJumps().size());
    const CJumpRecord& jump = profile.GetJumps()[0];
    EXPECT_EQ(1u, jump.Number);
    EXPECT_EQ("Home Field", jump.Location);
    EXPECT_EQ("Jump_1.trajectory", jump.DataFile);
    EXPECT_EQ(CVector(0, 900, 0), jump.StartPos);
    EXPECT_EQ(CVector(10, 0, 5), jump.FinishPos);
    EXPECT_EQ(std::vector<std::string>{profile.GetPath() + "Jump_1.trajectory"},
              CFakeDZLoader::ms_Last->m_Jumper->m_Trajectory.m_Saved);
    std::vector<std::string> rows;
    const xml::CNodePtr info = jump.GetInfo();
    for (auto it = info->GetChildrenBegin("Info"); it != info->GetChildrenEnd("Info"); ++it)
        rows.push_back(it->second->GetAttribute("Name")->GetValue() + "=" + it->second->GetValue());
    ASSERT_EQ(6u, rows.size());
    EXPECT_EQ("Jump #=1", rows[0]);
    EXPECT_TRUE(std::regex_match(rows[1], std::regex("Date and time=\\d{4}-[A-Z][a-z]{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}")))
        << rows[1];
    EXPECT_EQ((std::vector<std::string>{"Preset=Beginner", "Altitude=914.4", "Landing type=StandUp Landing",
                                        "Duration=60"}),
              std::vector<std::string>(rows.begin() + 2, rows.end()));
    EXPECT_TRUE(m_World.Logged("Jump 1 is added to profile default"));

    // The trajectory view: no HUD, the jump log over the level.
    EXPECT_EQ(0, COverlaysMod::GetSingleton()->GetHudMode());
    EXPECT_EQ("ShowStatistics 1 1", MenuCalls().back());
    EXPECT_EQ(m_Engine->m_MenuModeState, m_Engine->GetCurrentState());

    // Leaving the level does not record the landed jump again.
    LeaveToMainMenu();
    EXPECT_EQ(1u, m_Engine->GetProfileMgr().GetCurrentProfile()->GetJumps().size());
}

TEST_F(GameModeTest, JumpLeftInTheAirIsRecordedOnceAndAFailedSaveGoesOn)
{
    Jump();
    RunFade();
    m_Engine->PopState();
    // The profile's folder is gone, a file in its place: nothing can be written there.
    const std::string folder = m_Engine->GetProfileMgr().GetCurrentProfile()->GetPath();
    boost::filesystem::remove_all(folder);
    WriteFile(folder.substr(0, folder.size() - 1), "");
    LeaveToMainMenu();
    EXPECT_EQ(1, std::count(m_World.m_Log.m_Lines.begin(), m_World.m_Log.m_Lines.end(),
                            "Jump 1 is added to profile default"));
    EXPECT_TRUE(m_World.m_Log.HasContaining("Error: Could not save profile 'default' into "));
    EXPECT_EQ(1u, m_Engine->GetProfileMgr().GetCurrentProfile()->GetJumps().size());
    EXPECT_EQ(m_Engine->m_MenuModeState, m_Engine->GetCurrentState());
}

TEST_F(GameModeTest, EditingLoadsTheLevelWithoutAJumper)
{
    CGameModeState& game = Start();
    game.SetEditFlag(true);
    m_Engine->ChangeState(m_Engine->m_GameModeState);
    EXPECT_EQ(nullptr, CFakeDZLoader::ms_Last->m_Jumper);
    // The drop zone's own tree asks for a jumper again for the next jump.
    EXPECT_TRUE(GetConfigBool(game.GetDropZone()->GetWorkingTree(), "scene->Preset->Jumper->>Create", false));
    RunFade();
    EXPECT_TRUE(m_World.Logged("Warning: The force-field editor is not available"));
    EXPECT_FALSE(m_World.m_Gfx.IsOverlayVisible("InputType"));
}

TEST_F(GameModeTest, TheEditorIsToldTheLevelOnlyWhileOneIsLoaded)
{
    CGameModeState& game = Start();
    std::vector<DovuvUvozeVozediza::IEditorLevel*> told;
    game.SetEditorLevelListener([&told](DovuvUvozeVozediza::IEditorLevel* level) { told.push_back(level); });
    DovuvUvozeVozediza::IEditorLevel& level = game;
    EXPECT_THROW(level.GetWindMgr(), CException) << "no level, no wind";

    game.SetEditFlag(true);
    m_Engine->ChangeState(m_Engine->m_GameModeState);
    ASSERT_EQ(std::vector<DovuvUvozeVozediza::IEditorLevel*>{&level}, told);
    EXPECT_EQ(game.GetDropZone()->GetWorkingTree(), level.GetSceneTree());
    EXPECT_EQ(&CPhyEnabledMod::GetSingleton()->GetPhyMgr().GetWindMgr(), &level.GetWindMgr());
    EXPECT_EQ(nullptr, level.GetNearestSimObj(CVector::ZERO)) << "the loader has no simulated objects";
    // The editor's own exit ends the editing: the next level is flown.
    level.SetEditFlag(false);
    EXPECT_FALSE(game.IsEditing());

    LeaveToMainMenu();
    EXPECT_EQ((std::vector<DovuvUvozeVozediza::IEditorLevel*>{&level, nullptr}), told);
}

TEST_F(GameModeTest, ALevelThatFailsToLoadLeavesItsDropZoneAsItWasLoaded)
{
    CGameModeState& game = Start();
    game.SetDZLoaderFactory([](ILevelHost&, ILoadingProgressBar&) -> std::shared_ptr<IDZLoaderMod> {
        throw std::runtime_error("The zone's terrain cannot be read");
    });
    // Opened in the editor, which loads the level without its jumper.
    game.SetEditFlag(true);
    EXPECT_THROW(m_Engine->ChangeState(m_Engine->m_GameModeState), std::runtime_error);
    EXPECT_FALSE(m_Engine->HasState(m_Engine->m_GameModeState));
    // The next jump of this drop zone has its jumper.
    EXPECT_TRUE(GetConfigBool(game.GetDropZone()->GetWorkingTree(), "scene->Preset->Jumper->>Create", false));
}

TEST_F(GameModeTest, TheJumpLogReplaysSavedTrajectoriesAndShowsItsMessage)
{
    CGameModeState& game = Jump();
    RunFade();
    const std::string folder = m_Engine->GetProfileMgr().GetCurrentProfile()->GetPath();
    CTrajectory flown("", 0.0f, 0.0f, 1.0f, "", "", "");
    CTiming second;
    second.m_Elapsed = 1.0f;
    flown.AddSample(second, CVector(0, 900, 0), CVector::ZERO);
    flown.AddSample(second, CVector(10, 0, 5), CVector::ZERO);
    flown.Save(folder + "Jump_1.trajectory");
    const xml::CNodePtr info(new xml::CNode("JumpInfo", false));
    const CJumpRecord saved(1, "Home Field", "Jump_1.trajectory", CVector(0, 900, 0), CVector(10, 0, 5), info);
    const CJumpRecord lost(2, "Home Field", "Jump_2.trajectory", CVector(0, 900, 0), CVector(10, 0, 5), info);

    if (!m_World.m_Gfx.GetMemCamera())
        m_World.m_Gfx.CreateCamera();
    const sds::CMemCamera& camera = *m_World.m_Gfx.GetMemCamera();
    const std::size_t modes = camera.m_Modes.size();
    game.ShowTrajectories({&saved, &lost});
    ASSERT_EQ(1u, CTrajectoryViewerMod::GetSingleton()->GetShown().size()) << "a missing file shows nothing";
    // The trajectory camera, chosen anew, frames them.
    ASSERT_EQ(modes + 1, camera.m_Modes.size());
    EXPECT_EQ(sds::CameraEvents::camera_script3, camera.m_Modes.back());
    game.ShowCenterMessage("Nice landing!");
    EXPECT_EQ("Nice landing!", CHUDMessageMod::GetSingleton()->GetMessage());
    EXPECT_TRUE(game.ShowsLandingComment()) << "until the settings say otherwise";
}

TEST_F(GameModeTest, ATutorialOfTheSetBecomesTheNextJumpsDropZone)
{
    SetConfigString(m_World.m_App.m_Config, "Application->Tutorials->>Path", m_Zones.Path() + "/");
    SetConfigString(m_World.m_App.m_Config, "Application->Tutorials->>Extension", ".dz");
    CGameModeState& game = Start();
    ASSERT_EQ(std::vector<std::string>{"Home Field"}, game.GetTutorialNames());
    game.SetCurrentDropZone(nullptr);
    game.SetCurrentTutorialName("Canopy basics");
    EXPECT_FALSE(game.SelectCurrentTutorialDropZone());
    EXPECT_EQ(nullptr, game.GetDropZone());
    game.SetCurrentTutorialName("Home Field");
    ASSERT_TRUE(game.SelectCurrentTutorialDropZone());
    EXPECT_EQ("Home Field", game.GetDropZone()->GetFullName());
}
