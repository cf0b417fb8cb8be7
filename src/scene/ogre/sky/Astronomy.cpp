#include "scene/ogre/sky/Astronomy.h"

#include <cmath>

namespace caelum {

namespace {

const double kPi = 3.14159265358979323846;
const double kRadiansPerDegree = kPi / 180.0;
// The Julian day of 2000 January 1, 12:00 universal time.
const double kJ2000 = 2451545.0;

double WrapRadians(double angle)
{
    angle = std::fmod(angle, 2.0 * kPi);
    return angle < 0.0 ? angle + 2.0 * kPi : angle;
}

} // namespace

double GregorianToJulianDay(int year, int month, int day, int hour, int minute, double second)
{
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int century = year / 100;
    const int leapCorrection = 2 - century + century / 4;
    const double midnight = std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day +
                            leapCorrection - 1524.5;
    return midnight + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

HorizontalPosition SunPosition(double julianDay, double latitude, double longitude)
{
    const double days = julianDay - kJ2000;
    const double meanLongitude = (280.460 + 0.9856474 * days) * kRadiansPerDegree;
    const double meanAnomaly = (357.528 + 0.9856003 * days) * kRadiansPerDegree;
    const double eclipticLongitude = meanLongitude + (1.915 * std::sin(meanAnomaly) +
                                                      0.020 * std::sin(2.0 * meanAnomaly)) * kRadiansPerDegree;
    const double obliquity = (23.439 - 0.0000004 * days) * kRadiansPerDegree;

    const double rightAscension =
        std::atan2(std::cos(obliquity) * std::sin(eclipticLongitude), std::cos(eclipticLongitude));
    const double declination = std::asin(std::sin(obliquity) * std::sin(eclipticLongitude));
    const double hourAngle = LocalSiderealAngle(julianDay, longitude) - rightAscension;

    const double phi = latitude * kRadiansPerDegree;
    HorizontalPosition position;
    position.elevation = std::asin(std::sin(phi) * std::sin(declination) +
                                   std::cos(phi) * std::cos(declination) * std::cos(hourAngle));
    position.azimuth = WrapRadians(std::atan2(-std::sin(hourAngle), std::tan(declination) * std::cos(phi) -
                                                                        std::sin(phi) * std::cos(hourAngle)));
    return position;
}

double LocalSiderealAngle(double julianDay, double longitude)
{
    const double greenwichHours = 18.697374558 + 24.06570982441908 * (julianDay - kJ2000);
    return WrapRadians((greenwichHours * 15.0 + longitude) * kRadiansPerDegree);
}

} // namespace caelum
