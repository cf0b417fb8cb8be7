// The program's entry over fake services, in a run tree of its own: options,
// configuration, user settings, the restart loop and the exit codes.

#include <unistd.h>

#include <csignal>

#include <fstream>
#include <iterator>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/EngineWorld.h"
#include "app/ProgramSetup.h"
#include "app/TestRunner.h"
#include "core/CrashHandler.h"
#include "core/DataLog.h"
#include "core/UnitConverter.h"
#include "core/XmlFile.h"
#include "editor/Editor.h"
#include "program/ProgramEntry.h"

using namespace sds;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The application of one pass: every service the engine needs, over fakes. Its
// frame loop clicks the main menu's Exit after a few frames, or asks for a
// restart when told to.
class CProgramApplication : public CFakeApplication
{
public:
    CProgramApplication(const xml::CNodePtr& config, const xml::CNodePtr& settings, bool* restart, bool askRestart)
        : CFakeApplication(config, settings), m_Restart(restart), m_AskRestart(askRestart),
          m_Fader([this] { return m_Now; }), m_Units(config->GetChild("UnitConverter"))
    {
        m_Events = std::make_unique<CTestEventMgr>();
        m_Gfx.DefineOverlay("SplashScreens/Title", {});
        m_Gfx.DefineOverlay("MenuBackground", {});
        // The force-field editor's, made with the engine.
        m_Gfx.DefineOverlay("ConsoleBackDrop", {});
    }
    ~CProgramApplication() override
    {
        m_Events.reset();
        if (m_IconSink)
            *m_IconSink = m_Icon;
    }

    void Run() override
    {
        for (int frame = 0; frame < 50 && !m_QuitCalled; ++frame) {
            m_Now += 20;
            if (m_OnFrame)
                m_OnFrame(frame);
            sds::CFrameEvent event;
            event.TimeSinceLastFrame = 0.02f;
            m_Events->FireFrameEvent(event);
            if (frame == 2) {
                if (m_AskRestart)
                    Restart();
                else if (m_ClickExit)
                    m_Events->FireGUIEvent(CGUIEvent("wndMainMenu/btnExit"));
            }
        }
    }
    void Restart() override
    {
        *m_Restart = true;
        Quit();
    }

    bool* m_Restart;
    bool m_AskRestart;
    bool m_ClickExit = true;
    std::function<void(int frame)> m_OnFrame;
    int* m_IconSink = nullptr;
    std::unique_ptr<CTestEventMgr> m_Events;
    CFakeGUI m_Gui;
    CShotGfxMgr m_Gfx;
    std::uint64_t m_Now = 0;
    sds::CMemFader m_Fader;
    CFakeSndMgr m_Sound;
    CUnitConverter m_Units;
};

// A run tree in a temporary folder (bin/, conf/ with the shipped files,
// profiles/), the program run from its bin/.
class ProgramEntryTest : public ::testing::Test
{
protected:
    ProgramEntryTest() : m_Bin(m_Tree.File("bin")), m_Conf(m_Tree.File("conf"))
    {
        boost::filesystem::create_directories(m_Bin);
        boost::filesystem::create_directories(m_Conf);
        for (const char* file : {"conf.xml", "bindings.xml"})
            boost::filesystem::copy_file(std::string(SDS_SOURCE_DIR "/conf/") + file, m_Conf + "/" + file);
        m_Saved = boost::filesystem::current_path();
        boost::filesystem::current_path(m_Bin);

        m_Services.CreateLogMgr = [this](const std::string& file) {
            m_LogFile = file;
            m_Log.reset(); // the old log clears the singleton as it goes
            m_Log = std::make_shared<CCapturingLogMgr>();
            return m_Log;
        };
        m_Services.CreateApplication = [this](const xml::CNodePtr& config, const xml::CNodePtr& settings,
                                              bool* restart) {
            m_Restarted.push_back(*restart);
            const bool askRestart = m_RestartsToAsk > 0;
            if (askRestart)
                --m_RestartsToAsk;
            m_Config = config;
            auto application = std::make_shared<CProgramApplication>(config, settings, restart, askRestart);
            application->m_IconSink = &m_Icon;
            application->m_ClickExit = m_ClickExit;
            if (m_Script) {
                application->m_OnFrame = [this, raw = application.get()](int frame) { m_Script(*raw, frame); };
                m_Applications.push_back(application);
            }
            return application;
        };
    }

