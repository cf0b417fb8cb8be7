// The test runner: the order of a test run frame by frame, its failures and
// its result.

#include <fstream>

#include <gtest/gtest.h>

#include "AppFixture.h"
#include "app/TestRunner.h"
#include "support/DiskResourceMgr.h"
#include "support/TempDir.h"

using namespace sds;
using namespace sds::test;

namespace {

// A test that logs what the runner does to it and fails where it is told to.
class CLoggingTest : public ISingleTest, public IRunTimeTest
{
public:
    CLoggingTest(std::vector<std::string>& calls, const std::string& throwIn = "", unsigned frames = 0)
        : IRunTimeTest(frames), m_Calls(calls), m_ThrowIn(throwIn)
    {
    }

    void Run() override { Call("Run"); }
    void Update(const CTiming& timing) override { Call("Update " + std::to_string(timing.m_Elapsed)); }
    void Create() override { Call("Create"); }
    void Destroy() override { Call("Destroy"); }

private:
    void Call(const std::string& what)
    {
        m_Calls.push_back(what);
        if (what.compare(0, m_ThrowIn.size(), m_ThrowIn) == 0 && !m_ThrowIn.empty())
            throw std::runtime_error(what + " failed");
    }

    std::vector<std::string>& m_Calls;
    std::string m_ThrowIn;
};

class TestRunnerTest : public CAppFixture
{
protected:
    void Frames(CTestRunner& runner, int count)
    {
        for (int i = 0; i < count; ++i) {
            CFrameEvent frame;
            frame.TimeSinceLastFrame = 0.5f;
            runner.OnFrame(frame);
        }
    }

    std::vector<std::string> m_Calls;
};

} // namespace

TEST_F(TestRunnerTest, WithoutTestsQuitsOnTheThirdFrameWithNothingFailed)
{
    CSingleTests single;
    CRunTimeTests runTime;
    CTestRunner runner(single, runTime);
    Frames(runner, 2);
    EXPECT_FALSE(m_App.m_QuitCalled);
    Frames(runner, 1);
    EXPECT_TRUE(m_App.m_QuitCalled);
    EXPECT_EQ(0u, runner.LogResults());
    EXPECT_TRUE(m_Log.Has("Single tests: failed 0 out of 0"));
    EXPECT_TRUE(m_Log.Has("Run time tests: failed 0 out of 0"));
}

TEST_F(TestRunnerTest, RunsSingleTestsThenEachRunTimeTestForItsFrames)
{
    CSingleTests single = {{"a", std::make_shared<CLoggingTest>(m_Calls)},
                           {"b", std::make_shared<CLoggingTest>(m_Calls, "Run")}};
    CRunTimeTests runTime = {{"long", std::make_shared<CLoggingTest>(m_Calls, "", 2)},
                             {"none", std::make_shared<CLoggingTest>(m_Calls, "", 0)}};
    CTestRunner runner(single, runTime);

    Frames(runner, 1);
    EXPECT_TRUE(m_Calls.empty()) << "the first frame runs nothing";
    Frames(runner, 8);
    EXPECT_EQ((std::vector<std::string>{"Run", "Run", "Create", "Update 0.500000", "Update 0.500000", "Destroy",
                                        "Create", "Destroy"}),
              m_Calls);
    EXPECT_TRUE(m_App.m_QuitCalled);

    for (const char* line : {"Running test: a", "Done: a", "Running test: b", "Error: Run failed", "Error: Exception: b",
                             "Running test: long For 2 frames.", "Done: long", "Running test: none For 0 frames.",
                             "Done: none"})
        EXPECT_TRUE(m_Log.Has(line)) << line;
    EXPECT_FALSE(m_Log.Has("Done: b"));
    EXPECT_EQ(1u, runner.LogResults());
    EXPECT_TRUE(m_Log.Has("Single tests: failed 1 out of 2"));
    EXPECT_TRUE(m_Log.Has("Run time tests: failed 0 out of 2"));
}

