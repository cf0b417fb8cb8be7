#pragma once

#include "core/Timing.h"

namespace physics {

// The jumper's physical body as the world drives it. The body's own
// operations (its phases, its pose and motion) are declared with the body.
class IPhyJumper
{
public:
    virtual ~IPhyJumper() = default;
    // Once every fixed step: after the step's contacts and triggers have been
    // handed out, before the moving bodies and the windsocks.
    virtual void Update(const sds::CTiming& step) = 0;
    // The current phase's forces, for the debug view.
    virtual void DrawForces() = 0;
};

} // namespace physics
