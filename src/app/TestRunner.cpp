#include "app/TestRunner.h"

#include <fstream>
#include <iostream>

#include <boost/signals2/connection.hpp>

#include "app/ProgramSetup.h"
#include "core/ILogMgr.h"
#include "core/services/IApplication.h"
#include "core/services/IEventMgr.h"

namespace sds {
namespace test {

namespace {

ILogMgr& Log()
{
    return *ILogMgr::GetSingleton();
}

// Runs one step of a test. A failure is logged, a standard exception's text
// first and then `failure`, and marks the test failed; false then.
template <class Test, class Step>
bool RunStep(Test& test, const Step& step, const std::string& failure)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        Log().LogError(e.what());
    } catch (...) {
    }
    Log().LogError(failure);
    test.m_Failed = true;
    return false;
}

template <class Tests>
unsigned CountFailed(const Tests& tests)
{
    unsigned failed = 0;
    for (const auto& test : tests)
        if (test.second->m_Failed)
            ++failed;
    return failed;
}

} // namespace

CSingleTests& GetSingleTests()
{
    static CSingleTests tests;
    return tests;
}

CRunTimeTests& GetRunTimeTests()
{
    static CRunTimeTests tests;
    return tests;
}

CTestRunner::CTestRunner(const CSingleTests& singleTests, const CRunTimeTests& runTimeTests)
    : m_SingleTests(singleTests), m_RunTimeTests(runTimeTests), m_Current(runTimeTests.begin()),
      m_State(STATE_START), m_GlobalTime(0.0f)
{
}

void CTestRunner::OnFrame(const CFrameEvent& event)
{
    m_GlobalTime += event.TimeSinceLastFrame;
    switch (m_State) {
    case STATE_START:
        m_State = STATE_SINGLE_TESTS;
        break;
    case STATE_SINGLE_TESTS:
        RunSingleTests();
        m_State = m_Current != m_RunTimeTests.end() ? STATE_CREATE : STATE_QUIT;
        break;
    case STATE_CREATE:
        CreateCurrent();
        m_State = STATE_RUN;
        break;
    case STATE_RUN:
        StepCurrent(event);
        break;
    case STATE_QUIT:
        IApplication::GetSingleton()->Quit();
        break;
    }
}

void CTestRunner::RunSingleTests()
{
    for (const auto& entry : m_SingleTests) {
        const std::string& name = entry.first;
        ISingleTest& test = *entry.second;
        Log().LogMessage("Running test: " + name);
        if (RunStep(test, [&test] { test.Run(); }, "Exception: " + name))
            Log().LogMessage("Done: " + name);
    }
}

void CTestRunner::CreateCurrent()
{
    const std::string& name = m_Current->first;
    IRunTimeTest& test = *m_Current->second;
    Log().LogMessage("Running test: " + name + " For " + std::to_string(test.m_FramesLeft) + " frames.");
    RunStep(test, [&test] { test.Create(); }, "Exception on Create() in : " + name);
}

void CTestRunner::StepCurrent(const CFrameEvent& event)
{
    const std::string& name = m_Current->first;
    IRunTimeTest& test = *m_Current->second;
    if (test.m_FramesLeft > 0) {
        CTiming timing;
        timing.m_Elapsed = event.TimeSinceLastFrame;
        timing.m_Global = m_GlobalTime;
        const std::string failure = "Exception on Update() in : " + name + " When " +
                                    std::to_string(test.m_FramesLeft) + " frames left.";
        if (RunStep(test, [&test, &timing] { test.Update(timing); }, failure))
            --test.m_FramesLeft;
        else
            test.m_FramesLeft = 0;
        return;
    }

    if (RunStep(test, [&test] { test.Destroy(); }, "Exception on Destroy() in : " + name))
        Log().LogMessage("Done: " + name);
    ++m_Current;
    m_State = m_Current != m_RunTimeTests.end() ? STATE_CREATE : STATE_QUIT;
}

unsigned CTestRunner::LogResults() const
{
    const unsigned singleFailed = CountFailed(m_SingleTests);
    const unsigned runTimeFailed = CountFailed(m_RunTimeTests);
    Log().LogMessage("Single tests: failed " + std::to_string(singleFailed) + " out of " +
                     std::to_string(m_SingleTests.size()));
    Log().LogMessage("Run time tests: failed " + std::to_string(runTimeFailed) + " out of " +
                     std::to_string(m_RunTimeTests.size()));
    return singleFailed + runTimeFailed;
}

ELeakReport ReportLeaks(const std::string& reportFile)
{
    std::ifstream report(reportFile);
    if (!report)
        return ELeakReport::Missing;
    std::string line;
    for (int i = 0; i < 6; ++i)
        if (!std::getline(report, line))
            line.clear();
    if (line == "Congratulations! No memory leaks found!")
        return ELeakReport::Clean;
    std::cerr << "Warning: Memory leaks are found" << std::endl
              << "!!!Memory leaks are found!!!" << std::endl
              << "Press enter" << std::endl;
    return ELeakReport::Leaks;
}

unsigned RunTests(const CApplicationFactory& createApplication)
{
    const xml::CNodePtr config = LoadConfiguration();
    if (!config)
        throw std::runtime_error("Could not load configuration file.");
    const xml::CNodePtr settings = LoadSettings(GetSettingsPath(config));

    CTestRunner runner(GetSingleTests(), GetRunTimeTests());
    {
        bool restart = false;
        const std::shared_ptr<IApplication> application = createApplication(config, settings, &restart);
        if (!application)
            throw std::runtime_error("Application could not be created");
        boost::signals2::scoped_connection frames =
            IEventMgr::GetSingleton()->ConnectFrameEvent([&runner](const CFrameEvent& e) { runner.OnFrame(e); });
        application->Run();
    }
    const unsigned failed = runner.LogResults();
    // Debian's rendering engine keeps no memory report: say so rather than
    // claim a result nobody measured.
    switch (ReportLeaks()) {
    case ELeakReport::Missing:
        Log().LogMessage("No memory leak report is available (the rendering engine wrote no OgreLeaks.log)");
        break;
    case ELeakReport::Clean:
        Log().LogMessage("No memory leaks");
        break;
    case ELeakReport::Leaks:
        break;
    }
    return failed;
}

} // namespace test
} // namespace sds
