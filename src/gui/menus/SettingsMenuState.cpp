#include "gui/menus/SettingsMenuState.h"

#include <algorithm>

#include <boost/filesystem/operations.hpp>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "core/ConfigPath.h"
#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/UnitConverter.h"
#include "core/services/IApplication.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "sound/DummySndMgr.h"
#include "sound/ISndMgr.h"

namespace sds {
namespace GuiStates {

namespace {

const char* const MUSIC_VOLUME = "wndSettings/sbMusicVolume";
const char* const SOUND_VOLUME = "wndSettings/sbSoundVolume";
const char* const SURFACE_OBJECTS = "wndSettings/sbSurfaceObjects";
const char* const UNIT_SYSTEM = "wndSettings/cbDisplayUnitSystem";
const char* const LANDING_COMMENT = "wndSettings/chbShowLandingComment";
const char* const INPUTS_SENSITIVITY = "wndSettings/sbMouseInputsSensitivity";
const char* const LOOK_SENSITIVITY = "wndSettings/sbMouseLookSensitivity";
const char* const INVERT_Y = "wndSettings/chbInvertY";
const char* const USE_SHADERS = "wndSettings/chbUseShaders";
const char* const FORCE_VISUALIZATION = "wndSettings/sbForceFieldVisualization";

const float DEFAULT_SENSITIVITY = 0.5f;
const float DEFAULT_FORCE_VISUALIZATION = 0.5f;

xml::CNodePtr& Settings()
{
    return IApplication::GetSingleton()->GetSettings();
}

} // namespace

CSettingsMenuState::CSettingsMenuState(CGuiEngine* owner) : CGuiEngineState(owner, "wndSettings")
{
    IGUI* gui = IGUI::GetSingleton();
    const CUnitConverter* units = CUnitConverter::GetSingleton();
    const std::vector<std::string> systems = units ? units->GetSystemNames() : std::vector<std::string>();
    if (systems.empty())
        throw CException("!MeasurementSystem.empty() && \"There should be at least one measurement system.\"");
    gui->SetItems(UNIT_SYSTEM, systems, 0);

    const xml::CNodePtr& config = IApplication::GetSingleton()->GetConfig();
    const xml::CNodePtr& settings = Settings();
    ISndMgr* sound = ISndMgr::GetSingleton();
    const CGUIEvent none;

    gui->SetScrollPosition(MUSIC_VOLUME, GetConfigFloat(settings, "Audio->>MusicVolume", sound->GetMusicVolume()));
    OnMusicVolume(none);
    gui->SetScrollPosition(SOUND_VOLUME, GetConfigFloat(settings, "Audio->>SoundVolume", sound->GetVolume()));
    OnSoundVolume(none);
    gui->SetScrollPosition(SURFACE_OBJECTS, GetConfigFloat(settings, "Graphics->>SurfaceObjects",
                                                           GetConfigFloat(config, "Scene->>SurfaceObjects", 1.0f)));
    // A stored name that is not offered leaves the first system selected.
    gui->SelectItem(UNIT_SYSTEM, GetConfigString(settings, "Global->>MeasurementSystem",
                                                 GetConfigString(config, "UnitConverter->>Default", systems.front())));
    gui->SetChecked(LANDING_COMMENT,
                    GetConfigBool(settings, "Global->>ShowLandingComment", gui->IsChecked(LANDING_COMMENT)));
    gui->SetScrollPosition(INPUTS_SENSITIVITY,
                           GetConfigFloat(settings, "Mouse->>InputsSensitivity", DEFAULT_SENSITIVITY));
    gui->SetScrollPosition(LOOK_SENSITIVITY, GetConfigFloat(settings, "Mouse->>LookSensitivity", DEFAULT_SENSITIVITY));
    gui->SetChecked(INVERT_Y, GetConfigBool(settings, "Mouse->>InvertY", gui->IsChecked(INVERT_Y)));
    gui->SetChecked(USE_SHADERS, GetConfigBool(settings, "Graphics->>UseShaders", gui->IsChecked(USE_SHADERS)));
    gui->SetScrollPosition(FORCE_VISUALIZATION, GetConfigFloat(settings, "ForceFields->>ForceVisualization",
                                                               DEFAULT_FORCE_VISUALIZATION));
    ApplySettings();
}

CSettingsMenuState::~CSettingsMenuState() = default;

void CSettingsMenuState::Enter()
{
    CGuiEngineState::Enter();
    m_Connections.push_back(Subscribe("btnBack", [this](const CGUIEvent& e) { OnBack(e); }));
    m_Connections.push_back(Subscribe("sbSoundVolume", [this](const CGUIEvent& e) { OnSoundVolume(e); }));
    m_Connections.push_back(Subscribe("sbMusicVolume", [this](const CGUIEvent& e) { OnMusicVolume(e); }));
    m_Connections.push_back(Subscribe("sbSurfaceObjects", [this](const CGUIEvent& e) { OnSurfaceObjects(e); }));
    m_Connections.push_back(
        Subscribe("btnApplyVideoSettings", [this](const CGUIEvent& e) { OnApplyVideoSettings(e); }));
    m_Connections.push_back(
        Subscribe("btnRestoreVideoSettings", [this](const CGUIEvent& e) { OnRestoreVideoSettings(e); }));
}

void CSettingsMenuState::Exit()
{
    ApplySettings();
    ExitAndUnsubscribe(*this, m_Connections);
}

void CSettingsMenuState::ApplySettings()
{
    if (IGameMode* gameMode = CEngine::GetSingleton()->GetGameMode())
        gameMode->SetShowLandingComment(IGUI::GetSingleton()->IsChecked(LANDING_COMMENT));
    SelectUnitSystem();
    StoreSettings();
}

void CSettingsMenuState::SelectUnitSystem()
{
    IGUI* gui = IGUI::GetSingleton();
    CUnitConverter* units = CUnitConverter::GetSingleton();
    const std::string chosen = gui->GetText(UNIT_SYSTEM);
    if (units->SelectSystem(chosen))
        return;
    // Only the offered systems can be chosen; anything else takes the first.
    const std::string first = units->GetSystemNames().front();
    ILogMgr::GetSingleton()->LogWarning("Unknown measurement system '" + chosen + "', using '" + first + "'");
    units->SelectSystem(first);
    gui->SelectItem(UNIT_SYSTEM, first);
}

void CSettingsMenuState::StoreSettings()
{
    const IGUI* gui = IGUI::GetSingleton();
    const ISndMgr* sound = ISndMgr::GetSingleton();
    const xml::CNodePtr& settings = Settings();
    SetConfigBool(settings, "Graphics->>UseShaders", gui->IsChecked(USE_SHADERS));
    SetConfigFloat(settings, "ForceFields->>ForceVisualization", gui->GetScrollPosition(FORCE_VISUALIZATION));
    // The silent sound service keeps no volumes and reads 0: the bars, set
    // from the stored values, hold the user's then, or a run without a sound
    // device would store silence for the next one.
    const bool silent = dynamic_cast<const CDummySndMgr*>(sound) != nullptr;
    SetConfigFloat(settings, "Audio->>MusicVolume",
                   silent ? gui->GetScrollPosition(MUSIC_VOLUME) : sound->GetMusicVolume());
    SetConfigFloat(settings, "Audio->>SoundVolume", silent ? gui->GetScrollPosition(SOUND_VOLUME) : sound->GetVolume());
    SetConfigString(settings, "Global->>MeasurementSystem", gui->GetText(UNIT_SYSTEM));
    SetConfigBool(settings, "Global->>ShowLandingComment", gui->IsChecked(LANDING_COMMENT));
    SetConfigFloat(settings, "Graphics->>SurfaceObjects", gui->GetScrollPosition(SURFACE_OBJECTS));
    SetConfigFloat(settings, "Mouse->>LookSensitivity", gui->GetScrollPosition(LOOK_SENSITIVITY));
    SetConfigFloat(settings, "Mouse->>InputsSensitivity", gui->GetScrollPosition(INPUTS_SENSITIVITY));
    SetConfigBool(settings, "Mouse->>InvertY", gui->IsChecked(INVERT_Y));
}

void CSettingsMenuState::OnBack(const CGUIEvent&)
{
    ApplySettings();
    m_Owner->PopState();
}

void CSettingsMenuState::OnSoundVolume(const CGUIEvent&)
{
    ISndMgr::GetSingleton()->SetVolume(IGUI::GetSingleton()->GetScrollPosition(SOUND_VOLUME));
}

void CSettingsMenuState::OnMusicVolume(const CGUIEvent&)
{
    ISndMgr::GetSingleton()->SetMusicVolume(IGUI::GetSingleton()->GetScrollPosition(MUSIC_VOLUME));
}

void CSettingsMenuState::OnSurfaceObjects(const CGUIEvent&)
{
    SetConfigFloat(Settings(), "Graphics->>SurfaceObjects", IGUI::GetSingleton()->GetScrollPosition(SURFACE_OBJECTS));
}

void CSettingsMenuState::OnApplyVideoSettings(const CGUIEvent&)
{
    IApplication::GetSingleton()->Restart();
}

void CSettingsMenuState::OnRestoreVideoSettings(const CGUIEvent&)
{
    IApplication* application = IApplication::GetSingleton();
    const std::string file = GetConfigString(application->GetConfig(), "Application->GfxCfg->>Path", "");
    // A missing file is already the configuration's defaults.
    if (!file.empty() && boost::filesystem::exists(file))
        boost::filesystem::remove(file);
    application->Restart();
}

} // namespace GuiStates
} // namespace sds
