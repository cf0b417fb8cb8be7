#include "app/RedrawPacer.h"

namespace sds {

CRedrawPacer::CRedrawPacer(std::uint64_t idleFrameTime, std::uint64_t settleTime)
    : m_IdleFrameTime(idleFrameTime), m_SettleTime(settleTime), m_Started(false), m_LastChange(0), m_LastDrawn(0)
{
}

bool CRedrawPacer::IsDrawn(std::uint64_t now, bool changed)
{
    if (changed || !m_Started) {
        m_Started = true;
        m_LastChange = now;
    }
    // A clock read out of order counts as no time passed.
    const auto since = [now](std::uint64_t then) { return now > then ? now - then : 0; };
    const bool drawn = since(m_LastChange) <= m_SettleTime || since(m_LastDrawn) >= m_IdleFrameTime;
    if (drawn)
        m_LastDrawn = now;
    return drawn;
}

} // namespace sds
