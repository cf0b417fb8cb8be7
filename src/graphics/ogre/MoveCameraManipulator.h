#pragma once

#include "graphics/ogre/CameraManipulator.h"

namespace wrappers {

class COgreCamera;

// A manipulator that works on the camera: the user's look and move keys.
class CMoveCameraManipulator : public CCameraManipulator
{
public:
    explicit CMoveCameraManipulator(COgreCamera& camera) : m_Camera(camera) {}

    // The mouse look and the move keys, ignored while the camera's input is off.
    void OnEvent(const sds::CInternalEvent& event) override;

protected:
    // Back to 1.0 while no move key is held; one increment a frame while
    // moving with acceleration on.
    void UpdateAcceleration();

    COgreCamera& m_Camera;
};

} // namespace wrappers
