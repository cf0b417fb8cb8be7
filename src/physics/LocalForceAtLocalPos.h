#pragma once

#include "physics/PhyForce.h"

namespace physics {

// A force in the actor's axes at a point in the actor's frame.
class CLocalForceAtLocalPos : public CPhyForce
{
public:
    explicit CLocalForceAtLocalPos(const xml::CNodePtr& node) : CPhyForce(node) {}

    // Pushes with the force times `scale` for the next step; the force kept is unchanged.
    void Apply(sdk::IActor& actor, float scale) override;
    void Draw(sdk::IActor& actor) const override;
};

} // namespace physics
