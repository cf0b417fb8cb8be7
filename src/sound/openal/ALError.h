#pragma once

#include <string>

namespace wrappers {
namespace details {

// Logs prefix + " " + OpenAL's text for the code as an error. OpenAL errors are
// never thrown: the caller goes on.
void LogALError(const std::string& prefix, int code);

// Reads alGetError; on an error logs it with the prefix. Returns the code.
int CheckALError(const std::string& prefix);

} // namespace details
} // namespace wrappers
