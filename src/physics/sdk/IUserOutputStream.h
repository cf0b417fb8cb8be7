#pragma once

#include <string>

#include "physics/sdk/SdkConstants.h"

namespace physics::sdk {

// Where the layer sends its errors (a dropped non-finite value, a refused
// descriptor) and its other messages.
class IUserOutputStream
{
public:
    virtual ~IUserOutputStream() = default;
    virtual void ReportError(EErrorCode code, const std::string& message, const std::string& file, int line) = 0;
    virtual void Print(const std::string& message) = 0;
};

} // namespace physics::sdk
