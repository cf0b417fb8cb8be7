#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <boost/signals2/connection.hpp>

#include "core/SingletonTmpl.h"
#include "core/services/Events.h"
#include "graphics/IOverlayed.h"
#include "mods/ILevelMod.h"

namespace sds {

// The head-up display of a jump: the altimeter panel, the control each hand
// holds (brakes, front or rear risers), how far each hand pulls, and the speeds.
// "switch_hud" cycles what is shown, "switch_fps" the frame statistics.
class COverlaysMod : public ILevelMod, public CSingletonTmpl<COverlaysMod>
{
public:
    // One hand's control type: shows the element of the control the hand
    // holds, none while it holds none, and names a new one in the centre.
    class CInputTypeIndicator
    {
    public:
        // The hand's turn codes of its toggle, front riser and rear riser.
        CInputTypeIndicator(IOverlayElement* brake, IOverlayElement* frontRiser, IOverlayElement* rearRiser,
                            std::int32_t brakeCode, std::int32_t frontRiserCode, std::int32_t rearRiserCode,
                            float fadeTime);
        // `control` is the turn code of the control the hand holds, 0 for none.
        void Follow(std::int32_t control);
        // Shows none, as for a hand that holds nothing, without a message.
        void Clear();

    private:
        IOverlayElement* m_Brake;
        IOverlayElement* m_FrontRiser;
        IOverlayElement* m_RearRiser;
        std::int32_t m_BrakeCode;
        std::int32_t m_FrontRiserCode;
        std::int32_t m_RearRiserCode;
        float m_FadeTime;
        std::int32_t m_Shown = 0;
    };

    COverlaysMod();
    ~COverlaysMod() override;

    // Shows the controls the first jumper's hands hold, moves the pull bars
    // and writes the speeds.
    void Update(const CTiming& timing) override;
    // No control shown until the new jumper's hands hold one, mode 2, the new jumper's altimeter.
    void Restart() override;
    // Hides the display.
    void Pause() override;
    void Resume() override;

    // Stores the mode (0 nothing, 1 everything, 2 without speeds, 3 without the altimeter) and applies it.
    void SetHudMode(int mode);
    int GetHudMode() const { return m_HudMode; }
    // False hides the display; true applies the stored mode again.
    void ShowHud(bool show);
    void ApplyHudMode(int mode);

private:
    void OnSwitchHud(const CInternalEvent& event);
    void OnSwitchFps(const CInternalEvent& event);
    void SetDebugDisplay(bool on);
    void SetAltimeterFromJumper();
    void HideAll();

    boost::signals2::scoped_connection m_HudConnection;
    boost::signals2::scoped_connection m_FpsConnection;
    COverlayedPtr m_Altimeter;
    COverlayedPtr m_InputType;
    std::unique_ptr<CInputTypeIndicator> m_LeftIndicator;
    std::unique_ptr<CInputTypeIndicator> m_RightIndicator;
    COverlayedPtr m_InputPosition;
    IOverlayElement* m_LeftBar;
    IOverlayElement* m_RightBar;
    // How far a bar moves down from no pull to full pull.
    float m_Travel;
    COverlayedPtr m_SpeedOverlay;
    IOverlayElement* m_Speed;
    std::string m_SpeedCaption; // rebuilt every frame in the room it has
    bool m_DebugDisplay = false;
    int m_HudMode = 2;
    std::string m_AltimeterMaterial;
};

} // namespace sds
