#pragma once

#include <cstdint>
#include <string>

namespace physics {

// ORs the value of a body or actor flag named as in the configuration
// ("NX_BF_DISABLE_GRAVITY", "NX_AF_DISABLE_COLLISION", ...) into `flags`. An
// unknown name logs the warning "Unsupported physics flag: " and the name and
// leaves the flags as they are.
void AddFlagByName(std::uint32_t& flags, const std::string& name);

} // namespace physics
