#pragma once

#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"

namespace physics {

// A box of air moving at its own velocity. Its trigger actor's user data is
// the region, so that a body in the box can ask it for the wind.
class IWindRegion : public sds::IUpdate
{
public:
    // The region's air velocity at a world point (m/s).
    virtual sds::CVector GetWind(const sds::CVector& position) = 0;
    // Reads the region's settings again.
    virtual void Load(const xml::CNodePtr& node) = 0;
    virtual xml::CNodePtr GetNode() const = 0;
};

} // namespace physics
