#pragma once

#include <string>

namespace physics {

// Through the log manager, or to standard error before there is one.
void LogWarning(const std::string& text);
void LogMessage(const std::string& text);

} // namespace physics
