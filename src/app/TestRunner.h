#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/Node.h"
#include "core/Timing.h"
#include "core/services/Events.h"

namespace sds {

class IApplication;

namespace test {

// A test run once, in the first frames of a test run.
class ISingleTest
{
public:
    virtual ~ISingleTest() = default;
    virtual void Run() = 0;

    // Set by the test when it fails.
    bool m_Failed = false;
};

// A test that lives for a number of frames: created, updated once a frame,
// destroyed.
class IRunTimeTest
{
public:
    explicit IRunTimeTest(unsigned frames) : m_FramesLeft(frames) {}
    virtual ~IRunTimeTest() = default;
    virtual void Update(const CTiming& timing) = 0;
    virtual void Create() = 0;
    virtual void Destroy() = 0;

    unsigned m_FramesLeft;
    bool m_Failed = false;
};

typedef std::map<std::string, std::shared_ptr<ISingleTest>> CSingleTests;
typedef std::map<std::string, std::shared_ptr<IRunTimeTest>> CRunTimeTests;

// The registries, by test name; a test adds itself. Empty unless a test does.
CSingleTests& GetSingleTests();
CRunTimeTests& GetRunTimeTests();

// Runs the registered tests from the frame events of a running application:
// nothing on the first frame, then every single test, then each run-time test
// for its frames, then asks the application to quit. A failing test is logged
// and the run goes on.
class CTestRunner
{
public:
    CTestRunner(const CSingleTests& singleTests, const CRunTimeTests& runTimeTests);

    void OnFrame(const CFrameEvent& event);

    // Logs "Single tests: failed <n> out of <m>" and the same for the run-time
    // tests; returns the number of failed tests.
    unsigned LogResults() const;

private:
    enum EState
    {
        STATE_START,
        STATE_SINGLE_TESTS,
        STATE_CREATE,
        STATE_RUN,
        STATE_QUIT,
    };

    void RunSingleTests();
    void CreateCurrent();
    void StepCurrent(const CFrameEvent& event);

    const CSingleTests& m_SingleTests;
    const CRunTimeTests& m_RunTimeTests;
    CRunTimeTests::const_iterator m_Current;
    EState m_State;
    float m_GlobalTime;
};

// What the rendering engine's memory report says after a run.
enum class ELeakReport
{
    // There is no report: this build of the rendering engine writes none.
    Missing,
    Clean,
    // Leaks are listed; the error stream was warned.
    Leaks,
};
ELeakReport ReportLeaks(const std::string& reportFile = "OgreLeaks.log");

typedef std::function<std::shared_ptr<IApplication>(const xml::CNodePtr& config, const xml::CNodePtr& settings,
                                                    bool* restart)>
    CApplicationFactory;

// The "RunTest" driver: loads the configuration and the settings as the
// program does, runs the registered tests in a new application and returns
// the number that failed. Needs the log and resource services.
unsigned RunTests(const CApplicationFactory& createApplication);

} // namespace test
} // namespace sds
