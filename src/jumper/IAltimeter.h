#pragma once

#include <memory>
#include <string>

#include "core/Timing.h"

namespace sds {

// An instrument the jumper wears, updated every frame.
class IAltimeter : public IUpdate
{
public:
    ~IAltimeter() override = default;
    // The text its dial shows.
    virtual std::string GetCaption() const = 0;
};

typedef std::shared_ptr<IAltimeter> CAltimeterPtr;

} // namespace sds
