#include "physics/sdk/bullet/Report.h"

#include <iostream>

#include "physics/sdk/IUserOutputStream.h"

namespace physics::sdk {

void Report(IUserOutputStream* output, EErrorCode code, const std::string& message, const char* file, int line)
{
    std::string name = file;
    const std::string::size_type slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    if (output)
        output->ReportError(code, message, name, line);
    else
        std::cerr << "Physics layer error " << code << ": " << message << " (" << name << ":" << line << ")" << std::endl;
}

} // namespace physics::sdk
