#pragma once

#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {
namespace GuiStates {

// The first screen after the splash screens ("wndMainMenu"): start a jump,
// tutorials, jump log, settings, help, exit.
class CMainMenuState : public CGuiEngineState, public CSingletonTmpl<CMainMenuState>
{
public:
    explicit CMainMenuState(CGuiEngine* owner);
    ~CMainMenuState() override;

    void Enter() override;
    void Exit() override;

    // Asks the engine to end the program on its next frame.
    void OnExit(const CGUIEvent& event);
    // Changes to the screen that starts a jump.
    void OnStart(const CGUIEvent& event);

private:
    CConnections m_Connections;
};

} // namespace GuiStates
} // namespace sds
