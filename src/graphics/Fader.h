#pragma once

#include <cstdint>
#include <functional>

#include <boost/signals2/connection.hpp>

#include "core/services/Events.h"
#include "graphics/IFader.h"

namespace sds {

// The timing of the screen fader. It steps on the event manager's frame event
// and measures time on the wall clock, so a slow frame shortens the fade
// rather than stretching it. Drawing the cover is left to the derived class.
class CFader : public IFader
{
public:
    typedef std::function<std::uint64_t()> CClock;

    // The clock gives milliseconds; the wall clock unless a test gives its own.
    explicit CFader(const CClock& clock = CClock());
    ~CFader() override;

    void StartFade(float outTime, float inTime, const CCallback& callback) override;
    void StopFade() override;
    void SetAlpha(float alpha) override;
    float GetAlpha() const override { return m_Alpha; }
    void SetVisible(bool visible) override { ShowCover(visible); }
    bool IsVisible() const override { return IsCoverShown(); }

    bool IsFading() const { return m_FrameConnection.connected(); }

protected:
    virtual void ApplyAlpha(float alpha) = 0;
    virtual void ShowCover(bool show) = 0;
    virtual bool IsCoverShown() const = 0;
    // Derived destructors call this before their cover goes.
    void Shutdown();

private:
    void Step(const CFrameEvent& event);
    void RunCallback();

    CClock m_Clock;
    float m_Alpha = 0.0f;
    std::uint64_t m_Stamp = 0;
    float m_OutRemaining = -1.0f;
    float m_OutTotal = -1.0f;
    float m_InRemaining = -1.0f;
    float m_InTotal = -1.0f;
    CCallback m_Callback;
    boost::signals2::scoped_connection m_FrameConnection;
};

} // namespace sds
