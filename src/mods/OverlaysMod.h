#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <boost/signals2/connection.hpp>
#include <boost/signals2/shared_connection_block.hpp>

#include "core/SingletonTmpl.h"
#include "core/services/Events.h"
#include "graphics/IOverlayed.h"
#include "mods/ILevelMod.h"

namespace sds {

// The head-up display of a jump: the altimeter panel, each hand's control type
// (brakes, front or rear risers), how far each hand pulls, and the speeds.
// "switch_hud" cycles what is shown, "switch_fps" the frame statistics.
class COverlaysMod : public ILevelMod, public CSingletonTmpl<COverlaysMod>
{
public:
    // One hand's control type: shows the element of the type last chosen.
    class CInputTypeIndicator
    {
    public:
        CInputTypeIndicator(IOverlayElement* brake, IOverlayElement* frontRiser, IOverlayElement* rearRiser,
                            std::int32_t brakeCode, std::int32_t frontRiserCode, std::int32_t rearRiserCode,
                            float fadeTime);
        // Shows `shown` of the three elements; the message goes to the centre unless empty.
        void Show(IOverlayElement* shown, const std::string& message);
        void ShowBrakes() { Show(m_Brake, ""); }
        void Block(bool block);
        // Runs the brake handler as a press would.
        void PressBrakes();

    private:
        void OnControl(const CInternalEvent& event, IOverlayElement* shown, const std::string& message);

        IOverlayElement* m_Brake;
        IOverlayElement* m_FrontRiser;
        IOverlayElement* m_RearRiser;
        boost::signals2::scoped_connection m_Connections[3];
        boost::signals2::shared_connection_block m_Blocks[3];
        float m_FadeTime;
    };

    COverlaysMod();
    ~COverlaysMod() override;

    // Moves the pull bars and writes the speeds of the first jumper.
    void Update(const CTiming& timing) override;
    // Brakes on both hands, mode 2, the new jumper's altimeter.
    void Restart() override;
    // Hides the display; the control-type events stop moving it.
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
    bool m_DebugDisplay = false;
    int m_HudMode = 2;
    std::string m_AltimeterMaterial;
};

} // namespace sds
