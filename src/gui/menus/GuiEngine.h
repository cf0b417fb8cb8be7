#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/IGuiEngine.h"
#include "core/SingletonTmpl.h"
#include "core/StateMachineTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {

namespace DovuvUvozeVozediza {
class IEditorScreens;
}

// The machine of menu screens; the engine's menu mode runs it. It owns every
// screen but the message boxes, which own themselves while they are shown.
class CGuiEngine : public CStateMachineTmpl<CGuiEngineState, IGuiEngine>, public CSingletonTmpl<CGuiEngine>
{
public:
    // Reads "Application" of the configuration: "GfxCfg"/"Title" and
    // "About"/"Edition" for the main menu's title, "DropZones"->>"DZSelection"
    // for the screen that starts a jump. A widget handler that fails is shown
    // in a message box.
    CGuiEngine();
    ~CGuiEngine() override;

    void GoToMainMenu() override;
    void ShowVideoSettings(const std::string& tab) override;
    void ShowMessageBox(const std::string& text) override;
    void GoToDZSelection() override;
    void ApplyDZSelection() override;
    void GoToInGameMenu() override;
    void ShowHelp() override;
    void GoToHelp() override;
    void ShowStatistics(bool showJump, const std::string& jump) override;

    // Leaves menu mode once the last screen is closed.
    void OnUpdate(const CTiming& timing) override;
    // Connects the GUI's inputs and shows the mouse cursor.
    void OnStart() override;
    // Closes the top screen, disconnects the GUI's inputs and hides the cursor.
    void OnStop() override;

    // The owned screen showing that window; null when the program has none.
    CGuiEngineState* FindScreen(const std::string& windowName) const;
    // The screen that starts a jump for the edition in use; null when there is none.
    CGuiEngineState* GetDZSelection() const { return m_DZSelection.get(); }
    // Its window, for messages ("wndDropZone", "wndForceField"; empty when unknown).
    const std::string& GetDZSelectionWindow() const { return m_DZSelectionWindow; }
    // The screens the force-field editor opens; a screen the edition lacks
    // is logged and refused.
    DovuvUvozeVozediza::IEditorScreens& GetEditorScreens() const { return *m_EditorScreens; }

private:
    void ShowHandlerFailure(const std::string& failure);

    std::vector<std::shared_ptr<CGuiEngineState>> m_Screens;
    std::shared_ptr<CGuiEngineState> m_DZSelection;
    std::string m_DZSelectionWindow;
    std::unique_ptr<DovuvUvozeVozediza::IEditorScreens> m_EditorScreens;
};

} // namespace sds
