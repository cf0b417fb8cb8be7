#pragma once

#include <string>

namespace wrappers {
namespace details {

// Logs prefix + " " + OpenAL's text for the code as an error. OpenAL errors are
// never thrown: the caller goes on.
void LogALError(const std::string& prefix, int code);

// Reads alGetError; on an error logs it with the prefix. Returns the code.
// The prefix is a plain text: calls on every frame make no string unless
// something failed.
int CheckALError(const char* prefix);

} // namespace details
} // namespace wrappers
