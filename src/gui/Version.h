#pragma once

#include <string>

namespace sds {

// The program's version, "1.2.863.0".
const std::string& GetVersionString();

} // namespace sds
