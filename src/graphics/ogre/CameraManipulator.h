#pragma once

#include "core/Timing.h"
#include "core/Vector.h"
#include "core/services/Events.h"

namespace wrappers {

// Moves the camera's node chain the way one camera mode wants. This base is
// the manipulator of camera_none: it does nothing and has no chain.
class CCameraManipulator
{
public:
    virtual ~CCameraManipulator() = default;

    // Whether the mode rides on an object.
    virtual bool IsAttached() const { return false; }
    virtual void LookAt(const sds::CVector& point) {}
    virtual void Update(const sds::CTiming& timing) {}
    virtual void OnEvent(const sds::CInternalEvent& event) {}
    // Takes the manipulator's nodes out of the scene and lets go of what it
    // follows. The camera calls it when it drops the manipulator; one dropped
    // from inside its own Update (a script switching modes) lives on until
    // that returns, with nothing left to move.
    virtual void Release() {}
};

} // namespace wrappers