TEST_F(TestRunnerTest, AFailingUpdateEndsItsTestOnTheNextFrame)
{
    CSingleTests single;
    CRunTimeTests runTime = {{"shaky", std::make_shared<CLoggingTest>(m_Calls, "Update", 5)}};
    CTestRunner runner(single, runTime);
    Frames(runner, 5);
    EXPECT_EQ((std::vector<std::string>{"Create", "Update 0.500000", "Destroy"}), m_Calls);
    EXPECT_TRUE(m_Log.Has("Error: Exception on Update() in : shaky When 5 frames left."));
    EXPECT_TRUE(m_Log.Has("Done: shaky"));
    EXPECT_EQ(1u, runner.LogResults());
}

TEST_F(TestRunnerTest, FailuresOfCreateAndDestroyAreCounted)
{
    CSingleTests single;
    CRunTimeTests runTime = {{"a", std::make_shared<CLoggingTest>(m_Calls, "Create", 1)},
                             {"b", std::make_shared<CLoggingTest>(m_Calls, "Destroy", 0)}};
    CTestRunner runner(single, runTime);
    Frames(runner, 8);
    EXPECT_EQ((std::vector<std::string>{"Create", "Update 0.500000", "Destroy", "Create", "Destroy"}), m_Calls)
        << "a test goes on after a failed Create";
    EXPECT_TRUE(m_Log.Has("Error: Exception on Create() in : a"));
    EXPECT_TRUE(m_Log.Has("Error: Exception on Destroy() in : b"));
    EXPECT_FALSE(m_Log.Has("Done: b"));
    EXPECT_EQ(2u, runner.LogResults());
    EXPECT_TRUE(m_App.m_QuitCalled);
}

TEST(ReportLeaks, TellsAMissingReportFromACleanOneAndWarnsOfLeaks)
{
    CTempDir dir;
    EXPECT_EQ(ELeakReport::Missing, ReportLeaks(dir.File("missing.log")));

    const std::string clean = dir.File("clean.log");
    std::ofstream(clean) << "1\n2\n3\n4\n5\nCongratulations! No memory leaks found!\n";
    EXPECT_EQ(ELeakReport::Clean, ReportLeaks(clean));

    const std::string leaky = dir.File("leaky.log");
    std::ofstream(leaky) << "1\n2\n3\n4\n5\n12 leaks\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(ELeakReport::Leaks, ReportLeaks(leaky));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("!!!Memory leaks are found!!!"));
}

// The whole run: configuration, an application whose frame loop drives the
// runner, and the number of failed tests as its result.
TEST(RunTests, ReportsTheFailuresOfTheRegisteredTests)
{
    // Owns its event manager, as the program's application does; its frame
    // loop runs until quit.
    class CLoopingApplication : public CFakeApplication
    {
    public:
        explicit CLoopingApplication(const xml::CNodePtr& config) : CFakeApplication(config)
        {
            m_Events = std::make_unique<CTestEventMgr>();
        }
        ~CLoopingApplication() override { m_Events.reset(); }
        void Run() override
        {
            for (int frame = 0; frame < 100 && !m_QuitCalled; ++frame)
                m_Events->FireFrameEvent(CFrameEvent());
        }
        std::unique_ptr<CTestEventMgr> m_Events;
    };

    CCapturingLogMgr log;
    CDiskResourceMgr resources;
    std::vector<std::string> calls;
    GetSingleTests()["fails"] = std::make_shared<CLoggingTest>(calls, "Run");
    const auto createApplication = [](const xml::CNodePtr& config, const xml::CNodePtr& settings, bool*) {
        EXPECT_EQ("Settings", settings->GetName());
        return std::make_shared<CLoopingApplication>(config);
    };
    EXPECT_EQ(1u, RunTests(createApplication));
    GetSingleTests().clear();
    EXPECT_TRUE(log.Has("Single tests: failed 1 out of 1"));
    EXPECT_TRUE(log.Has("No memory leak report is available (the rendering engine wrote no OgreLeaks.log)"));
    EXPECT_FALSE(log.Has("No memory leaks")) << "nobody measured it";
}
