// The engine over fake services: construction and first state, the frame, the
// frame limiter, quitting, screenshots, menu mode.

#include <fstream>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "EngineWorld.h"
#include "app/MenuModeState.h"
#include "app/ProfileMgr.h"
#include "app/SplashScreensState.h"
#include "core/Exception.h"
#include "jumper/EquipmentManager.h"
#include "sound/DummySndMgr.h"

using namespace sds;

namespace {

// An engine state that records its calls and the timing it is given.
class CProbeState : public IEngineState
{
public:
    explicit CProbeState(CEngine* engine) : IEngineState(engine) {}

    void OnUpdate(const CTiming& timing) override
    {
        m_Timings.push_back(timing);
        if (m_OnUpdate)
            m_OnUpdate();
    }
    void Enter() override { m_Calls.push_back("Enter"); }
    void Exit() override { m_Calls.push_back("Exit"); }
    void Pause() override { m_Calls.push_back("Pause"); }
    void Resume() override { m_Calls.push_back("Resume"); }

    std::vector<CTiming> m_Timings;
    std::vector<std::string> m_Calls;
    std::function<void()> m_OnUpdate;
};

class EngineTest : public ::testing::Test
{
protected:
    CFakeSound& Music() { return *m_World.m_Sound.m_Sounds.front(); }

    // Frames of 10 ms on the frame limiter's clock: how many were drawn.
    int DrawnFrames(int count)
    {
        const int skipped = m_World.m_App.m_SkippedDrawings;
        for (int frame = 0; frame < count; ++frame) {
            m_World.m_Micros += 10000;
            m_World.Frame(0.01f);
        }
        return count - (m_World.m_App.m_SkippedDrawings - skipped);
    }

    CEngineWorld m_World;
};

} // namespace

TEST_F(EngineTest, StartsInTheStateTheOptionsAsk)
{
    typedef std::vector<std::string> CCalls;
    const CCalls mainMenu = {"GoToMainMenu", "Start"};
    const CCalls videoSettings = {"GoToMainMenu", "ShowVideoSettings wndSettings/tcSections/tabVideo", "Start"};
    // The drop-zone menu's Jump runs at once with the choice it holds.
    const CCalls jump = {"GoToDZSelection", "Start", "ApplyDZSelection"};
    const struct
    {
        const char* StartState;
        bool Restarted;
        bool MenuMode;
        CCalls Menus;
    } cases[] = {
        {"SplashScreens", false, false, {}},
        {"", false, false, {}},
        {"mainmenu", false, false, {}},
        {"gamemode", false, false, {}},
        {"MainMenu", false, true, mainMenu},
        {"GameMode", false, true, jump},
        {"SplashScreens", true, true, videoSettings},
    };
    for (const auto& c : cases) {
        const auto engine = m_World.MakeEngine(c.StartState, c.Restarted);
        const std::string what = std::string("\"") + c.StartState + "\"" + (c.Restarted ? " restarted" : "");
        if (c.MenuMode)
            EXPECT_EQ(engine->m_MenuModeState, engine->GetCurrentState()) << what;
        else
            EXPECT_EQ(engine->GetSplashScreensState(), engine->GetCurrentState()) << what;
        // Menu mode starts the menus on the main menu; a restart opens the video settings over it.
        EXPECT_EQ(c.Menus, CEngineWorld::Menus(*engine).m_Calls) << what;
    }
}

TEST_F(EngineTest, ConstructionLogsAroundTheProgramObjectsAndStartsTheMusic)
{
    {
        const auto engine = m_World.MakeEngine();
        const std::vector<std::string>& lines = m_World.m_Log.m_Lines;
        const auto starting = std::find(lines.begin(), lines.end(), "Engine is starting...");
        const auto started = std::find(lines.begin(), lines.end(), "Engine is started");
        ASSERT_NE(lines.end(), started);
        EXPECT_LT(starting, started);
        EXPECT_EQ(engine.get(), CEngine::GetSingleton());
        EXPECT_EQ(std::vector<std::string>{"../data/sounds/menu.ogg"}, m_World.m_Sound.m_Files);
        EXPECT_TRUE(Music().m_Playing && Music().m_Looping);
        EXPECT_EQ("default", engine->GetProfileMgr().GetCurrentProfile()->GetName());
        // The equipment file's models live as long as the engine.
        ASSERT_TRUE(engine->GetEquipmentManager());
        EXPECT_EQ(engine->GetEquipmentManager(), sds::CEquipmentManager::GetSingleton());
        EXPECT_EQ(2u, engine->GetEquipmentManager()->GetAltimeterNames().size());
    }
    EXPECT_EQ("Engine is destroyed", m_World.m_Log.m_Lines.back());
    EXPECT_EQ(nullptr, CEngine::GetSingleton());
    EXPECT_EQ(nullptr, sds::CEquipmentManager::GetSingleton());
}

