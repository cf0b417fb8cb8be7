#pragma once

#include "core/Node.h"

namespace sds {

// The camera at touch-down: a "Camera" element with "Type" (an event name of
// a camera mode) and the optional "Pos" and "LookAt".
class ILandingCamera
{
public:
    virtual ~ILandingCamera() = default;
    virtual void SetLandingCamera(const xml::CNodePtr& camera) = 0;
};

} // namespace sds
