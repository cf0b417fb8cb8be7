#pragma once

#include <memory>
#include <string>

#include "core/Timing.h"

namespace sds {

// An instrument the jumper wears, updated every frame: a case on a bone of the
// body whose face shows a dial rendered into a texture.
class IAltimeter : public IUpdate
{
public:
    ~IAltimeter() override = default;
    // The material the dial renders into (what the face of the case shows).
    virtual std::string GetCaption() const = 0;
    // The world height that altitude 0 stands for.
    virtual void SetReferenceHeight(float height) = 0;
    // The altitude shown, metres.
    virtual float GetAltitude() const = 0;
};

typedef std::shared_ptr<IAltimeter> CAltimeterPtr;

} // namespace sds
