#pragma once

#include <cstdint>

#include "physics/flight/ISyncObj.h"

namespace physics {

// The common base of the synchronisers of the jumper's bodies. A sync holds
// actors of the world it was made in; once that world is gone, so are they,
// and a sync that ends then leaves them alone.
class CSyncJoint : public sds::ISyncObj
{
protected:
    CSyncJoint();
    bool IsWorldAlive() const;

private:
    std::uint64_t m_World; // the serial of the world it was made in
};

} // namespace physics
