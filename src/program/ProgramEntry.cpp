#include "program/ProgramEntry.h"

#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/CommandLine.h"
#include "app/EditionSelection.h"
#include "app/Engine.h"
#include "app/ProgramSetup.h"
#include "app/QuitSignals.h"
#include "app/SelfTester.h"
#include "core/ConfigPath.h"
#include "core/CrashHandler.h"
#include "core/DataLog.h"
#include "core/ILogMgr.h"
#include "core/Node.h"
#include "core/ResourceMgr.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"
#include "gui/Version.h"
#include "gui/menus/GuiEngine.h"
#include "level/DZLoaderMod.h"

namespace sds {

const char* const PROGRAM_CAN_NOT_CONTINUE =
    "Program can not continue. Most likely source of the problem is incompatible hardware or drivers.\n"
    "You may want to try OpenGL renderer instead of DirectX.\n"
    "For help, see the support page: https://dravonkel.example/support\n"
    "Please, check log file for more details.";

namespace {

// A message box of its own: a line on standard error and in the log.
void ShowMessage(const std::string& caption, const std::string& text)
{
    std::cerr << caption << ": " << text << std::endl;
    if (ILogMgr* log = ILogMgr::GetSingleton())
        log->LogMessage(caption + ": " + text);
}

// Remembers the XML reader's last report of a fault in a file ("Error at
// file <file>, line …"): the reader's exception names the file, the report
// says why it cannot be read.
class CFileFaultMemory
{
public:
    explicit CFileFaultMemory(std::string& lastFault) : m_Previous(xml::MessageHandler)
    {
        xml::MessageHandler = [this, &lastFault](const std::string& text) {
            if (text.compare(0, FAULT_START.size(), FAULT_START) == 0)
                lastFault = text;
            m_Previous(text);
        };
    }
    ~CFileFaultMemory() { xml::MessageHandler = m_Previous; }
    CFileFaultMemory(const CFileFaultMemory&) = delete;
    CFileFaultMemory& operator=(const CFileFaultMemory&) = delete;

