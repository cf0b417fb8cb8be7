#pragma once

#include <string>

#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

class IUserOutputStream;

// Sends a report to the output stream, or to standard error without one.
void Report(IUserOutputStream* output, EErrorCode code, const std::string& message, const char* file, int line);

} // namespace physics::sdk

#define SDK_REPORT(output, code, message) ::physics::sdk::Report((output), (code), (message), __FILE__, __LINE__)
