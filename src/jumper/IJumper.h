#pragma once

#include "core/Timing.h"
#include "core/Vector.h"
#include "core/services/Events.h"

namespace sds {

// The jumper as the level's jumper manager sees it: updated once a frame and
// handed the named events meant for it. The jumper subsystem widens this.
class IJumper : public IUpdate
{
public:
    ~IJumper() override = default;
    virtual void OnDiscreteEvent(const CInternalEvent& event) = 0;
    virtual void OnAnalogEvent(const CInternalEvent& event) = 0;
    // Where the jumper is in the world.
    virtual CVector GetPos() const = 0;
};

} // namespace sds
