#pragma once

#include <cstdint>
#include <string>

namespace sds {

// The crash handler writes "<application name>.dmp" when the process receives a
// fatal signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT: faults and exceptions
// that reach no handler): the signal, the fault address, a backtrace and the
// memory map. Unless silent it reports the crash and the dump's fate on standard
// error and in the log. The process then ends by the same signal.
//
// Installed first thing at start-up; the name, type and silent flag may change
// at any time before a crash. An empty name gives "Application". A name too
// long for the dump path (259 characters with ".dmp") is cut to fit.
void InstallCrashHandler(const std::string& applicationName, bool silent);

// The dump type by its name ("MiniDumpNormal" 0, "MiniDumpWithDataSegs" 1,
// "MiniDumpWithFullMemory" 2, ... "MiniDumpWithoutOptionalData" 1024); a name
// outside the table gives 0. The type is recorded in the dump.
void SetCrashDumpType(const std::string& typeName);
std::uint32_t GetCrashDumpType();

// Silent: no message at all, the dump is still written.
void SetCrashHandlerSilent(bool silent);
bool IsCrashHandlerSilent();

// The file the next crash writes.
std::string GetCrashDumpFileName();

} // namespace sds
