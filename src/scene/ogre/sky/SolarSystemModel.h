#pragma once

#include <OGRE/OgreVector.h>

namespace caelum {

// The observer's place on Earth, and where the sun stands for it. Scene
// directions: y up, x east, -z north.
class SolarSystemModel
{
public:
    void setObserverLongitude(float degrees) { m_Longitude = degrees; }
    float getObserverLongitude() const { return m_Longitude; }
    void setObserverLatitude(float degrees) { m_Latitude = degrees; }
    float getObserverLatitude() const { return m_Latitude; }

    // The unit direction towards the sun at the Julian day.
    Ogre::Vector3 getSunDirection(double julianDay) const;

private:
    float m_Longitude = 0.0f;
    float m_Latitude = 45.0f;
};

} // namespace caelum
