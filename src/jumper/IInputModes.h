#pragma once

#include <cstdint>
#include <string>

namespace sds {

// The engine's stack of input modes, as the jumper's states use it: each phase
// of the jump has bindings of its own.
class IInputModes
{
public:
    virtual ~IInputModes() = default;
    virtual void PushMode(const std::string& name) = 0;
    virtual void PopMode() = 0;
    // True while a binding of that event code is held in the current mode.
    virtual bool IsEventHeld(std::int32_t code) const = 0;
};

} // namespace sds