TEST_F(EngineTest, TheEditorIsMadeOverTheMenusAndGoesWithTheEngine)
{
    std::weak_ptr<sds::IEngineState> made;
    bool menusFirst = false;
    m_World.m_CreateEditor = [&](CEngine& engine) -> std::shared_ptr<sds::IEngineState> {
        menusFirst = engine.GetGuiEngine() != nullptr;
        auto editor = std::make_shared<CProbeState>(&engine);
        made = editor;
        return editor;
    };
    {
        const auto engine = m_World.MakeEngine();
        EXPECT_TRUE(menusFirst);
        ASSERT_FALSE(made.expired());
        EXPECT_EQ(made.lock().get(), engine->m_EditorState);
    }
    EXPECT_TRUE(made.expired());

    m_World.m_CreateEditor = nullptr;
    EXPECT_EQ(nullptr, m_World.MakeEngine()->m_EditorState);
}

TEST_F(EngineTest, ProfileComesFromTheSettingsUnlessItsNameCannotBeAFolder)
{
    m_World.m_App.m_Settings->AddAttribute("Profile", "Jane");
    m_World.MakeEngine().reset();
    EXPECT_TRUE(m_World.Logged("Created profile Jane"));

    m_World.m_App.m_Settings->GetAttribute("Profile")->SetValue("../../escape");
    const auto engine = m_World.MakeEngine();
    EXPECT_EQ("Jane", engine->GetProfileMgr().GetCurrentProfile()->GetName()) << "the first profile on disk";
    EXPECT_TRUE(m_World.m_Log.HasContaining("The profile the settings name cannot be used"));
}

TEST_F(EngineTest, AFailedGuiStartIsAClearErrorNotACrash)
{
    m_World.m_Gui.reset();
    ASSERT_EQ(nullptr, IGUI::GetSingleton());
    try {
        m_World.MakeEngine("MainMenu");
        FAIL() << "no exception";
    } catch (const CException& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("The menus could not be started"));
    }
}

TEST_F(EngineTest, MenuMusicThatCannotBeLoadedLeavesTheMenusSilent)
{
    m_World.m_Sound.m_Fail = true;
    const auto engine = m_World.MakeEngine("MainMenu");
    EXPECT_TRUE(m_World.m_Log.HasContaining("Error: The menu music could not be loaded, the menus stay silent: "
                                            "Cannot decode ../data/sounds/menu.ogg"));
    EXPECT_EQ(engine->m_MenuModeState, engine->GetCurrentState());
    EXPECT_FALSE(engine->m_BgMusic->IsPlaying());
}

TEST_F(EngineTest, EachFrameAdvancesTheGlobalClockAndUpdatesTheCurrentState)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    CProbeState probe(engine.get());
    engine->ChangeState(&probe);
    engine->Start();
    const float start = CEngine::s_GlobalTime;
    m_World.Frame(0.25f);
    m_World.Frame(0.5f);
    ASSERT_EQ(2u, probe.m_Timings.size());
    EXPECT_FLOAT_EQ(0.5f, probe.m_Timings[1].m_Elapsed);
    EXPECT_FLOAT_EQ(start + 0.75f, probe.m_Timings[1].m_Global);

    engine->Stop();
    m_World.Frame(0.25f);
    EXPECT_EQ(2u, probe.m_Timings.size()) << "stopping disconnects the frame";
    EXPECT_EQ("Exit", probe.m_Calls.back());
    EXPECT_FALSE(engine->HasStates());
}

TEST_F(EngineTest, QuitEmptiesTheStackAndStillUpdatesOnce)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    CProbeState below(engine.get());
    engine->ChangeState(&below);
    engine->PushState(engine->m_MenuModeState);
    engine->Start();

    engine->m_QuitRequested = true;
    const float before = CEngine::s_GlobalTime;
    m_World.Frame(0.1f);
    EXPECT_FALSE(engine->HasStates());
    EXPECT_TRUE(m_World.m_App.m_QuitCalled);
    EXPECT_EQ((std::vector<std::string>{"Enter", "Pause", "Resume", "Exit"}), below.m_Calls);
    EXPECT_TRUE(below.m_Timings.empty()) << "the popped states do not run";
    EXPECT_FLOAT_EQ(before + 0.1f, CEngine::s_GlobalTime);
}

