#include "gui/menus/MainMenuState.h"

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "app/Profile.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"

namespace sds {
namespace GuiStates {

CMainMenuState::CMainMenuState(CGuiEngine* owner) : CGuiEngineState(owner, "wndMainMenu")
{
}

CMainMenuState::~CMainMenuState() = default;

void CMainMenuState::Enter()
{
    CGuiEngineState::Enter();
    CGuiEngine& machine = *m_Owner;
    m_Connections.push_back(Subscribe("btnExit", [this](const CGUIEvent& e) { OnExit(e); }));
    m_Connections.push_back(Subscribe("btnStart", [this](const CGUIEvent& e) { OnStart(e); }));
    m_Connections.push_back(Subscribe("btnHelp", [&machine](const CGUIEvent&) { ShowHelp(machine); }));
    m_Connections.push_back(Subscribe("btnSettings", [&machine](const CGUIEvent&) { ShowSettings(machine); }));
    m_Connections.push_back(Subscribe("btnJumpLog", [&machine](const CGUIEvent&) { ShowJumpLog(machine); }));
    m_Connections.push_back(Subscribe("btnTutorial", [&machine](const CGUIEvent&) { ShowTutorials(machine); }));

    CEngine* engine = CEngine::GetSingleton();
    IGameMode* gameMode = engine->GetGameMode();
    IGUI* gui = IGUI::GetSingleton();
    gui->ShowWindow(m_WindowName + "/btnTutorial", gameMode && !gameMode->GetTutorialNames().empty());
    // Back at the main menu a tutorial sequence is over.
    if (gameMode)
        gameMode->SetCurrentTutorialName(std::string());
    gui->SetEnabled(m_WindowName + "/btnJumpLog", !engine->GetCurrentProfile().GetJumps().empty());
}

void CMainMenuState::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

void CMainMenuState::OnExit(const CGUIEvent&)
{
    CEngine::GetSingleton()->RequestQuit();
}

void CMainMenuState::OnStart(const CGUIEvent&)
{
    GoToDZSelection(*m_Owner);
}

} // namespace GuiStates
} // namespace sds
