#pragma once

#include <cstdint>

namespace physics::sdk {

class IShape;

// Told, after a step, about every dynamic shape in a trigger shape: on entering,
// on every step it stays, and on leaving, as the trigger's flags ask.
// `status` is one of the TRIGGER_ON_* values.
class IUserTriggerReport
{
public:
    virtual ~IUserTriggerReport() = default;
    virtual void OnTrigger(IShape& triggerShape, IShape& otherShape, std::uint32_t status) = 0;
};

} // namespace physics::sdk
