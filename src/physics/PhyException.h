#pragma once

#include <stdexcept>
#include <string>

namespace physics {

// A failure of the physics side, with its text.
class CPhyException : public std::runtime_error
{
public:
    explicit CPhyException(const std::string& text) : std::runtime_error(text) {}
};

// What the physics world throws.
class CPhyMgrException : public CPhyException
{
public:
    explicit CPhyMgrException(const std::string& text) : CPhyException(text) {}
};

} // namespace physics
