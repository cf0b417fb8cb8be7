#include "gui/menus/InGameMenuState.h"

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "core/Exception.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/MainMenuState.h"

namespace sds {
namespace GuiStates {

CInGameMenuState::CInGameMenuState(CGuiEngine* owner) : CGuiEngineState(owner, "wndInGameMenu")
{
}

CInGameMenuState::~CInGameMenuState() = default;

void CInGameMenuState::Enter()
{
    CGuiEngineState::Enter();
    CGuiEngine& machine = *m_Owner;
    m_Connections.push_back(Subscribe("btnContinue", &CInGameMenuState::OnContinue));
    m_Connections.push_back(Subscribe("btnEndSimulation", [this](const CGUIEvent& e) { OnEndSimulation(e); }));
    m_Connections.push_back(Subscribe("btnHelp", [&machine](const CGUIEvent&) { ShowHelp(machine); }));
    m_Connections.push_back(Subscribe("btnMainMenu", [this](const CGUIEvent& e) { OnMainMenu(e); }));
    m_Connections.push_back(Subscribe("btnEdit", [this](const CGUIEvent& e) { OnEdit(e); }));
    // A tutorial is flown as it was prepared.
    const IGameMode* gameMode = CEngine::GetSingleton()->GetGameMode();
    IGUI::GetSingleton()->ShowWindow(m_WindowName + "/btnEdit",
                                     !gameMode || gameMode->GetCurrentTutorialName().empty());
}

void CInGameMenuState::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

void CInGameMenuState::OnContinue(const CGUIEvent&)
{
    CEngine::GetSingleton()->PopState();
}

void CInGameMenuState::OnEndSimulation(const CGUIEvent&)
{
    CEngine* engine = CEngine::GetSingleton();
    engine->PopState();
    // The jump ends where it stands and its trajectory is shown, as after a landing.
    if (IGameMode* gameMode = engine->GetGameMode())
        gameMode->ShowTrajectory(false, "");
}

void CInGameMenuState::OnMainMenu(const CGUIEvent&)
{
    CEngine* engine = CEngine::GetSingleton();
    SDS_ASSERT(engine->m_MenuModeState && "The engine has no menu mode");
    engine->PopState();
    GoToMainMenu(*m_Owner);
    engine->ChangeState(engine->m_MenuModeState);
}

void CInGameMenuState::OnEdit(const CGUIEvent&)
{
    CEngine* engine = CEngine::GetSingleton();
    if (!engine->m_EditorState) {
        LogScreenNotAvailable("force-field editor");
        return;
    }
    // The level is edited, not flown, until a jump is started from the editor's menu.
    if (IGameMode* gameMode = engine->GetGameMode())
        gameMode->SetEditFlag(true);
    engine->PopState();
    engine->PushState(engine->m_EditorState);
}

} // namespace GuiStates
} // namespace sds
