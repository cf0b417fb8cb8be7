#include "graphics/ogre/OgreAnimation.h"

namespace wrappers {

void COgreAnimation::AddTime(float seconds)
{
    if (seconds == 0.0f)
        return;
    m_pState->addTime(ClampedStep(m_pState->getTimePosition(), m_pState->getLength(), seconds));
}

float COgreAnimation::GetRelativePosition() const
{
    const float length = m_pState->getLength();
    return length > 0.0f ? m_pState->getTimePosition() / length : 0.0f;
}

void COgreAnimation::SetRelativePosition(float fraction)
{
    // The engine wraps a looping time by the length: a length of 0 would give NaN.
    const float length = m_pState->getLength();
    m_pState->setTimePosition(length > 0.0f ? length * fraction : 0.0f);
}

} // namespace wrappers
