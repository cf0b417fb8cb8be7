#pragma once

namespace physics {

namespace sdk {
class IActor;
}

// A force applied to an actor every step.
class IPhyForce
{
public:
    virtual ~IPhyForce() = default;
    virtual void Apply(sdk::IActor& actor, float scale) = 0;
    // Debug drawing through the world's force-drawing callback.
    virtual void Draw(sdk::IActor& actor) const = 0;
};

} // namespace physics