TEST_F(EngineTest, FrameLimitMakesEveryFrameLastItsMinimumAfterTheStateRan)
{
    const auto engine = m_World.MakeEngine("MainMenu", false, 1.0f / 30.0f);
    CProbeState probe(engine.get());
    std::vector<std::uint64_t> updates;
    // The state's own work takes 5 ms of the frame.
    probe.m_OnUpdate = [&] {
        updates.push_back(m_World.m_Micros);
        m_World.m_Micros += 5000;
    };
    engine->ChangeState(&probe);
    for (int frame = 0; frame < 10; ++frame)
        engine->Update(CTiming());
    ASSERT_EQ(10u, updates.size());
    for (size_t i = 1; i < updates.size(); ++i) {
        EXPECT_GT(updates[i] - updates[i - 1], 33333u) << "frame " << i;
        EXPECT_LT(updates[i] - updates[i - 1], 33333u + 10u) << "frame " << i;
    }
    // Nearly all of the rest of each frame was slept, not spun.
    EXPECT_GE(m_World.m_Slept, 9u * (33333u - 5000u - CFrameLimiter::SpinMicroseconds));
}

TEST_F(EngineTest, WithoutALimitTheFrameDoesNotWait)
{
    const auto engine = m_World.MakeEngine("MainMenu", false, 0.0f);
    const std::uint64_t before = m_World.m_Micros;
    for (int frame = 0; frame < 10; ++frame)
        engine->Update(CTiming());
    EXPECT_LE(m_World.m_Micros - before, 10u) << "one reading of the clock a frame";
    EXPECT_EQ(0u, m_World.m_Slept);
}

// The main menu alone rests: a frame is drawn when something on it changed,
// else four a second; the others only poll the input, sleeping toward 10 ms.
TEST_F(EngineTest, TheMenusAloneAreDrawnOnAChangeElseAFewTimesASecond)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    engine->Start();
    m_World.m_Micros += 10000;
    m_World.Frame(0.01f);
    EXPECT_EQ(0, m_World.m_App.m_SkippedDrawings) << "entering the menus is a change";
    DrawnFrames(50);
    const int drawn = DrawnFrames(100);
    EXPECT_GE(drawn, 3) << "a second at rest";
    EXPECT_LE(drawn, 4) << "a second at rest";

    // A frame that is not drawn waits for the poll interval on its own.
    while (DrawnFrames(1) == 0) {
    }
    const std::uint64_t slept = m_World.m_Slept;
    m_World.Frame(0.01f);
    EXPECT_GE(m_World.m_Slept - slept, 10000u - CFrameLimiter::SpinMicroseconds - 10u);
    EXPECT_LE(m_World.m_Slept - slept, 10000u);

    const struct
    {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"a key", [&] { m_World.Key(EVENT_KEY_PRESSED); }},
        {"the mouse", [&] { m_World.m_Events->FireAnalogEvent(CAnalogEvent()); }},
        {"the GUI", [&] { m_World.m_Gui->m_NeedsRedraw = true; }},
        {"a fade", [&] { m_World.m_Fader.SetVisible(true); }},
    };
    for (const auto& c : changes) {
        DrawnFrames(50);
        while (DrawnFrames(1) == 0) {
        }
        ASSERT_EQ(0, DrawnFrames(1)) << c.what << ": the frame after an idle one rests";
        c.change();
        EXPECT_EQ(1, DrawnFrames(1)) << c.what;
        m_World.m_Gui->m_NeedsRedraw = false;
        m_World.m_Fader.SetVisible(false);
    }
}

TEST_F(EngineTest, OutsideTheMenusOrWithAJumpUnderThemEveryFrameIsDrawn)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    CProbeState probe(engine.get());
    engine->ChangeState(&probe);
    engine->Start();
    EXPECT_EQ(100, DrawnFrames(100));
    engine->PushState(engine->m_MenuModeState);
    EXPECT_EQ(100, DrawnFrames(100));
}

TEST_F(EngineTest, FinishedSoundsAreReleasedOnTheNextFrame)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    auto playing = std::make_shared<CFakeSound>();
    playing->Play(false);
    auto finished = std::make_shared<CFakeSound>();
    engine->m_PlayingSounds = {finished, playing, finished};
    engine->Start();
    m_World.Frame(0.02f);
    EXPECT_EQ(std::vector<std::shared_ptr<ISound>>{playing}, engine->m_PlayingSounds);
}

TEST_F(EngineTest, ScreenShotOnThePressIsNamedByTheConfiguration)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    engine->Start();
    CInternalEvent shot;
    shot.Code = 113;
    shot.On = 0;
    m_World.m_Events->FireEvent(shot);
    EXPECT_EQ(0, m_World.m_Gfx.m_Shots) << "a release takes none";

    shot.On = 1;
    m_World.m_Events->FireEvent(shot);
    EXPECT_TRUE(m_World.Logged("ScreenShot is taken: ../logs/ScreenShot1.png"));

    // A picture that cannot be written is reported; the program goes on.
    m_World.m_Gfx.m_Fail = true;
    EXPECT_NO_THROW(m_World.m_Events->FireEvent(shot));
    EXPECT_TRUE(m_World.m_Log.HasContaining("Error: ScreenShot could not be taken: "));
}

