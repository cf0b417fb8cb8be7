#pragma once

#include <memory>
#include <vector>

#include "core/Node.h"
#include "core/Timing.h"
#include "core/Vector.h"

namespace physics {

class IWindRegion;

// The wind: the regions of the level and their summed air velocity.
class IWindMgr
{
public:
    typedef std::vector<std::shared_ptr<IWindRegion>> CRegions;

    virtual ~IWindMgr() = default;
    virtual CRegions& GetRegions() = 0;
    // Makes a region from its element without adding it to the list.
    virtual std::shared_ptr<IWindRegion> CreateRegion(const xml::CNodePtr& node) = 0;
    // The wind at a world point (m/s).
    virtual sds::CVector GetWind(const sds::CVector& position) = 0;
    virtual void Update(const sds::CTiming& timing) = 0;
};

} // namespace physics
