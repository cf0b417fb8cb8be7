#include "core/CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/ILogMgr.h"

namespace sds {

namespace {

constexpr std::size_t kPathBufferSize = 260; // the dump path's limit, with its terminating zero
constexpr const char* kDumpExtension = ".dmp";
constexpr const char* kSupportAddress = "support@dravonkel.example";

constexpr const char* kCrashQuestion =
    "Program has crashed. The most common source of crashes is the hardware not compatible with this software. "
    "Disable shaders in Settings->Video->Use Shaders. You can also try using different renderer or start up "
    "options (try different shortcuts from Tools menu).\nIf you would like to save a diagnostic file press YES?";

const int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

struct CDumpType
{
    const char* Name;
    std::uint32_t Value;
};

const CDumpType kDumpTypes[] = {
    {"MiniDumpNormal", 0},
    {"MiniDumpWithDataSegs", 1},
    {"MiniDumpWithFullMemory", 2},
    {"MiniDumpWithHandleData", 4},
    {"MiniDumpFilterMemory", 8},
    {"MiniDumpScanMemory", 16},
    {"MiniDumpWithUnloadedModules", 32},
    {"MiniDumpWithIndirectlyReferencedMemory", 64},
    {"MiniDumpFilterModulePaths", 128},
    {"MiniDumpWithProcessThreadData", 256},
    {"MiniDumpWithPrivateReadWriteMemory", 512},
    {"MiniDumpWithoutOptionalData", 1024},
};

// Everything the handler reads is prepared beforehand: a signal handler may not
// allocate.
char g_ApplicationName[kPathBufferSize] = "Application";
char g_DumpFileName[kPathBufferSize] = "Application.dmp";
volatile std::uint32_t g_DumpType = 0;
volatile bool g_Silent = false;
volatile sig_atomic_t g_Handling = 0;
bool g_Installed = false;

// Large enough for the handler after a stack overflow.
alignas(16) char g_AlternateStack[64 * 1024];

// A fixed-size text built without allocation.
class CText
{
public:
    CText& operator<<(const char* text)
    {
        while (*text && m_Length + 1 < sizeof(m_Buffer))
            m_Buffer[m_Length++] = *text++;
        m_Buffer[m_Length] = '\0';
        return *this;
    }
    CText& operator<<(long value)
    {
        char digits[24];
        int count = 0;
        const bool negative = value < 0;
        unsigned long rest = negative ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
        do {
            digits[count++] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (negative)
            *this << "-";
        while (count > 0) {
            const char digit[2] = {digits[--count], '\0'};
            *this << digit;
        }
        return *this;
    }
    CText& Hex(std::uintptr_t value)
    {
        static const char kDigits[] = "0123456789abcdef";
        char digits[2 + 2 * sizeof(value) + 1];
        int count = 0;
        do {
            digits[count++] = kDigits[value & 0xf];
            value >>= 4;
        } while (value != 0);
        *this << "0x";
        while (count > 0) {
            const char digit[2] = {digits[--count], '\0'};
            *this << digit;
        }
        return *this;
    }

    const char* Get() const { return m_Buffer; }
    std::size_t Length() const { return m_Length; }

private:
    char m_Buffer[1024] = {};
    std::size_t m_Length = 0;
};

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool WriteText(int fd, const CText& text)
{
    return WriteAll(fd, text.Get(), text.Length());
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    default: return "signal";
    }
}

// What a message box would show: one line on standard error and one in the log.
void Report(const char* text)
{
    if (g_Silent)
        return;
    CText line;
    line << g_ApplicationName << ": ";
    WriteText(STDERR_FILENO, line);
    WriteAll(STDERR_FILENO, text, std::strlen(text));
    WriteAll(STDERR_FILENO, "\n", 1);

    // The log is not safe to use from a signal handler: should it hang on a lock
    // the crash interrupted, the alarm ends the process.
    if (ILogMgr* log = ILogMgr::GetSingleton()) {
        alarm(5);
        log->LogError(text);
        alarm(0);
    }
}

bool CopyFile(int to, const char* path)
{
    const int from = open(path, O_RDONLY);
    if (from < 0)
        return false;
    char buffer[4096];
    bool ok = true;
    for (;;) {
        const ssize_t count = read(from, buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            ok = count == 0;
            break;
        }
        if (!WriteAll(to, buffer, static_cast<std::size_t>(count))) {
            ok = false;
            break;
        }
    }
    close(from);
    return ok;
}

bool WriteDump(int fd, int signal, const siginfo_t* info)
{
    CText header;
    header << "Crash dump of " << g_ApplicationName << "\n"
           << "Signal: " << static_cast<long>(signal) << " (" << SignalName(signal) << ")\n"
           << "Signal code: " << static_cast<long>(info ? info->si_code : 0) << "\n"
           << "Fault address: ";
    header.Hex(reinterpret_cast<std::uintptr_t>(info ? info->si_addr : nullptr));
    header << "\nProcess: " << static_cast<long>(getpid()) << "\n"
           << "Dump type: " << static_cast<long>(g_DumpType) << "\n"
           << "Backtrace:\n";
    if (!WriteText(fd, header))
        return false;

    void* frames[128];
    const int count = backtrace(frames, 128);
    backtrace_symbols_fd(frames, count, fd);

    static const char kMaps[] = "Memory map:\n";
    return WriteAll(fd, kMaps, sizeof(kMaps) - 1) && CopyFile(fd, "/proc/self/maps");
}

void CrashHandlerFilter(int signal, siginfo_t* info, void* /*context*/)
{
    if (g_Handling) {
        // A second fault while handling the first: end at once.
        ::signal(signal, SIG_DFL);
        raise(signal);
        return;
    }
    g_Handling = 1;

    // The dump is written before anything is reported: the report goes through
    // the log, which may fault or hang on what the crash left behind. There is
    // no box to answer, so the dump is always saved.
    CText outcome;
    const int fd = open(g_DumpFileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        outcome << "Failed to create dump file '" << g_DumpFileName << "' (error " << static_cast<long>(errno) << ")";
    } else {
        const bool saved = WriteDump(fd, signal, info);
        const int error = errno;
        close(fd);
        if (saved)
            outcome << "Saved dump file to '" << g_DumpFileName << "'.\nPlease send this file along with the LOG file to "
                    << kSupportAddress << ".\nThank you.";
        else
            outcome << "Failed to save dump file to '" << g_DumpFileName << "' (error " << static_cast<long>(error) << ")";
    }
    Report(kCrashQuestion);
    Report(outcome.Get());

    // End by the same signal: the default action takes over once this returns
    // (a fault repeats, a raised signal is still pending).
    ::signal(signal, SIG_DFL);
    raise(signal);
}

void CopyName(char* target, const char* text, std::size_t length)
{
    std::memcpy(target, text, length);
    target[length] = '\0';
}

} // namespace

void InstallCrashHandler(const std::string& applicationName, bool silent)
{
    const std::string name = applicationName.empty() ? std::string("Application") : applicationName;
    const std::size_t extension = std::strlen(kDumpExtension);
    const std::size_t fitting = std::min(name.size(), kPathBufferSize - 1 - extension);
    CopyName(g_ApplicationName, name.c_str(), std::min(name.size(), kPathBufferSize - 1));
    CopyName(g_DumpFileName, name.c_str(), fitting);
    std::strcat(g_DumpFileName, kDumpExtension);
    g_Silent = silent;

    if (g_Installed)
        return;
    g_Installed = true;

    // The first backtrace loads the unwinder; doing it now keeps the handler
    // from loading a library.
    void* frame[1];
    backtrace(frame, 1);

    stack_t stack = {};
    stack.ss_sp = g_AlternateStack;
    stack.ss_size = sizeof(g_AlternateStack);
    sigaltstack(&stack, nullptr);

    struct sigaction action = {};
    action.sa_sigaction = CrashHandlerFilter;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

void SetCrashDumpType(const std::string& typeName)
{
    std::uint32_t value = 0;
    for (const CDumpType& type : kDumpTypes)
        if (typeName == type.Name)
            value = type.Value;
    g_DumpType = value;
}

std::uint32_t GetCrashDumpType()
{
    return g_DumpType;
}

void SetCrashHandlerSilent(bool silent)
{
    g_Silent = silent;
}

bool IsCrashHandlerSilent()
{
    return g_Silent;
}

std::string GetCrashDumpFileName()
{
    return g_DumpFileName;
}

} // namespace sds
