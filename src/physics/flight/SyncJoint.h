#pragma once

#include "physics/flight/ISyncObj.h"

namespace physics {

// The common base of the synchronisers of the jumper's bodies.
class CSyncJoint : public sds::ISyncObj
{
};

} // namespace physics
