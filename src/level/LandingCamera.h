#pragma once

#include "jumper/ILandingCamera.h"

namespace sds {

// Puts the camera where a "Camera" element says at touch-down: "Pos" and
// "LookAt" are set before and again after the switch to the mode named by
// "Type", so that they hold in the new mode; without "Type" the mode stays.
// Does nothing while there is no camera.
class CLandingCamera : public ILandingCamera
{
public:
    void SetLandingCamera(const xml::CNodePtr& camera) override;
};

} // namespace sds
