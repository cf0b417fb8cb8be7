#include "app/FrameLimiter.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace sds {

CFrameLimiter::CTimer CFrameLimiter::SystemTimer()
{
    CTimer timer;
    timer.Now = [] {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
    };
    timer.Sleep = [](std::uint64_t microseconds) {
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
    };
    return timer;
}

CFrameLimiter::CFrameLimiter(float minFrameTime, const CTimer& timer)
    : m_Timer(timer), m_MinFrameTime(minFrameTime > 0.0f ? minFrameTime : 0.0f),
      m_MinFrameMicroseconds(static_cast<std::uint64_t>(m_MinFrameTime * 1e6f)), m_LastTick(m_Timer.Now())
{
}

void CFrameLimiter::EndFrame(std::uint64_t minMicroseconds)
{
    const std::uint64_t frameMicroseconds = std::max(minMicroseconds, m_MinFrameMicroseconds);
    if (frameMicroseconds > 0) {
        const std::uint64_t due = m_LastTick + frameMicroseconds;
        std::uint64_t now = m_Timer.Now();
        if (now < due && due - now > SpinMicroseconds) {
            m_Timer.Sleep(due - now - SpinMicroseconds);
            now = m_Timer.Now();
        }
        while (now <= due)
            now = m_Timer.Now();
    }
    m_LastTick = m_Timer.Now();
}

} // namespace sds
