#pragma once

#include "app/Events.h"
#include "core/Vector.h"

namespace sds {

// The pointer position the program keeps: x and y across the window from 0 to
// 1, starting in the middle, and the wheel, moved by the mouse's relative
// motion. The devices report motion only, so the position stops at the edges
// while the motion goes on.
class CPointerPosition
{
public:
    // The analog event (200) of a motion in pixels across a window of that
    // size; the wheel's motion counts as it is.
    CAnalogEvent Move(int dx, int dy, int dz, unsigned windowWidth, unsigned windowHeight);

    CVector Get() const { return CVector(m_Position[0], m_Position[1], m_Position[2]); }

private:
    float m_Position[3] = {0.5f, 0.5f, 0.0f};
};

} // namespace sds