TEST_F(EngineTest, MenuModePlaysMusicAndShowsItsBackgroundUnlessAJumpIsPaused)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    EXPECT_TRUE(m_World.Logged("Entering Menu mode"));
    EXPECT_TRUE(m_World.m_Gfx.IsOverlayVisible("MenuBackground"));
    EXPECT_TRUE(Music().m_Playing);

    // A state over menu mode pauses it.
    CProbeState over(engine.get());
    engine->PushState(&over);
    EXPECT_FALSE(Music().m_Playing);
    EXPECT_FALSE(m_World.m_Gfx.IsOverlayVisible("MenuBackground"));
    engine->PopState();
    EXPECT_TRUE(Music().m_Playing);
    EXPECT_TRUE(m_World.m_Gfx.IsOverlayVisible("MenuBackground"));

    // The menus over a paused jump leave the jump's sound and picture.
    CProbeState game(engine.get());
    engine->m_GameModeState = &game;
    engine->ChangeState(&game);
    EXPECT_FALSE(m_World.m_Gfx.IsOverlayVisible("MenuBackground")) << "menu mode left";
    Music().Stop();
    engine->PushState(engine->m_MenuModeState);
    EXPECT_FALSE(Music().m_Playing);
    EXPECT_FALSE(m_World.m_Gfx.IsOverlayVisible("MenuBackground"));
    engine->m_GameModeState = nullptr;
}

TEST_F(EngineTest, MenuModeCopiesAndPastesOnThePressOnly)
{
    const auto engine = m_World.MakeEngine("MainMenu");
    CInternalEvent event;
    for (std::int32_t code : {111, 112})
        for (std::uint8_t on : {0, 1}) {
            event.Code = code;
            event.On = on;
            m_World.m_Events->FireEvent(event);
        }
    EXPECT_EQ(1, m_World.m_Gui->m_Copies);
    EXPECT_EQ(1, m_World.m_Gui->m_Pastes);

    engine->ChangeState(engine->GetSplashScreensState());
    event.Code = 111;
    m_World.m_Events->FireEvent(event);
    EXPECT_EQ(1, m_World.m_Gui->m_Copies) << "menu mode left";
}

TEST_F(EngineTest, ThePointerIsFreeInTheMenusAndGrabbedOutsideThem)
{
    m_World.m_App.m_MouseGrabbed = true;
    const auto engine = m_World.MakeEngine("MainMenu");
    EXPECT_FALSE(m_World.m_App.m_MouseGrabbed);

    CProbeState flight(engine.get());
    engine->PushState(&flight);
    EXPECT_TRUE(m_World.m_App.m_MouseGrabbed);
    engine->PopState();
    EXPECT_FALSE(m_World.m_App.m_MouseGrabbed);
    engine->ChangeState(&flight);
    EXPECT_TRUE(m_World.m_App.m_MouseGrabbed);
}

TEST_F(EngineTest, ADamagedProfileIsToldInAMessageBoxWhenTheMenusComeUp)
{
    const std::string file = m_World.m_Profiles.File("default/default.profile");
    boost::filesystem::create_directories(m_World.m_Profiles.File("default"));
    std::ofstream(file) << "<Profile Name=\"default\"><Jump";

    const auto engine = m_World.MakeEngine("SplashScreens");
    EXPECT_EQ("default2", engine->GetProfileMgr().GetCurrentProfile()->GetName());
    EXPECT_TRUE(CEngineWorld::Menus(*engine).m_Calls.empty()) << "no menu is up yet";

    engine->ChangeState(engine->m_MenuModeState);
    const std::vector<std::string>& calls = CEngineWorld::Menus(*engine).m_Calls;
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(0u, calls[1].find("ShowMessageBox The profile file " + m_World.m_Profiles.Path() +
                                "/default/default.profile cannot be read (Could not load "))
        << calls[1];
    EXPECT_NE(std::string::npos, calls[1].find("It is left as it is; mend or remove it to use that profile again."));

    // Told once; the file is left for the user to mend.
    engine->ChangeState(engine->GetSplashScreensState());
    engine->ChangeState(engine->m_MenuModeState);
    EXPECT_EQ(1, std::count_if(calls.begin(), calls.end(),
                               [](const std::string& call) { return call.find("ShowMessageBox") == 0; }));
    std::ifstream in(file);
    EXPECT_EQ("<Profile Name=\"default\"><Jump", std::string(std::istreambuf_iterator<char>(in), {}));
}