    // The file a report names: the text between its start and ", line".
    static std::string GetFile(const std::string& report)
    {
        const std::string::size_type end = report.find(", line ", FAULT_START.size());
        return end == std::string::npos ? std::string() : report.substr(FAULT_START.size(), end - FAULT_START.size());
    }

private:
    static const std::string FAULT_START;
    xml::CMessageHandler m_Previous;
};

const std::string CFileFaultMemory::FAULT_START = "Error at file ";

// What the box says of a failure: the render system's failures keep the
// hardware text; any other failure (a file that cannot be read, above all)
// is shown as it is, with the reader's reason when it is about the same file.
std::string DescribeFailure(const std::exception& failure, const std::string& lastFileFault)
{
    if (dynamic_cast<const IApplication::CRendererException*>(&failure))
        return PROGRAM_CAN_NOT_CONTINUE;
    std::string text = std::string("Program can not continue:\n") + failure.what();
    const std::string file = CFileFaultMemory::GetFile(lastFileFault);
    const std::string::size_type slash = file.find_last_of('/');
    const std::string leaf = slash == std::string::npos ? file : file.substr(slash + 1);
    if (!leaf.empty() && text.find(leaf) != std::string::npos)
        text += "\n" + lastFileFault;
    return text + "\nPlease, check log file for more details.";
}

// Written on every start, whatever the file says.
void WriteConfigSwitches(const CCommandLine& options, const xml::CNodePtr& config)
{
    SetConfigCount(config, "Switches->>ReloadDZs", options.Has("ReloadDZs") ? 1 : 0);
    SetConfigCount(config, "Switches->>DisableInputs", options.Has("DisableInputs") ? 1 : 0);
    SetConfigBool(config, "SoundSystem->>Enabled", !options.Has("NoSound"));
}

// Only the options given change the stored settings.
void WriteSettingsSwitches(const CCommandLine& options, const xml::CNodePtr& settings)
{
    if (options.Has("NoShaders"))
        SetConfigBool(settings, "Graphics->>UseShaders", false);
    if (options.Has("SurfaceObjects"))
        SetConfigFloat(settings, "Graphics->>SurfaceObjects", options.GetFloat("SurfaceObjects"));
    if (options.Has("ForceVisualization"))
        SetConfigFloat(settings, "ForceFields->>ForceVisualization", options.GetFloat("ForceVisualization"));
}

void LogConfiguration(const xml::CNodePtr& config)
{
    std::ostringstream text;
    xml::WriteNode(text, *config, "");
    ILogMgr::GetSingleton()->LogMessage(text.str());
}

void WriteDataLogs()
{
    CDataLog& log = GetDataLog("main");
    std::ofstream text("data.log");
    log.WriteText(text, 0);
    std::ofstream csv("data.csv");
    log.WriteCsv(csv);
    if (!text || !csv)
        ILogMgr::GetSingleton()->LogError("The data logs could not be written to data.log and data.csv");
}

// One pass of the restart loop: an application and an engine until the frame loop ends.
void RunApplication(const CCommandLine& options, const CProgramServices& services, const xml::CNodePtr& config,
                    const xml::CNodePtr& settings, const xml::CNodePtr& recording, bool& restart)
{
    const std::shared_ptr<IApplication> application = services.CreateApplication(config, settings, &restart);
    if (!application)
        throw IApplication::CRendererException("Application was not created.");
    application->SetIcon(GetEditionIcon(config->GetChild("Application")->GetAttribute("Edition", "")));

    auto engine = std::make_unique<CEngine>(options.GetMinFrameTime(), application.get(),
                                            [] { return std::make_shared<CGuiEngine>(); },
                                            options.GetString("StartState"), restart, CFrameLimiter::SystemTimer(),
                                            CDZLoaderMod::Factory());
    restart = false;
    if (options.Has("PlayEvents"))
        SetCrashHandlerSilent(true);

    std::unique_ptr<test::CSelfTester> tester;
    if (options.Has("RecordEvents"))
        tester = std::make_unique<test::CSelfTester>(options.GetString("RecordEvents"));
    else if (recording)
        tester = std::make_unique<test::CSelfTester>(recording);

    engine->Start();
    application->Run();
    engine->Stop();

    // A recording is written as the tester goes.
    tester.reset();
    engine.reset();
}

int Run(int argc, const char* const* argv, const CProgramServices& services, bool& silent,
        std::shared_ptr<ILogMgr>& log, std::string& lastFileFault)
{
    const CCommandLine options(argc, argv);
    if (options.Has("Help")) {
        std::cout << CCommandLine::GetDescription() << std::endl;
        return 1;
    }

    silent = options.Has("Silent");
    SetCrashDumpType(options.GetString("DumpType"));
    SetCrashHandlerSilent(silent);

    log = services.CreateLogMgr(options.GetString("LogFile"));
    log->LogMessage("Version: " + GetVersionString());
    const CFileFaultMemory fileFaults(lastFileFault);

    if (options.Has("Fail"))
        std::raise(SIGSEGV);

    // The test run reads the configuration too.
    CResourceMgr resources;
    if (options.Has("RunTest"))
        return test::RunTests(services.CreateApplication) == 0 ? 0 : 1;

    const xml::CNodePtr config = LoadConfiguration();
    if (!config) {
        log->LogError("Could not load configuration file.");
        std::cerr << "Could not load configuration file." << std::endl;
        return 1;
    }
    SelectEdition(config);

    if (options.Has("Force")) {
        log->LogMessage("Forcing renderer: " + options.GetString("Force"));
        ForceRenderer(config, options.GetString("Force"));
    }

    WriteConfigSwitches(options, config);
    if (GetConfigBool(config, "Application->>OutputConfigs", false))
        LogConfiguration(config);

    const std::string settingsPath = GetSettingsPath(config);
    const xml::CNodePtr settings = LoadSettings(settingsPath);
    WriteSettingsSwitches(options, settings);

    // A recording that cannot be read is reported before the window opens.
    xml::CNodePtr recording;
    if (!options.Has("RecordEvents") && options.Has("PlayEvents")) {
        recording = xml::LoadXmlFile(options.GetString("PlayEvents"));
        if (!recording)
            throw std::runtime_error("Could not load " + options.GetString("PlayEvents"));
    }

    bool restart = false;
    do
        RunApplication(options, services, config, settings, recording, restart);
    while (restart);

    SaveSettings(settingsPath, settings);
    if (GetConfigBool(config, "Jumper->>LogData", false))
        WriteDataLogs();
    return 0;
}

} // namespace

int RunProgram(int argc, const char* const* argv, const CProgramServices& services)
{
    InstallCrashHandler(std::string(argc > 0 ? argv[0] : "dravonkel") + "." + GetVersionString(), false);

    // Ctrl-C and a shutdown end the program as closing its window does.
    const CQuitSignals quitSignals;
    bool silent = false;
    std::shared_ptr<ILogMgr> log;
    std::string lastFileFault;
    try {
        return Run(argc, argv, services, silent, log, lastFileFault);
    } catch (const std::exception& e) {
        std::cerr << "Exception: " << e.what() << std::endl;
        if (log)
            log->LogError(std::string("Exception: ") + e.what());
        if (!silent)
            ShowMessage("Error", log ? DescribeFailure(e, lastFileFault)
                                     : std::string("Program can not continue:\n") + e.what());
        return 1001;
    } catch (...) {
        std::cerr << "An exception has occurred." << std::endl;
        if (log)
            log->LogError("Unknown exception");
        if (!silent)
            ShowMessage("Error", log ? PROGRAM_CAN_NOT_CONTINUE : "Program can not continue: Unknown exception.");
        return 1002;
    }
}

} // namespace sds
