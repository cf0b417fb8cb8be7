#pragma once

// Dates and the sun's place in the sky, to well under a degree for the years
// a drop zone is flown in (a low-precision solar ephemeris).

namespace caelum {

// The Julian day of a Gregorian date and time of day in universal time. The
// time may leave its usual range: hour -1 is 23:00 of the day before.
double GregorianToJulianDay(int year, int month, int day, int hour, int minute, double second);

// Where a body stands for an observer: angles in radians, the elevation above
// the horizon and the azimuth from north towards east.
struct HorizontalPosition
{
    double elevation;
    double azimuth;
};

// The sun for an observer at the latitude and longitude (degrees, north and
// east positive) at the Julian day.
HorizontalPosition SunPosition(double julianDay, double latitude, double longitude);

// The local sidereal angle (radians, 0 to 2 pi) at the longitude (degrees, east positive).
double LocalSiderealAngle(double julianDay, double longitude);

} // namespace caelum
