#pragma once

#include <typeinfo>

namespace physics {

// The standard bad cast with the system's own text, thrown when the scene makes
// no joint of the kind asked for.
class CBadCast : public std::bad_cast
{
public:
    const char* what() const noexcept override { return "bad cast"; }
};

} // namespace physics
