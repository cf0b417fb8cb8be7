#include "scene/ogre/sky/SolarSystemModel.h"

#include <cmath>

#include "scene/ogre/sky/Astronomy.h"

namespace caelum {

Ogre::Vector3 SolarSystemModel::getSunDirection(double julianDay) const
{
    const HorizontalPosition sun = SunPosition(julianDay, m_Latitude, m_Longitude);
    const double across = std::cos(sun.elevation);
    const double east = across * std::sin(sun.azimuth);
    const double north = across * std::cos(sun.azimuth);
    return Ogre::Vector3(static_cast<float>(east), static_cast<float>(std::sin(sun.elevation)),
                         static_cast<float>(-north));
}

} // namespace caelum
