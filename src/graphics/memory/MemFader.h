#pragma once

#include "graphics/Fader.h"

namespace sds {

// The fader of the in-memory graphics: it keeps the cover's state.
class CMemFader : public CFader
{
public:
    explicit CMemFader(const CClock& clock = CClock()) : CFader(clock) {}
    ~CMemFader() override { Shutdown(); }

    bool m_Shown = false;
    float m_AppliedAlpha = 0.0f;

protected:
    void ApplyAlpha(float alpha) override { m_AppliedAlpha = alpha; }
    void ShowCover(bool show) override { m_Shown = show; }
    bool IsCoverShown() const override { return m_Shown; }
};

} // namespace sds