    ~ProgramEntryTest() override { boost::filesystem::current_path(m_Saved); }

    int Run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "dravonkel");
        std::vector<const char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(argument.c_str());
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = RunProgram(static_cast<int>(argv.size()), argv.data(), m_Services);
        m_Out = testing::internal::GetCapturedStdout();
        m_Err = testing::internal::GetCapturedStderr();
        return code;
    }

    void WriteConf(const std::string& file, const std::string& text) { std::ofstream(m_Conf + "/" + file) << text; }

    // The shipped configuration changed by `change`.
    void ChangeConfiguration(const std::function<void(const xml::CNodePtr&)>& change)
    {
        const xml::CNodePtr file = xml::LoadXmlFile(m_Conf + "/conf.xml");
        change(file->GetChild("sds"));
        ASSERT_TRUE(xml::SaveXmlFile(m_Conf + "/conf.xml", file->GetChild("sds")));
    }

    bool Logged(const std::string& line) const { return m_Log && m_Log->Has(line); }

    CTempDir m_Tree;
    std::string m_Bin;
    std::string m_Conf;
    boost::filesystem::path m_Saved;
    CProgramServices m_Services;
    std::shared_ptr<CCapturingLogMgr> m_Log;
    std::string m_LogFile;
    std::vector<bool> m_Restarted;
    int m_RestartsToAsk = 0;
    xml::CNodePtr m_Config;
    // What the user does in each frame of every pass; the passes' applications
    // are kept for the test when it gives one.
    std::function<void(CProgramApplication& application, int frame)> m_Script;
    std::vector<std::shared_ptr<CProgramApplication>> m_Applications;
    int m_Icon = 0;
    bool m_ClickExit = true;
    std::string m_Out;
    std::string m_Err;
};

} // namespace

TEST_F(ProgramEntryTest, HelpListsTheOptionsBeforeAnyLogExists)
{
    EXPECT_EQ(1, Run({"--Help"}));
    EXPECT_EQ(0u, m_Out.find("Allowed options:\n"));
    EXPECT_NE(std::string::npos, m_Out.find("--FrameLimit arg (=6000)"));
    EXPECT_FALSE(m_Log);
}

