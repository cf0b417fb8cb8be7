#pragma once

#include <functional>

#include "core/SingletonTmpl.h"

namespace sds {

// The screen fader: covers the screen, runs a callback while it is covered,
// and uncovers it again.
class IFader : public CSingletonTmpl<IFader>
{
public:
    typedef std::function<void()> CCallback;

    ~IFader() override = default;
    // Fades out over outTime seconds, runs the callback, fades in over inTime.
    // An outTime of 0 or less runs the callback at once; an inTime of 0 or less
    // keeps the screen covered until StopFade.
    virtual void StartFade(float outTime, float inTime, const CCallback& callback) = 0;
    // Ends a running fade at once, running a callback that has not run yet.
    virtual void StopFade() = 0;
    // 0 shows the scene, 1 covers it.
    virtual void SetAlpha(float alpha) = 0;
    virtual float GetAlpha() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
};

} // namespace sds
