#pragma once

#include <memory>

namespace physics {

class CPhyRagDoll;

namespace PhyJumperStates {

// The jumper's body after touch-down: rag dolls of the jumper, the canopy and,
// unless it is left out, the slider.
class ILandingState
{
public:
    virtual std::shared_ptr<CPhyRagDoll> GetCanopyRagDoll() const = 0;
    virtual std::shared_ptr<CPhyRagDoll> GetJumperRagDoll() const = 0;
    // Empty when the slider is left out.
    virtual std::shared_ptr<CPhyRagDoll> GetSliderRagDoll() const = 0;
    // 1: a stand-up landing (the canopy collapses under its own forces and the
    // jumper's rag doll goes loose); anything else: a plain one.
    virtual void SetLandingMode(int mode) = 0;

protected:
    ~ILandingState() = default;
};

} // namespace PhyJumperStates
} // namespace physics
