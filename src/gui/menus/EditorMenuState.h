#pragma once

#include <string>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "core/Vector.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The force-field editor's menu ("wndEditorMenu"), over the paused editor and
// game mode: back to editing, save and go on editing, start a jump in the
// edited scene with or without saving it as its own file, help, main menu.
// A save that fails says so in a message box and the menu stays.
class CEditorMenuState : public CGuiEngineState, public CSingletonTmpl<CEditorMenuState>
{
public:
    explicit CEditorMenuState(CGuiEngine* owner);
    ~CEditorMenuState() override;

    void Enter() override;
    void Exit() override;

    void OnStartSimulation(const CGUIEvent& event);
    void OnStartSimulationNoSaving(const CGUIEvent& event);
    void OnMainMenu(const CGUIEvent& event);
    void OnSaveAndContinue(const CGUIEvent& event);

    // Saves the "scene" of the drop zone's working tree `tree` to `file` under
    // `fullName`. The working tree first keeps the camera's position as the
    // scene's camera and its boundaries fitted around start and target. False,
    // the reason logged, when the file could not be written; a scene without
    // what the fit or the file need throws the XML layer's exceptions.
    static bool SaveDropZone(const xml::CNodePtr& tree, const std::string& file, const std::string& fullName,
                             const CVector& cameraPos);

private:
    // Saves the current drop zone; false, with a message box, when it failed.
    bool Save(const std::string& file, const std::string& fullName);
    // Saves the scene to its own file.
    bool SaveToOwnFile();

    CConnections m_Connections;
};

} // namespace GuiStates
} // namespace sds
