#include <gtest/gtest.h>

#include <signal.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/CrashHandler.h"
#include "core/ILogMgr.h"
#include "support/TempDir.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A log that survives the crash of the process writing it.
class CFileLogMgr : public sds::ILogMgr
{
public:
    explicit CFileLogMgr(const std::string& path) : m_File(path) {}
    void LogMessage(const std::string& text) override { m_File << text << std::endl; }
    void LogError(const std::string& text) override { LogMessage("Error: " + text); }
    void LogWarning(const std::string& text) override { LogMessage("Warning: " + text); }

private:
    std::ofstream m_File;
};

// A real fault at a known address.
__attribute__((noinline)) void WriteThrough(volatile std::uintptr_t address)
{
    *reinterpret_cast<volatile int*>(address) = 1;
}

// A log broken by the crash: using it faults again.
class CFaultingLogMgr : public sds::ILogMgr
{
public:
    void LogMessage(const std::string&) override { WriteThrough(0x20); }
    void LogError(const std::string& text) override { LogMessage(text); }
    void LogWarning(const std::string& text) override { LogMessage(text); }
};

void Crash(const std::string& name, bool silent, const std::string& logFile)
{
    CFileLogMgr log(logFile);
    sds::InstallCrashHandler(name, silent);
    WriteThrough(0x10);
}

// Death tests fork: the child writes into the parent's temporary folder.
class CrashHandler : public ::testing::Test
{
protected:
    CTempDir m_Dir;
};

} // namespace

TEST_F(CrashHandler, FaultLeavesADumpWithBacktraceAndReports)
{
    const std::string name = m_Dir.File("dravonkel.1.2.863.0");
    EXPECT_EXIT(Crash(name, false, m_Dir.File("log.txt")), ::testing::KilledBySignal(SIGSEGV),
                "Program has crashed\\. .*Saved dump file to '.*dravonkel\\.1\\.2\\.863\\.0\\.dmp'\\.");

    const std::string dump = ReadFile(name + ".dmp");
    EXPECT_NE(std::string::npos, dump.find("Signal: 11 (SIGSEGV)\n")) << dump;
    EXPECT_NE(std::string::npos, dump.find("Fault address: 0x10\n")) << dump;
    const std::string::size_type backtrace = dump.find("Backtrace:\n");
    ASSERT_NE(std::string::npos, backtrace);
    EXPECT_NE(std::string::npos, dump.find("test_core", backtrace)) << "frames of the program";
    EXPECT_NE(std::string::npos, dump.find("Memory map:\n", backtrace));

    // The same texts reach the log.
    const std::string log = ReadFile(m_Dir.File("log.txt"));
    EXPECT_EQ(0u, log.find("Error: Program has crashed. The most common source of crashes")) << log;
    EXPECT_NE(std::string::npos, log.find("Error: Saved dump file to '" + name + ".dmp'.\nPlease send this file"));
}

TEST_F(CrashHandler, SilentShowsNothingButStillDumps)
{
    const std::string name = m_Dir.File("quiet");
    EXPECT_EXIT(Crash(name, true, m_Dir.File("log.txt")), ::testing::KilledBySignal(SIGSEGV), "^$");
    EXPECT_NE(std::string::npos, ReadFile(name + ".dmp").find("Backtrace:"));
    EXPECT_EQ("", ReadFile(m_Dir.File("log.txt")));
}

TEST_F(CrashHandler, DumpIsSavedBeforeTheLogIsTouched)
{
    const std::string name = m_Dir.File("broken-log");
    EXPECT_EXIT(
        {
            CFaultingLogMgr log;
            sds::InstallCrashHandler(name, false);
            WriteThrough(0x10);
        },
        ::testing::KilledBySignal(SIGSEGV), "");
    EXPECT_NE(std::string::npos, ReadFile(name + ".dmp").find("Fault address: 0x10\n"));
}

TEST_F(CrashHandler, RaisedSignalAndUnwritableDump)
{
    const std::string missingFolder = m_Dir.File("no/such/folder/app");
    EXPECT_EXIT(
        {
            sds::InstallCrashHandler(missingFolder, false);
            raise(SIGABRT);
        },
        ::testing::KilledBySignal(SIGABRT), "Failed to create dump file '.*no/such/folder/app\\.dmp' \\(error 2\\)");
}

TEST(CrashHandlerSettings, DumpTypeNames)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"MiniDumpNormal", 0}, {"MiniDumpWithDataSegs", 1}, {"MiniDumpWithFullMemory", 2},
        {"MiniDumpWithHandleData", 4}, {"MiniDumpFilterMemory", 8}, {"MiniDumpScanMemory", 16},
        {"MiniDumpWithUnloadedModules", 32}, {"MiniDumpWithIndirectlyReferencedMemory", 64},
        {"MiniDumpFilterModulePaths", 128}, {"MiniDumpWithProcessThreadData", 256},
        {"MiniDumpWithPrivateReadWriteMemory", 512}, {"MiniDumpWithoutOptionalData", 1024},
        {"minidumpwithfullmemory", 0}, {"", 0}, {"Full", 0},
    };
    for (const auto& c : cases) {
        sds::SetCrashDumpType("MiniDumpScanMemory");
        sds::SetCrashDumpType(c.first);
        EXPECT_EQ(c.second, sds::GetCrashDumpType()) << c.first;
    }
    sds::SetCrashDumpType("MiniDumpNormal");
}

// Installing changes the process's signal handlers: each case runs in a child.
static int CheckDumpFileName(const std::string& name, const std::string& expected)
{
    sds::InstallCrashHandler(name, true);
    return sds::GetCrashDumpFileName() == expected && sds::IsCrashHandlerSilent() ? 0 : 1;
}

TEST_F(CrashHandler, DumpFileName)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "Application.dmp"},
        {"./dravonkel.1.2.863.0", "./dravonkel.1.2.863.0.dmp"},
        // Too long for the 260-character dump path: cut, never overflowing.
        {std::string(400, 'n'), std::string(255, 'n') + ".dmp"},
        {std::string(255, 'n'), std::string(255, 'n') + ".dmp"},
        {std::string(256, 'n'), std::string(255, 'n') + ".dmp"},
    };
    for (const auto& c : cases)
        EXPECT_EXIT(std::exit(CheckDumpFileName(c.first, c.second)), ::testing::ExitedWithCode(0), "")
            << c.first.size();
}
