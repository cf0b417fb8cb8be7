#include "graphics/ogre/MoveCameraManipulator.h"

#include <OGRE/OgreMath.h>

#include "graphics/ogre/OgreCamera.h"

namespace wrappers {

namespace {

// The movement setting that each of the move keys holds while pressed.
bool* MoveSetting(COgreCamera& camera, int code)
{
    switch (code) {
    case sds::CameraEvents::camera_slow_movement: return &camera.m_SlowMovement;
    case sds::CameraEvents::camera_accelerated_movement: return &camera.m_AcceleratedMovement;
    default: return nullptr;
    }
}

int MoveDirection(int code)
{
    switch (code) {
    case sds::CameraEvents::camera_forward: return sds::ICamera::MOVING_FORWARD;
    case sds::CameraEvents::camera_back: return sds::ICamera::MOVING_BACKWARDS;
    case sds::CameraEvents::camera_right: return sds::ICamera::MOVING_RIGHT;
    case sds::CameraEvents::camera_left: return sds::ICamera::MOVING_LEFT;
    case sds::CameraEvents::camera_up: return sds::ICamera::MOVING_UP;
    case sds::CameraEvents::camera_down: return sds::ICamera::MOVING_DOWN;
    case sds::CameraEvents::camera_horizontal_forward: return sds::ICamera::CAMERA_HORIZONTAL_FORWARD;
    case sds::CameraEvents::camera_horizontal_back: return sds::ICamera::CAMERA_HORIZONTAL_BACK;
    default: return -1;
    }
}

} // namespace

void CMoveCameraManipulator::OnEvent(const sds::CInternalEvent& event)
{
    if (!m_Camera.IsInputEnabled())
        return;
    const bool on = event.On != 0;
    // The mouse's movement turns the camera by that many times the mouse scale in degrees.
    const float turn = Ogre::Math::DegreesToRadians(event.Change * m_Camera.m_MouseScale);
    if (event.Code == sds::CameraEvents::camera_yaw) {
        m_Camera.m_RotX = on ? -turn : 0.0f;
    } else if (event.Code == sds::CameraEvents::camera_pitch) {
        m_Camera.m_RotY = on ? (m_Camera.m_InvertFreeY ? -turn : turn) : 0.0f;
    } else if (bool* setting = MoveSetting(m_Camera, event.Code)) {
        *setting = on;
    } else if (MoveDirection(event.Code) >= 0) {
        m_Camera.SetMovingTo(static_cast<unsigned>(MoveDirection(event.Code)), on);
    }
}

void CMoveCameraManipulator::UpdateAcceleration()
{
    if (!m_Camera.IsMovingAny())
        m_Camera.m_Acceleration = 1.0f;
    else if (m_Camera.m_AcceleratedMovement)
        m_Camera.m_Acceleration += m_Camera.m_AccelerationIncrement;
}

} // namespace wrappers
