#pragma once

#include <sstream>
#include <string>

namespace sds {

// An object's address as a stream writes a pointer: the identity the rig's
// parts log their lifetime with.
inline std::string IdentityOf(const void* object)
{
    std::ostringstream text;
    text << object;
    return text.str();
}

} // namespace sds
