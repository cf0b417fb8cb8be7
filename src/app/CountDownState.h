#pragma once

#include <memory>

#include "app/SplashScreensState.h"
#include "core/Quaternion.h"

namespace sds {

class IOverlayElement;

namespace EngineStates {

// The "Ready, Set, Go!" shown over a loaded level before each jump: the
// splash-screen machinery with the words themselves fading instead of the
// screen fader. Pushed over the paused game mode, it pops itself at the end.
class CCountDownState : public CSplashScreensState
{
public:
    // One word: the "<overlay>/Message" element of the screen's overlay,
    // whose alpha follows the fade.
    class CCountDownInfo : public CSplashScreenInfo
    {
    public:
        // The element missing from the overlay throws. The message starts
        // hidden when the screen fades in, shown when it does not.
        explicit CCountDownInfo(const xml::CNodePtr& config);
        // 1 hides the message, 0 shows it whole.
        void SetFade(float fade) override;

    private:
        IOverlayElement* m_Message;
        CFourFloats m_Colour;
    };

    // `countDownConfig` is the configuration's "CountDown" element.
    CCountDownState(CEngine* engine, const xml::CNodePtr& countDownConfig);

    // The screens, then the camera, which keeps following its target.
    void OnUpdate(const CTiming& timing) override;
    std::shared_ptr<CSplashScreenInfo> CreateInfo(const xml::CNodePtr& config) override;
    // The state below resumes.
    void OnFinished(float fadeOutTime, float fadeInTime) override;
    // The level stays in view: no fader.
    void ShowFader() override {}
};

} // namespace EngineStates
} // namespace sds
