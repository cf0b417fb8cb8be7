#pragma once

#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The menu of a paused jump ("wndInGameMenu"), shown while the engine's menu
// mode lies over the game mode.
class CInGameMenuState : public CGuiEngineState, public CSingletonTmpl<CInGameMenuState>
{
public:
    explicit CInGameMenuState(CGuiEngine* owner);
    ~CInGameMenuState() override;

    void Enter() override;
    void Exit() override;

    // Leaves menu mode: the state below it (the jump, the editor) goes on.
    static void OnContinue(const CGUIEvent& event);
    void OnEndSimulation(const CGUIEvent& event);
    // Leaves the jump for the main menu.
    void OnMainMenu(const CGUIEvent& event);
    // Opens the force-field editor over the paused jump.
    void OnEdit(const CGUIEvent& event);

private:
    CConnections m_Connections;
};

} // namespace GuiStates
} // namespace sds
