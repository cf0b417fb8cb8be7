#pragma once

#include "physics/ForceAtLocalPos.h"

namespace physics {

// A marker that shows the velocity of a point of a body: drawn as a force,
// ten times that velocity, it pushes nothing.
class CVelocityVector : public CForceAtLocalPos
{
public:
    // Read as a force from `node`, drawn white.
    explicit CVelocityVector(const xml::CNodePtr& node);

    // Takes the point's velocity; `scale` does not enter.
    void Apply(sdk::IActor& actor, float scale) override;
};

} // namespace physics
