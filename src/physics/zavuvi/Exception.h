#pragma once

#include <stdexcept>
#include <string>

namespace Zavuvi {

// A physics-editor file that cannot be read or used, with the reason.
class CException : public std::runtime_error
{
public:
    explicit CException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace Zavuvi
