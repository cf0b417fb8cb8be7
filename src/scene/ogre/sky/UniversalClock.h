#pragma once

namespace caelum {

// The sky's time: a Julian day in universal time that runs at a multiple of
// real time, and the rhythm in which the sky is redrawn.
class UniversalClock
{
public:
    void setGregorianDateTime(int year, int month, int day, int hour, int minute, double second);
    void setJulianDay(double julianDay);
    double getJulianDay() const { return m_Base + m_Seconds / 86400.0; }

    // Sky seconds per real second.
    void setTimeScale(float scale) { m_TimeScale = scale; }
    float getTimeScale() const { return m_TimeScale; }
    // Real seconds between two redraws of the sky; 0 redraws every frame.
    void setUpdateRate(float seconds) { m_UpdateRate = seconds; }
    float getUpdateRate() const { return m_UpdateRate; }

    // Advances the clock by `elapsed` real seconds. True when the sky is due a
    // redraw: on the first call after the time was set, then whenever the
    // update rate has passed.
    bool update(float elapsed);

private:
    // The day as set, and the sky seconds since, kept apart so that many
    // small steps do not lose precision against the large day number.
    double m_Base = 2451545.0;
    double m_Seconds = 0.0;
    float m_TimeScale = 1.0f;
    float m_UpdateRate = 0.0f;
    float m_SinceRedraw = 0.0f;
    bool m_RedrawDue = true;
};

} // namespace caelum
