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

} // namespace sds
