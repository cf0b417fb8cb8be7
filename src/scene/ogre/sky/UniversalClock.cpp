#include "scene/ogre/sky/UniversalClock.h"

#include "scene/ogre/sky/Astronomy.h"

namespace caelum {

void UniversalClock::setGregorianDateTime(int year, int month, int day, int hour, int minute, double second)
{
    setJulianDay(GregorianToJulianDay(year, month, day, hour, minute, second));
}

void UniversalClock::setJulianDay(double julianDay)
{
    m_Base = julianDay;
    m_Seconds = 0.0;
    m_RedrawDue = true;
}

bool UniversalClock::update(float elapsed)
{
    m_Seconds += static_cast<double>(elapsed) * m_TimeScale;
    m_SinceRedraw += elapsed;
    if (!m_RedrawDue && m_SinceRedraw < m_UpdateRate)
        return false;
    m_RedrawDue = false;
    m_SinceRedraw = 0.0f;
    return true;
}

} // namespace caelum
