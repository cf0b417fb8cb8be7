#include "graphics/Fader.h"

#include <utility>

#include "core/Exception.h"
#include "core/WallClock.h"
#include "core/services/IEventMgr.h"

namespace sds {

CFader::CFader(const CClock& clock) : m_Clock(clock ? clock : CClock(&GetWallClockMs))
{
    m_Stamp = m_Clock();
}

CFader::~CFader()
{
    m_Callback = nullptr;
    m_FrameConnection.disconnect();
}

void CFader::Shutdown()
{
    m_Callback = nullptr;
    m_FrameConnection.disconnect();
    ShowCover(false);
}

void CFader::SetAlpha(float alpha)
{
    m_Alpha = alpha;
    ApplyAlpha(alpha);
}

void CFader::StartFade(float outTime, float inTime, const CCallback& callback)
{
    m_OutRemaining = m_OutTotal = outTime;
    m_InRemaining = m_InTotal = inTime;
    m_Callback = callback;
    ShowCover(true);
    m_Stamp = m_Clock();
    IEventMgr* events = IEventMgr::GetSingleton();
    SDS_ASSERT(events && "The fader needs the event manager");
    // Replacing the connection ends the step of a fade still running.
    m_FrameConnection = events->ConnectFrameEvent([this](const CFrameEvent& event) { Step(event); });
    if (outTime <= 0.0f)
        RunCallback();
}

void CFader::StopFade()
{
    if (!m_FrameConnection.connected())
        return;
    m_OutRemaining = m_OutTotal = m_InRemaining = m_InTotal = 0.0f;
    m_FrameConnection.disconnect();
    ShowCover(false);
    RunCallback();
}

void CFader::Step(const CFrameEvent&)
{
    const std::uint64_t now = m_Clock();
    const float dt = static_cast<float>(now - m_Stamp) / 1000.0f;
    if (m_OutRemaining > 0.0f) {
        m_OutRemaining -= dt;
        if (m_OutRemaining <= 0.0f) {
            SetAlpha(1.0f);
            RunCallback();
            m_Stamp = m_Clock();
            return;
        }
        SetAlpha(m_OutTotal > 0.0f ? 1.0f - m_OutRemaining / m_OutTotal : 0.0f);
    } else if (m_InRemaining > 0.0f) {
        SetAlpha(m_InTotal > 0.0f ? m_InRemaining / m_InTotal : 0.0f);
        m_InRemaining -= dt;
        if (m_InRemaining <= 0.0f) {
            m_FrameConnection.disconnect();
            ShowCover(false);
        }
    }
    m_Stamp = now;
}

void CFader::RunCallback()
{
    if (!m_Callback)
        return;
    // Moved out first: the callback may start the next fade.
    CCallback callback = std::move(m_Callback);
    m_Callback = nullptr;
    callback();
}

} // namespace sds
