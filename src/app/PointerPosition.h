#pragma once

#include "core/Vector.h"
#include "core/services/Events.h"

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

    // The input library reports, with every mouse callback of one poll, the
    // motion summed since that poll began: a button callback and the motion
    // callback at the end of the poll repeat what was reported before them.
    // BeginPoll starts a new sum; MoveBySum moves by the part of the sum not
    // applied yet and is false, with no event, when there is none.
    void BeginPoll();
    bool MoveBySum(int sumX, int sumY, int sumZ, unsigned windowWidth, unsigned windowHeight, CAnalogEvent& event);

    CVector Get() const { return CVector(m_Position[0], m_Position[1], m_Position[2]); }

private:
    float m_Position[3] = {0.5f, 0.5f, 0.0f};
    // The part of this poll's summed motion already applied.
    int m_Applied[3] = {0, 0, 0};
};

} // namespace sds
