#pragma once

#include <deque>
#include <memory>
#include <string>

#include <boost/signals2/connection.hpp>
#include <boost/signals2/shared_connection_block.hpp>

#include "app/Engine.h"
#include "core/Node.h"
#include "core/services/Events.h"
#include "graphics/IOverlayed.h"

namespace sds {
namespace EngineStates {

// The screens shown at start: each full-screen overlay fades in from black, is
// held and fades out to black; a key skips a screen that allows it. At the end
// the main menu is revealed through a fade.
class CSplashScreensState : public IEngineState
{
public:
    // One screen, from a "SplashScreen" element: "Overlay", "FadeIn", "Show",
    // "FadeOut" (seconds) and "Interruptible", all required.
    class CSplashScreenInfo
    {
    public:
        struct CPhase
        {
            float Remaining;
            float Total;
        };

        // Makes the overlay (an unknown name throws) and hides it.
        explicit CSplashScreenInfo(const xml::CNodePtr& config);
        // Sets the screen fader's alpha: 1 black, 0 the screen.
        virtual void SetFade(float alpha);
        // Hides the overlay.
        virtual ~CSplashScreenInfo();
        // Advances the phase that runs: fade-in, show, then fade-out.
        virtual void Update(const CTiming& timing);

        // Fades out from where the screen is, at the rate of a half-second fade.
        void Skip();
        // Every phase has run out (a phase of no time never runs).
        bool IsFinished() const
        {
            return m_FadeIn.Remaining <= 0.0f && m_Show.Remaining <= 0.0f && m_FadeOut.Remaining <= 0.0f;
        }
        bool IsInterruptible() const { return m_Interruptible; }
        void Show() { m_Overlay->SetVisible(true); }

        const CPhase& GetFadeIn() const { return m_FadeIn; }
        const CPhase& GetShow() const { return m_Show; }
        const CPhase& GetFadeOut() const { return m_FadeOut; }
        const std::string& GetOverlayName() const { return m_OverlayName; }

    protected:
        bool m_Interruptible;
        CPhase m_FadeIn;
        CPhase m_FadeOut;
        CPhase m_Show;
        COverlayedPtr m_Overlay;
        std::string m_OverlayName;
    };

    typedef std::deque<std::shared_ptr<CSplashScreenInfo>> CScreens;

    // `config` is the "SplashScreens" element.
    CSplashScreensState(CEngine* engine, const xml::CNodePtr& config);

    void OnUpdate(const CTiming& timing) override;
    ~CSplashScreensState() override;
    void Enter() override;
    void Exit() override;
    void Pause() override;
    void Resume() override;
    virtual std::shared_ptr<CSplashScreenInfo> CreateInfo(const xml::CNodePtr& config);
    // Goes to the main menu and changes to menu mode once the fader is black.
    virtual void OnFinished(float fadeOutTime, float fadeInTime);
    virtual void ShowFader();

    // A key release skips the current screen when it allows it.
    void OnKey(const CDiscreteEvent& event);

    const CScreens& GetScreens() const { return m_Screens; }

protected:
    CScreens m_Screens;
    xml::CNodePtr m_Config;
    boost::signals2::scoped_connection m_KeyConnection;
    std::unique_ptr<boost::signals2::shared_connection_block> m_KeyBlock;
};

} // namespace EngineStates
} // namespace sds
