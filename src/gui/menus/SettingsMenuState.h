#pragma once

#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The user settings ("wndSettings"): volumes, surface objects, mouse, shaders,
// the landing comment, the unit system, and the render system's options with
// buttons to apply them or go back to the configuration's. The settings live
// in the user-settings tree; every exit stores the whole screen there.
class CSettingsMenuState : public CGuiEngineState, public CSingletonTmpl<CSettingsMenuState>
{
public:
    // Sets the widgets from the stored settings and applies them at once:
    // the volumes, the unit system and the landing comment take effect here.
    // Needs the application, sound and unit-converter services.
    explicit CSettingsMenuState(CGuiEngine* owner);
    ~CSettingsMenuState() override;

    void Enter() override;
    // Applies and stores the settings.
    void Exit() override;

    // Hands the screen's landing comment and unit system to the program and
    // stores every setting.
    void ApplySettings();
    void StoreSettings();

    void OnBack(const CGUIEvent& event);
    // The volumes follow their bars at once.
    void OnSoundVolume(const CGUIEvent& event);
    void OnMusicVolume(const CGUIEvent& event);
    void OnSurfaceObjects(const CGUIEvent& event);
    // Restarts the program, which then runs on the chosen render-system options.
    void OnApplyVideoSettings(const CGUIEvent& event);
    // Deletes the stored render-system options and restarts on the configuration's.
    void OnRestoreVideoSettings(const CGUIEvent& event);

private:
    void SelectUnitSystem();

    CConnections m_Connections;
};

} // namespace GuiStates
} // namespace sds
