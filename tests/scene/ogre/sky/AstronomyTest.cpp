#include <cmath>

#include <gtest/gtest.h>

#include "scene/ogre/sky/Astronomy.h"
#include "scene/ogre/sky/SolarSystemModel.h"
#include "scene/ogre/sky/UniversalClock.h"

using namespace caelum;

namespace {

const double kDegrees = 180.0 / 3.14159265358979323846;

struct CDate
{
    int year, month, day, hour, minute;
    double second;
};

double JulianDay(const CDate& d)
{
    return GregorianToJulianDay(d.year, d.month, d.day, d.hour, d.minute, d.second);
}

} // namespace

TEST(Astronomy, JulianDaysOfKnownDates)
{
    const struct
    {
        CDate date;
        double julianDay;
    } cases[] = {
        {{2000, 1, 1, 12, 0, 0}, 2451545.0},
        {{1987, 1, 27, 0, 0, 0}, 2446822.5},
        {{1988, 6, 19, 12, 0, 0}, 2447332.0},
        {{1600, 12, 31, 0, 0, 0}, 2305812.5},
        {{2010, 3, 20, 12, 0, 0}, 2455276.0},
        {{2010, 3, 20, 18, 30, 36}, 2455276.0 + (6 * 3600 + 30 * 60 + 36) / 86400.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.julianDay, JulianDay(c.date), 1e-9) << c.date.year << "-" << c.date.month << "-" << c.date.day;
}

TEST(Astronomy, HoursOutOfRangeRollIntoTheNeighbouringDay)
{
    // Local times less a time zone: 01:00 two hours ahead is 23:00 the day before.
    EXPECT_NEAR(JulianDay({2010, 3, 20, 23, 0, 0}), JulianDay({2010, 3, 21, -1, 0, 0}), 1e-9);
    EXPECT_NEAR(JulianDay({2010, 2, 28, 22, 0, 0}), JulianDay({2010, 3, 1, -2, 0, 0}), 1e-9);
    EXPECT_NEAR(JulianDay({2011, 1, 1, 1, 0, 0}), JulianDay({2010, 12, 31, 25, 0, 0}), 1e-9);
}

TEST(Astronomy, SunStandsWhereItDoesInTheSky)
{
    const double equinoxNoon = JulianDay({2010, 3, 20, 12, 0, 0});
    const struct
    {
        const char* what;
        double julianDay, latitude, longitude;
        double elevation, azimuth, tolerance;  // degrees; azimuth < 0: not checked
    } cases[] = {
        {"equinox noon on the equator", equinoxNoon, 0, 0, 90, -1, 3},
        {"equinox noon at 50 N", equinoxNoon, 50, 0, 40, 180, 3},
        {"equinox noon at 50 S", equinoxNoon, -50, 0, 40, 0, 3},
        {"equinox midnight at 50 N", JulianDay({2010, 3, 20, 0, 0, 0}), 50, 0, -40, 0, 3},
        {"equinox sunrise at 50 N", JulianDay({2010, 3, 20, 6, 7, 0}), 50, 0, 0, 90, 3},
        {"equinox noon moves with the longitude", JulianDay({2010, 3, 20, 11, 0, 0}), 50, 15, 40, 180, 3},
        {"summer solstice noon at 47.4 N", JulianDay({2010, 6, 21, 11, 27, 0}), 47.4, 8.5, 66.0, 180, 1},
        {"winter solstice noon at 47.4 N", JulianDay({2010, 12, 21, 11, 27, 0}), 47.4, 8.5, 19.2, 180, 1},
    };
    for (const auto& c : cases) {
        const HorizontalPosition sun = SunPosition(c.julianDay, c.latitude, c.longitude);
        EXPECT_NEAR(c.elevation, sun.elevation * kDegrees, c.tolerance) << c.what;
        if (c.azimuth >= 0) {
            const double off = std::remainder(sun.azimuth * kDegrees - c.azimuth, 360.0);
            EXPECT_NEAR(0.0, off, 2 * c.tolerance) << c.what;
        }
    }
}

TEST(Astronomy, SunDirectionIsUpEastAndMinusZNorth)
{
    SolarSystemModel model;
    model.setObserverLatitude(50);
    model.setObserverLongitude(0);
    // Noon: high in the south (+z). Morning: low in the east (+x).
    const Ogre::Vector3 noon = model.getSunDirection(JulianDay({2010, 3, 20, 12, 7, 0}));
    EXPECT_NEAR(1.0f, noon.length(), 1e-5f);
    EXPECT_GT(noon.y, 0.6f);
    EXPECT_GT(noon.z, 0.7f);
    EXPECT_NEAR(0.0f, noon.x, 0.03f);
    const Ogre::Vector3 morning = model.getSunDirection(JulianDay({2010, 3, 20, 7, 0, 0}));
    EXPECT_GT(morning.x, 0.7f);
    EXPECT_GT(morning.y, 0.0f);
}

TEST(UniversalClock, RunsAtTheTimeScale)
{
    UniversalClock clock;
    clock.setGregorianDateTime(2010, 3, 20, 12, 0, 0);
    clock.setTimeScale(60);
    clock.update(1.0f);
    EXPECT_NEAR(JulianDay({2010, 3, 20, 12, 1, 0}), clock.getJulianDay(), 1e-9);
    // Frame-sized steps for an hour keep the time to the millisecond.
    clock.setGregorianDateTime(2010, 3, 20, 12, 0, 0);
    clock.setTimeScale(1);
    for (int frame = 0; frame < 3600 * 60; ++frame)
        clock.update(1.0f / 60);
    EXPECT_NEAR(3600.0, (clock.getJulianDay() - JulianDay({2010, 3, 20, 12, 0, 0})) * 86400.0, 1e-3);
}

TEST(UniversalClock, AsksForARedrawAtItsUpdateRate)
{
    UniversalClock clock;
    clock.setUpdateRate(0.5f);
    EXPECT_TRUE(clock.update(0.001f)) << "the first update draws the sky";
    EXPECT_FALSE(clock.update(0.2f));
    EXPECT_FALSE(clock.update(0.2f));
    EXPECT_TRUE(clock.update(0.2f));
    EXPECT_FALSE(clock.update(0.2f));
    clock.setGregorianDateTime(2010, 3, 20, 0, 0, 0);
    EXPECT_TRUE(clock.update(0.0f)) << "a new time draws the sky at once";

    clock.setUpdateRate(0.0f);
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_TRUE(clock.update(0.016f));
}
