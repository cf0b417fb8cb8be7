#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/TestRunner.h"

namespace sds {

class ILogMgr;

// What the entry needs from the layers over the libraries.
struct CProgramServices
{
    // The log for the "LogFile" option.
    std::function<std::shared_ptr<ILogMgr>(const std::string& fileName)> CreateLogMgr;
    // The application, started; null when it has no window.
    test::CApplicationFactory CreateApplication;
};

// The program: command line, log, configuration and user settings, then the
// application and the engine until the frame loop ends (again after a
// restart), then the settings and data logs are written. SIGINT and SIGTERM
// end it as closing the window does. Returns the exit code: 0 normal end; 1
// after "Help", when the XML library cannot start, and when "RunTest" finds
// failed tests; 1001 after an error (a file that cannot be read among them);
// 1002 after an unknown failure. Errors are reported on standard error and in
// the log; the render system's own failures with PROGRAM_CAN_NOT_CONTINUE,
// every other error with its text.
int RunProgram(int argc, const char* const* argv, const CProgramServices& services);

// The text the entry shows for a failure of the render system once the log exists.
extern const char* const PROGRAM_CAN_NOT_CONTINUE;

} // namespace sds
