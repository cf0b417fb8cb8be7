#pragma once

#include <cstdint>
#include <functional>

namespace sds {

// Keeps frames from starting more often than a minimum frame time allows. The
// wait sleeps until the frame is almost due and spins only for the last
// fraction of a millisecond, which the sleep cannot hit exactly: an idle menu
// must not keep a core busy.
class CFrameLimiter
{
public:
    // Microseconds on a steady clock, and a sleep of about that many.
    struct CTimer
    {
        std::function<std::uint64_t()> Now;
        std::function<void(std::uint64_t microseconds)> Sleep;
    };

    // The part of the wait that spins rather than sleeps.
    static const std::uint64_t SpinMicroseconds = 200;

    static CTimer SystemTimer();

    // `minFrameTime` in seconds; 0 (or less) means no limit.
    explicit CFrameLimiter(float minFrameTime, const CTimer& timer = SystemTimer());

    // Waits until the frame begun at the previous call has lasted more than
    // the minimum frame time; the time the frame's work took counts.
    void EndFrame() { EndFrame(m_MinFrameMicroseconds); }
    // As EndFrame, for a frame that lasts at least the longer of the minimum
    // frame time and `minMicroseconds`: one that only polls the input.
    void EndFrame(std::uint64_t minMicroseconds);

    float GetMinFrameTime() const { return m_MinFrameTime; }
    // When the frame under way began: the end of the previous one.
    std::uint64_t GetFrameStart() const { return m_LastTick; }

private:
    CTimer m_Timer;
    float m_MinFrameTime;
    std::uint64_t m_MinFrameMicroseconds;
    std::uint64_t m_LastTick;
};

} // namespace sds
