#pragma once

#include <memory>
#include <optional>
#include <utility>

#include "core/Vector.h"

namespace sds {

// Where the level's things are that the camera scripts look at: the jumper,
// the trajectory on show and the landing target. The parts of the level that
// know one of them (the jumper manager, the trajectory viewer, the level
// loader) implement what they know and register with the graphics manager
// while they live; none answers "not there".
class ILevelPositions
{
public:
    virtual ~ILevelPositions() = default;

    // The first jumper's position.
    virtual std::optional<CVector> GetJumperPos() const { return std::nullopt; }
    // Start and finish of the trajectory on show.
    virtual std::optional<std::pair<CVector, CVector>> GetTrajectory() const { return std::nullopt; }
    // The landing target.
    virtual std::optional<CVector> GetTargetPos() const { return std::nullopt; }
};

typedef std::shared_ptr<const ILevelPositions> CLevelPositionsPtr;

} // namespace sds
