#include "mods/OverlaysMod.h"

#include <cmath>
#include <sstream>

#include "core/UnitConverter.h"
#include "core/services/IApplication.h"
#include "core/services/EventCodes.h"
#include "core/services/IConsole.h"
#include "core/services/IEventMgr.h"
#include "graphics/ICamera.h"
#include "graphics/IGfxMgr.h"
#include "jumper/IJumper.h"
#include "jumper/JumperMgr.h"
#include "mods/HUDMessageMod.h"
#include "mods/PhyEnabledMod.h"
#include "physics/IWindMgr.h"

namespace sds {

namespace {

IJumper* FirstJumper()
{
    CJumperMgr* jumpers = CJumperMgr::GetSingleton();
    if (!jumpers || jumpers->GetJumpers().empty())
        return nullptr;
    return jumpers->GetJumpers().front().get();
}

} // namespace

COverlaysMod::CInputTypeIndicator::CInputTypeIndicator(IOverlayElement* brake, IOverlayElement* frontRiser,
                                                       IOverlayElement* rearRiser, std::int32_t brakeCode,
                                                       std::int32_t frontRiserCode, std::int32_t rearRiserCode,
                                                       float fadeTime)
    : m_Brake(brake), m_FrontRiser(frontRiser), m_RearRiser(rearRiser), m_BrakeCode(brakeCode),
      m_FrontRiserCode(frontRiserCode), m_RearRiserCode(rearRiserCode), m_FadeTime(fadeTime)
{
    Clear();
}

void COverlaysMod::CInputTypeIndicator::Follow(std::int32_t control)
{
    if (control == m_Shown)
        return;
    m_Shown = control;
    IOverlayElement* shown = nullptr;
    std::string message;
    if (control == m_BrakeCode) {
        shown = m_Brake;
        message = "Brakes";
    } else if (control == m_FrontRiserCode) {
        shown = m_FrontRiser;
        message = "Front Risers";
    } else if (control == m_RearRiserCode) {
        shown = m_RearRiser;
        message = "Rear Risers";
    }
    for (IOverlayElement* element : {m_Brake, m_FrontRiser, m_RearRiser})
        element->SetVisible(element == shown);
    if (CHUDMessageMod* hud = CHUDMessageMod::GetSingleton())
        if (!message.empty())
            hud->ShowMessage(message, m_FadeTime);
}

void COverlaysMod::CInputTypeIndicator::Clear()
{
    m_Shown = 0;
    for (IOverlayElement* element : {m_Brake, m_FrontRiser, m_RearRiser})
        element->SetVisible(false);
}

COverlaysMod::COverlaysMod() : ILevelMod("Overlays")
{
    IGfxMgr* gfx = IGfxMgr::GetSingleton();
    m_Altimeter = gfx->CreateOverlayed("AltimeterOverlay");
    m_InputType = gfx->CreateOverlayed("InputType");
    const float fadeTime = IApplication::GetSingleton()
                               ->GetConfig()
                               ->GetChild("Scene")
                               ->GetChild("CanopyInputChange")
                               ->GetAttribute("FadeOut")
                               ->GetValue<float>();
    IOverlayed& type = *m_InputType;
    m_LeftIndicator = std::make_unique<CInputTypeIndicator>(
        type.GetElement("InputType/LeftBrake"), type.GetElement("InputType/LeftFrontRiser"),
        type.GetElement("InputType/LeftRearRiser"), EventCodes::TurnLeftToggle, EventCodes::TurnLeftFrontRiser,
        EventCodes::TurnLeftRearRiser, fadeTime);
    m_RightIndicator = std::make_unique<CInputTypeIndicator>(
        type.GetElement("InputType/RightBrake"), type.GetElement("InputType/RightFrontRiser"),
        type.GetElement("InputType/RightRearRiser"), EventCodes::TurnRightToggle, EventCodes::TurnRightFrontRiser,
        EventCodes::TurnRightRearRiser, fadeTime);

    m_InputPosition = gfx->CreateOverlayed("InputPositionIndicator");
    m_LeftBar = m_InputPosition->GetElement("InputPositionIndicator/Left");
    m_RightBar = m_InputPosition->GetElement("InputPositionIndicator/Right");
    m_Travel = m_InputPosition->GetElement("InputPositionIndicator/Border")->GetHeight() - m_RightBar->GetHeight();
    m_SpeedOverlay = gfx->CreateOverlayed("SpeedIndicator");
    m_Speed = m_SpeedOverlay->GetElement("SpeedIndicator/Speed");

    m_Altimeter->SetVisible(false);
    SetAltimeterFromJumper();

    IEventMgr* events = IEventMgr::GetSingleton();
    m_HudConnection = events->ConnectEvent(EventCodes::SwitchHud, [this](const CInternalEvent& e) { OnSwitchHud(e); });
    m_FpsConnection = events->ConnectEvent(EventCodes::SwitchFps, [this](const CInternalEvent& e) { OnSwitchFps(e); });
    ApplyHudMode(m_HudMode);
}

COverlaysMod::~COverlaysMod()
{
    m_HudConnection.disconnect();
    m_FpsConnection.disconnect();
    HideAll();
    if (m_DebugDisplay)
        SetDebugDisplay(false);
    m_Altimeter->GetElement("AltimeterOverlay/Panel")->SetMaterialName("Altimeter");
}

void COverlaysMod::SetAltimeterFromJumper()
{
    IJumper* jumper = FirstJumper();
    if (!jumper)
        return;
    m_AltimeterMaterial = jumper->GetAltimeterCaption();
    if (m_AltimeterMaterial.empty())
        return;
    m_Altimeter->SetVisible(true);
    m_Altimeter->GetElement("AltimeterOverlay/Panel")->SetMaterialName(m_AltimeterMaterial);
}

void COverlaysMod::Update(const CTiming&)
{
    if (IJumper* jumper = FirstJumper()) {
        m_LeftIndicator->Follow(jumper->GetLeftHandControl());
        m_RightIndicator->Follow(jumper->GetRightHandControl());
        m_LeftBar->SetPosition(m_LeftBar->GetLeft(), m_Travel * jumper->GetLeftTurnValue());
        m_RightBar->SetPosition(m_RightBar->GetLeft(), m_Travel * jumper->GetRightTurnValue());

        const CVector v = jumper->GetVelocity();
        float wind = 0.0f;
        if (CPhyEnabledMod* physics = CPhyEnabledMod::GetSingleton())
            wind = physics->GetPhyMgr().GetWindMgr().GetWind(jumper->GetPos()).Length();
        const CUnitConverter& units = *CUnitConverter::GetSingleton();
        const CUnitConverter::CUnit& speed = units.GetUnit("Speed");
        std::string& caption = m_SpeedCaption;
        caption.assign("Speed: ").append(units.FormatValue(speed, v.Length()));
        caption.append("\nVertical Speed: ").append(units.FormatValue(speed, std::fabs(v.y)));
        caption.append("\nHorizontal Speed: ").append(units.FormatValue(speed, std::sqrt(v.x * v.x + v.z * v.z)));
        caption.append("\nWind Speed: ").append(units.FormatValue(speed, wind)).append("\n");
        m_Speed->SetCaption(caption);
    }
    if (m_DebugDisplay) {
        ICamera* camera = IGfxMgr::GetSingleton()->GetCamera();
        IConsole* console = IConsole::GetSingleton();
        if (camera && console) {
            const CVector pos = camera->GetPos();
            const CVector dir = camera->GetDir();
            // Heading in degrees, 0 to 360, measured in the ground plane.
            float heading = std::atan2(dir.z, dir.x) * 57.29578f;
            heading += heading < 0.0f ? 360.0f : 0.0f;
            const float pitch = std::asin(std::max(-1.0f, std::min(1.0f, dir.y))) * 57.29578f;
            std::ostringstream line;
            line << "Camera pos: " << pos.x << "," << pos.y << "," << pos.z << "; Rot: x=" << pitch
                 << ", y=" << heading << ", z=" << 0.0f;
            console->SetFixedLine(0, line.str());
        }
    }
}

void COverlaysMod::Restart()
{
    m_LeftIndicator->Clear();
    m_RightIndicator->Clear();
    SetHudMode(2);
    SetAltimeterFromJumper();
}

void COverlaysMod::Pause()
{
    HideAll();
}

void COverlaysMod::Resume()
{
    ApplyHudMode(m_HudMode);
}

void COverlaysMod::SetHudMode(int mode)
{
    m_HudMode = mode;
    ApplyHudMode(mode);
}

void COverlaysMod::ShowHud(bool show)
{
    if (show)
        ApplyHudMode(m_HudMode);
    else
        HideAll();
}

void COverlaysMod::HideAll()
{
    for (IOverlayed* overlay : {m_Altimeter.get(), m_InputType.get(), m_InputPosition.get(), m_SpeedOverlay.get()})
        overlay->SetVisible(false);
}

void COverlaysMod::ApplyHudMode(int mode)
{
    // Without a jumper there is nothing to show.
    if (!FirstJumper() || mode < 1 || mode > 3) {
        HideAll();
        return;
    }
    const bool altimeter = mode != 3 && !m_AltimeterMaterial.empty();
    m_Altimeter->SetVisible(altimeter);
    m_InputType->SetVisible(true);
    m_InputPosition->SetVisible(true);
    m_SpeedOverlay->SetVisible(mode != 2);
}

void COverlaysMod::OnSwitchHud(const CInternalEvent& event)
{
    if (!event.On)
        return;
    SetHudMode(m_HudMode >= 1 && m_HudMode <= 2 ? m_HudMode + 1 : m_HudMode == 3 ? 0 : 1);
}

void COverlaysMod::OnSwitchFps(const CInternalEvent& event)
{
    if (event.On)
        SetDebugDisplay(!m_DebugDisplay);
}

void COverlaysMod::SetDebugDisplay(bool on)
{
    m_DebugDisplay = on;
    IGfxMgr::GetSingleton()->ShowOverlay(on);
    if (!on)
        if (IConsole* console = IConsole::GetSingleton())
            console->SetFixedLine(0, "");
}

} // namespace sds