TEST_F(ProgramEntryTest, BadCommandLinesEndWithTheirErrorBeforeAnythingStarts)
{
    const struct
    {
        std::vector<std::string> Arguments;
        const char* Reported;
    } cases[] = {
        {{"--Bogus"}, "Error: Program can not continue:\nunrecognised option '--Bogus'"},
        {{"--FrameLimit", "fast"}, "Error: Program can not continue:\nthe argument ('fast') for option '--FrameLimit' is invalid"},
        {{"--StartState"}, "Error: Program can not continue:\nthe required argument for option '--StartState' is missing"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(1001, Run(c.Arguments)) << c.Arguments[0];
        EXPECT_NE(std::string::npos, m_Err.find(c.Reported)) << m_Err;
        EXPECT_TRUE(m_Restarted.empty()) << c.Arguments[0];
    }
}

TEST_F(ProgramEntryTest, SilentKeepsTheMessageBoxAway)
{
    WriteConf("conf.xml", "<sds><Application>");
    EXPECT_EQ(1001, Run({"--Silent"}));
    EXPECT_NE(std::string::npos, m_Err.find("Exception: Could not load ../conf/conf.xml")) << m_Err;
    EXPECT_EQ(std::string::npos, m_Err.find("Program can not continue"));
}

TEST_F(ProgramEntryTest, AConfigurationThatCannotBeReadIsAnErrorNamingTheFileAndWhy)
{
    // Exit code 1 is kept for an XML library that cannot start.
    WriteConf("conf.xml", "<sds><Application>");
    EXPECT_EQ(1001, Run({}));
    EXPECT_FALSE(Logged("Error: Could not load configuration file."));
    EXPECT_NE(std::string::npos, m_Err.find("Program can not continue:\nCould not load ../conf/conf.xml\nError at file "))
        << m_Err;
    EXPECT_NE(std::string::npos, m_Err.find("conf.xml, line 1, char 19. Message: ")) << m_Err;
    EXPECT_EQ(std::string::npos, m_Err.find("DirectX")) << "not the hardware text";
    EXPECT_TRUE(m_Restarted.empty());

    WriteConf("conf.xml", "<configuration/>");
    EXPECT_EQ(1001, Run({})) << "a tree without \"sds\"";
    EXPECT_NE(std::string::npos, m_Err.find("does not have a child 'sds'")) << m_Err;
}

TEST_F(ProgramEntryTest, OnlyARenderSystemThatCannotStartGetsTheHardwareText)
{
    m_Services.CreateApplication = [](const xml::CNodePtr&, const xml::CNodePtr&, bool*) -> std::shared_ptr<IApplication> {
        throw IApplication::CRendererException("Renderer Initialization: no GL context");
    };
    EXPECT_EQ(1001, Run({"--StartState", "MainMenu"}));
    EXPECT_NE(std::string::npos, m_Err.find(std::string("Error: ") + PROGRAM_CAN_NOT_CONTINUE)) << m_Err;
    EXPECT_TRUE(m_Log->HasContaining("Error: Exception: Renderer Initialization: no GL context"));

    m_Services.CreateApplication = [](const xml::CNodePtr&, const xml::CNodePtr&, bool*) { return nullptr; };
    EXPECT_EQ(1001, Run({"--StartState", "MainMenu"}));
    EXPECT_NE(std::string::npos, m_Err.find(PROGRAM_CAN_NOT_CONTINUE)) << "no window";

    // Any other failure says what it is.
    m_Services.CreateApplication = [](const xml::CNodePtr&, const xml::CNodePtr&, bool*) -> std::shared_ptr<IApplication> {
        throw std::runtime_error("The GUI layout Dravonkel.layout holds no window");
    };
    EXPECT_EQ(1001, Run({"--StartState", "MainMenu"}));
    EXPECT_NE(std::string::npos,
              m_Err.find("Error: Program can not continue:\nThe GUI layout Dravonkel.layout holds no window\n"
                         "Please, check log file for more details."))
        << m_Err;
    EXPECT_EQ(std::string::npos, m_Err.find("DirectX"));
}

TEST_F(ProgramEntryTest, StartsFromTheBuiltInDefaultsAlone)
{
    boost::filesystem::remove_all(m_Conf);
    EXPECT_EQ(0, Run({"--StartState", "MainMenu"}));
    EXPECT_TRUE(Logged("Entering Menu mode"));
    EXPECT_TRUE(boost::filesystem::exists(m_Conf + "/settings.xml")) << "its folder is made for it";
}

TEST_F(ProgramEntryTest, TheEngineHasTheForceFieldEditorOverTheMenus)
{
    bool hasEditor = false;
    m_Script = [&hasEditor](CProgramApplication&, int frame) {
        if (frame == 0)
            hasEditor = dynamic_cast<DovuvUvozeVozediza::CEditor*>(CEngine::GetSingleton()->m_EditorState) != nullptr;
    };
    EXPECT_EQ(0, Run({"--StartState", "MainMenu"}));
    EXPECT_TRUE(hasEditor);
}

TEST_F(ProgramEntryTest, TerminationSignalsEndTheProgramLikeClosingItsWindow)
{
    for (int signal : {SIGTERM, SIGINT}) {
        boost::filesystem::remove(m_Conf + "/settings.xml");
        m_ClickExit = false;
        m_Services.CreateApplication = [this, signal](const xml::CNodePtr& config, const xml::CNodePtr& settings,
                                                      bool* restart) {
            auto application = std::make_shared<CProgramApplication>(config, settings, restart, false);
            application->m_ClickExit = false;
            application->m_OnFrame = [signal](int frame) {
                if (frame == 3)
                    std::raise(signal);
            };
            return application;
        };
        EXPECT_EQ(0, Run({"--StartState", "MainMenu"})) << signal;
        EXPECT_TRUE(Logged("Signal " + std::to_string(signal) + " asks the program to end")) << signal;
        EXPECT_TRUE(Logged("Engine is destroyed")) << signal;
        EXPECT_TRUE(boost::filesystem::exists(m_Conf + "/settings.xml")) << "the settings are written";
        EXPECT_TRUE(boost::filesystem::exists("../profiles/default/default.profile")) << "and the profile";
    }
    // Outside a run the signals are the system's again.
    struct sigaction current = {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(SIG_DFL, current.sa_handler);
}

TEST_F(ProgramEntryTest, WhatAnInterruptedSaveLeftIsRemovedAtStart)
{
    WriteConf("settings.xml.tmp", "<Settings");
    boost::filesystem::create_directories("../profiles/jane");
    std::ofstream("../profiles/jane/jane.profile.tmp") << "<Profile";
    std::ofstream("../profiles/jane/notes.txt") << "mine";
    EXPECT_EQ(0, Run({"--StartState", "MainMenu"}));
    EXPECT_FALSE(boost::filesystem::exists(m_Conf + "/settings.xml.tmp"));
    EXPECT_FALSE(boost::filesystem::exists("../profiles/jane/jane.profile.tmp"));
    EXPECT_TRUE(boost::filesystem::exists("../profiles/jane/notes.txt")) << "only the program's own";
    EXPECT_TRUE(Logged("Removed ../conf/settings.xml.tmp, left by a save that was cut off"));
}

TEST_F(ProgramEntryTest, ARunWritesTheSwitchesAndTheSettingsBack)
{
    ChangeConfiguration([](const xml::CNodePtr& sds) {
        sds->GetChild("SoundSystem")->GetAttribute("Enabled")->SetValue("0");
    });
    EXPECT_EQ(0, Run({"--StartState", "MainMenu", "--NoShaders", "--ReloadDZs", "--SurfaceObjects", "0.25"}));
    EXPECT_EQ("../logs/dravonkel.log", m_LogFile);
    EXPECT_EQ("Version: 1.2.863.0", m_Log->m_Lines.front());
    EXPECT_TRUE(Logged("Engine is destroyed"));
    EXPECT_EQ(std::vector<bool>{false}, m_Restarted);

    EXPECT_EQ("1", GetConfigString(m_Config, "Switches->>ReloadDZs", ""));
    EXPECT_EQ("0", GetConfigString(m_Config, "Switches->>DisableInputs", ""));
    EXPECT_EQ("1", GetConfigString(m_Config, "SoundSystem->>Enabled", "")) << "forced on without NoSound";
    EXPECT_EQ(1u, m_Config->GetChild("Application")->GetChildren().count("DropZones")) << "one edition left";

    const xml::CNodePtr settings = xml::LoadXmlFile(m_Conf + "/settings.xml")->GetChild("Settings");
    EXPECT_EQ("0", GetConfigString(settings, "Graphics->>UseShaders", ""));
    EXPECT_EQ("0.25", GetConfigString(settings, "Graphics->>SurfaceObjects", ""));
    EXPECT_FALSE(boost::filesystem::exists("data.log")) << "no data logs unless asked";
}

TEST_F(ProgramEntryTest, EditionPicksTheWindowIcon)
{
    for (const auto& edition : std::vector<std::pair<std::string, int>>{
             {"SkorvelPersonal", 109}, {"SkorvelInstructor", 109}, {"MerrowickPersonal", 108},
             {"MerrowickInstructor", 108}, {"DovuvUvozeVozediza", 107}, {"Unknown", 102}})
        EXPECT_EQ(edition.second, GetEditionIcon(edition.first)) << edition.first;

    ChangeConfiguration([](const xml::CNodePtr& sds) {
        sds->GetChild("Application")->GetAttribute("Edition")->SetValue("MerrowickInstructor");
    });
    EXPECT_EQ(0, Run({"--StartState", "MainMenu"}));
    EXPECT_EQ(108, m_Icon);
}

TEST_F(ProgramEntryTest, ARestartBuildsTheApplicationAgainWithTheVideoSettings)
{
    m_RestartsToAsk = 1;
    EXPECT_EQ(0, Run({"--StartState", "SplashScreens"}));
    EXPECT_EQ((std::vector<bool>{false, true}), m_Restarted);
    EXPECT_TRUE(Logged("Displaying wndSettings")) << "the second pass opens the video tab";
    EXPECT_TRUE(boost::filesystem::exists(m_Conf + "/settings.xml"));
}

TEST_F(ProgramEntryTest, TheUnitSystemAndMusicVolumeChosenInOneRunAreThereInTheNext)
{
    m_Script = [this](CProgramApplication& application, int frame) {
        if (frame != 1 || m_Applications.size() != 1)
            return;
        auto click = [&application](const char* window) { application.m_Events->FireGUIEvent(CGUIEvent(window)); };
        click("wndMainMenu/btnSettings");
        application.m_Gui.SetText("wndSettings/cbDisplayUnitSystem", "Metric (kg, m)");
        application.m_Gui.SetScrollPosition("wndSettings/sbMusicVolume", 0.3f);
        click("wndSettings/sbMusicVolume");
        click("wndSettings/btnBack");
    };
    EXPECT_EQ(0, Run({"--StartState", "MainMenu"}));
    EXPECT_EQ(0, Run({"--StartState", "MainMenu"}));

    ASSERT_EQ(2u, m_Applications.size());
    CProgramApplication& second = *m_Applications[1];
    EXPECT_EQ("Metric (kg, m)", second.m_Units.GetSystemName());
    EXPECT_FLOAT_EQ(0.3f, second.m_Sound.GetMusicVolume());
    EXPECT_EQ("Metric (kg, m)", second.m_Gui.GetText("wndSettings/cbDisplayUnitSystem"));
    EXPECT_FLOAT_EQ(0.3f, second.m_Gui.GetScrollPosition("wndSettings/sbMusicVolume"));
}

TEST_F(ProgramEntryTest, SettingsThatCannotBeReadStopTheProgram)
{
    WriteConf("settings.xml", "<Preferences/>");
    EXPECT_EQ(1001, Run({"--StartState", "MainMenu"}));
    EXPECT_TRUE(m_Log->HasContaining(
        "../conf/settings.xml exists but can not be loaded or has a wrong format, remove it, please"));
    EXPECT_TRUE(m_Restarted.empty());
    EXPECT_EQ("<Preferences/>", ReadFile(m_Conf + "/settings.xml")) << "the user's file is left alone";
}

TEST_F(ProgramEntryTest, RecordingIsWrittenAndPlayingSilencesTheCrashHandler)
{
    SetCrashHandlerSilent(false);
    EXPECT_EQ(0, Run({"--StartState", "MainMenu", "--RecordEvents", "session.xml"}));
    EXPECT_FALSE(IsCrashHandlerSilent());
    ASSERT_TRUE(boost::filesystem::exists("session.xml"));
    EXPECT_TRUE(Logged("CSelfTester: Recording events"));

    EXPECT_EQ(0, Run({"--StartState", "MainMenu", "--PlayEvents", "session.xml"}));
    EXPECT_TRUE(IsCrashHandlerSilent());
    EXPECT_TRUE(Logged("CSelfTester: Playing events"));
    SetCrashHandlerSilent(false);

    m_Restarted.clear();
    EXPECT_EQ(1001, Run({"--PlayEvents", "missing.xml"}));
    EXPECT_TRUE(m_Restarted.empty()) << "refused before the window opens";
}

TEST_F(ProgramEntryTest, RunTestEndsWithOneWhenATestFailed)
{
    // A test of the run that fails.
    struct CFailing : test::ISingleTest
    {
        void Run() override { m_Failed = true; }
    };
    EXPECT_EQ(0, Run({"--RunTest"}));
    EXPECT_TRUE(Logged("Single tests: failed 0 out of 0"));
    test::GetSingleTests()["failing"] = std::make_shared<CFailing>();
    EXPECT_EQ(1, Run({"--RunTest"}));
    test::GetSingleTests().clear();
    EXPECT_TRUE(Logged("Single tests: failed 1 out of 1"));
    EXPECT_FALSE(boost::filesystem::exists(m_Conf + "/settings.xml")) << "a test run leaves the settings alone";
}

TEST_F(ProgramEntryTest, TheEndOfAPlayedRecordingIsANormalEnd)
{
    std::ofstream("empty.xml") << "<RecordedEvents><Analog/><Discrete/></RecordedEvents>";
    m_ClickExit = false;
    EXPECT_EQ(0, Run({"--StartState", "MainMenu", "--PlayEvents", "empty.xml"}));
    SetCrashHandlerSilent(false);
    EXPECT_TRUE(Logged("CSelfTester: No more events to play, ending the program"));
    EXPECT_TRUE(Logged("Engine is destroyed"));
    EXPECT_TRUE(boost::filesystem::exists(m_Conf + "/settings.xml"));
}

TEST_F(ProgramEntryTest, DataLogsAreWrittenWhenTheConfigurationAsks)
{
    ChangeConfiguration([](const xml::CNodePtr& sds) { sds->GetChild("Jumper")->GetAttribute("LogData")->SetValue("1"); });
    GetDataLog("main").SetCell("1001_jumper_x", 0.5f, 2.0f);
    EXPECT_EQ(0, Run({"--StartState", "MainMenu"}));
    GetDataLogs().clear();
    EXPECT_NE(std::string::npos, ReadFile("data.log").find("2"));
    EXPECT_NE(std::string::npos, ReadFile("data.csv").find("\"1001_jumper_x\""));
}

TEST(CommandLine, FrameLimitGivesTheMinimumFrameTime)
{
    const struct
    {
        const char* Limit;
        float MinFrameTime;
    } cases[] = {{"30", 1.0f / 30.0f}, {"6000", 1.0f / 6000.0f}, {"0", 0.0f}, {"-5", 0.0f}, {"inf", 0.0f}, {"nan", 0.0f}};
    for (const auto& c : cases) {
        const char* argv[] = {"dravonkel", "--FrameLimit", c.Limit};
        EXPECT_FLOAT_EQ(c.MinFrameTime, CCommandLine(3, argv).GetMinFrameTime()) << c.Limit;
    }
    const char* defaults[] = {"dravonkel"};
    EXPECT_FLOAT_EQ(1.0f / 6000.0f, CCommandLine(1, defaults).GetMinFrameTime());
}

TEST(ForceRenderer, DropsOnlyTheOtherRenderSystemsPlugin)
{
    const struct
    {
        const char* Value;
        std::vector<std::string> Left;
    } cases[] = {
        {"OpenGL", {"/usr/lib/x86_64-linux-gnu/OGRE/RenderSystem_GL", "Codec_STBI"}},
        {"DirectX", {"Codec_STBI", "RenderSystem_Direct3D9"}},
        {"Vulkan", {"/usr/lib/x86_64-linux-gnu/OGRE/RenderSystem_GL", "Codec_STBI", "RenderSystem_Direct3D9"}},
    };
    for (const auto& c : cases) {
        const xml::CNodePtr config =
            ParseElement("<sds><Application><GfxCfg><Plugin Name=\"/usr/lib/x86_64-linux-gnu/OGRE/RenderSystem_GL\"/>"
                         "<Plugin Name=\"Codec_STBI\"/><Plugin Name=\"RenderSystem_Direct3D9\"/></GfxCfg></Application></sds>");
        ForceRenderer(config, c.Value);
        std::vector<std::string> left;
        const xml::CNodePtr gfx = config->GetChild("Application")->GetChild("GfxCfg");
        for (auto it = gfx->GetChildrenBegin("Plugin"); it != gfx->GetChildrenEnd("Plugin"); ++it)
            left.push_back(it->second->GetAttribute("Name")->GetValue());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(c.Left, left) << c.Value;
    }
    // Nothing to drop: no plug-in of that kind is listed.
    const xml::CNodePtr bare = ParseElement("<sds><Application><GfxCfg/></Application></sds>");
    EXPECT_NO_THROW(ForceRenderer(bare, "OpenGL"));
}
