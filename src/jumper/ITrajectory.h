#pragma once

#include <string>

#include "core/Node.h"
#include "core/Vector.h"

namespace sds {

// A jump's recorded flight path as the jump log keeps it.
class ITrajectory
{
public:
    virtual ~ITrajectory() = default;
    // The first and the last sample's position; zero when nothing was recorded.
    virtual CVector GetStartPos() const = 0;
    virtual CVector GetFinishPos() const = 0;
    // The statistics node "TrajectoryInfo" with its "Info" children.
    virtual xml::CNodePtr GetInfo() const = 0;
    // Writes the samples to the file; a failure is logged or thrown.
    virtual void Save(const std::string& fileName) const = 0;
};

} // namespace sds
