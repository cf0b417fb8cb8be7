#pragma once

#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {

class IGameMode;

namespace GuiStates {

// The list of tutorials ("wndTutorial"): prepared jumps, flown one after the
// other. The tutorials belong to the game mode; without one the list is empty.
class CTutorialMenuState : public CGuiEngineState, public CSingletonTmpl<CTutorialMenuState>
{
public:
    // Loads the game mode's tutorials and lists them, the first selected.
    explicit CTutorialMenuState(CGuiEngine* owner);
    ~CTutorialMenuState() override;

    // With the "ReloadDZs" switch the tutorials are read again on each visit.
    void Enter() override;
    void Exit() override;

    // Flies the selected tutorial, or the first when none is selected.
    void OnStartTutorial(const CGUIEvent& event);
    // Back to the main menu.
    void OnMainMenu(const CGUIEvent& event);

    // Whether a tutorial follows the current one.
    static bool HasNextTutorial(const IGameMode& gameMode);
    // Makes the following tutorial current; false, and nothing changes, when
    // none follows.
    static bool AdvanceTutorial(IGameMode& gameMode);
    // Makes the current tutorial's drop zone the one to fly. A tutorial the
    // set no longer holds is logged and ends the tutorials: false.
    static bool SelectTutorialDropZone(IGameMode& gameMode);
    // The tutorial screen over the main menu, as the main menu's Tutorial opens it.
    static void ShowAgain(CGuiEngine& machine);

private:
    void FillList();

    CConnections m_Connections;
};

} // namespace GuiStates
} // namespace sds
