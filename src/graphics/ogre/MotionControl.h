#pragma once

#include <bitset>

#include "core/Node.h"

namespace wrappers {

// The user's movement state that the camera manipulators read and the camera
// scripts may change: which ways the camera moves, how fast, and this frame's
// pending turns.
class CMotionControl
{
public:
    // Reads "Manipulation" of the camera configuration; the mouse scale is its
    // multiplier times the user's look sensitivity.
    CMotionControl(const xml::CNodePtr& cameraConfig, bool invertY, float lookSensitivity);

    bool IsMovingAny() const { return m_Moving.any(); }
    // A direction of 8 or more throws std::out_of_range.
    bool IsMovingTo(unsigned direction) const;
    void SetMovingTo(unsigned direction, bool moving);

    std::bitset<8> m_Moving;
    bool m_SlowMovement = false;
    bool m_AcceleratedMovement = false;
    float m_Acceleration = 1.0f;
    float m_AccelerationIncrement;
    float m_MoveScale;   // world units per second
    bool m_InvertFreeY;
    float m_MouseScale;  // degrees per unit of mouse movement
    // Radians: this frame's pending turns about the vertical (X) and the
    // horizontal (Y) axis, and the sums of those applied.
    float m_RotX = 0.0f;
    float m_RotY = 0.0f;
    float m_TotalRotX = 0.0f;
    float m_TotalRotY = 0.0f;
};

} // namespace wrappers
