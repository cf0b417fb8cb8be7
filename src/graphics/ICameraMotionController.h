#pragma once

#include "core/Timing.h"

namespace sds {

class ICamera;

// Drives the camera in one script mode: set up once when the mode is chosen,
// then stepped every frame. The level owns the controllers; the camera only
// points at them.
class ICameraMotionController
{
public:
    virtual ~ICameraMotionController() = default;
    virtual void Initialize(ICamera* camera) = 0;
    virtual void Update(ICamera* camera, const CTiming& timing) = 0;
};

} // namespace sds
