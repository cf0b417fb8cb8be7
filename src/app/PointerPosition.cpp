#include "app/PointerPosition.h"

#include <algorithm>

namespace sds {

CAnalogEvent CPointerPosition::Move(int dx, int dy, int dz, unsigned windowWidth, unsigned windowHeight)
{
    CAnalogEvent event;
    event.Rel[0] = static_cast<float>(dx) / static_cast<float>(windowWidth);
    event.Rel[1] = static_cast<float>(dy) / static_cast<float>(windowHeight);
    event.Rel[2] = static_cast<float>(dz);
    m_Position[0] = std::min(1.0f, std::max(0.0f, m_Position[0] + event.Rel[0]));
    m_Position[1] = std::min(1.0f, std::max(0.0f, m_Position[1] + event.Rel[1]));
    m_Position[2] += event.Rel[2];
    std::copy(m_Position, m_Position + 3, event.Pos);
    return event;
}

void CPointerPosition::BeginPoll()
{
    std::fill(m_Applied, m_Applied + 3, 0);
}

bool CPointerPosition::MoveBySum(int sumX, int sumY, int sumZ, unsigned windowWidth, unsigned windowHeight,
                                 CAnalogEvent& event)
{
    const int dx = sumX - m_Applied[0];
    const int dy = sumY - m_Applied[1];
    const int dz = sumZ - m_Applied[2];
    if (dx == 0 && dy == 0 && dz == 0)
        return false;
    m_Applied[0] = sumX;
    m_Applied[1] = sumY;
    m_Applied[2] = sumZ;
    event = Move(dx, dy, dz, windowWidth, windowHeight);
    return true;
}

} // namespace sds
