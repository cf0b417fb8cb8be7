#include "gui/menus/TutorialMenuState.h"

#include <algorithm>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "core/ConfigPath.h"
#include "core/ILogMgr.h"
#include "core/services/IApplication.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"

namespace sds {
namespace GuiStates {

namespace {

const char* const TUTORIAL_LIST = "wndTutorial/lbTutorial";

// The position after the current tutorial; the end when it is absent or last.
std::vector<std::string>::const_iterator FindNextTutorial(const IGameMode& gameMode)
{
    const std::vector<std::string>& names = gameMode.GetTutorialNames();
    const auto current = std::find(names.begin(), names.end(), gameMode.GetCurrentTutorialName());
    return current == names.end() ? names.end() : current + 1;
}

} // namespace

CTutorialMenuState::CTutorialMenuState(CGuiEngine* owner) : CGuiEngineState(owner, "wndTutorial")
{
    FillList();
}

CTutorialMenuState::~CTutorialMenuState() = default;

void CTutorialMenuState::Enter()
{
    CGuiEngineState::Enter();
    m_Connections.push_back(Subscribe("btnStartTutorial", [this](const CGUIEvent& e) { OnStartTutorial(e); }));
    m_Connections.push_back(Subscribe("btnMainMenu", [this](const CGUIEvent& e) { OnMainMenu(e); }));
    if (GetConfigBool(IApplication::GetSingleton()->GetConfig(), "Switches->>ReloadDZs", false))
        FillList();
}

void CTutorialMenuState::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

void CTutorialMenuState::FillList()
{
    IGameMode* gameMode = CEngine::GetSingleton()->GetGameMode();
    if (!gameMode) {
        IGUI::GetSingleton()->ClearItems(TUTORIAL_LIST);
        return;
    }
    gameMode->LoadTutorials();
    IGUI::GetSingleton()->SetItems(TUTORIAL_LIST, gameMode->GetTutorialNames(), 0);
}

void CTutorialMenuState::OnStartTutorial(const CGUIEvent&)
{
    m_Owner->PopState();
    IGameMode* gameMode = CEngine::GetSingleton()->GetGameMode();
    if (!gameMode)
        return;
    std::string name = IGUI::GetSingleton()->GetSelectedItem(TUTORIAL_LIST);
    if (name.empty()) {
        const std::vector<std::string>& names = gameMode->GetTutorialNames();
        if (names.empty())
            return;
        name = names.front();
    }
    gameMode->SetCurrentTutorialName(name);
    if (!SelectTutorialDropZone(*gameMode))
        return;
    GoToInGameMenu(*m_Owner);
    ChangeToGameMode(*m_Owner, [this] { ShowAgain(*m_Owner); });
}

void CTutorialMenuState::ShowAgain(CGuiEngine& machine)
{
    GoToMainMenu(machine);
    ShowTutorials(machine);
}

void CTutorialMenuState::OnMainMenu(const CGUIEvent&)
{
    m_Owner->PopState();
}

bool CTutorialMenuState::HasNextTutorial(const IGameMode& gameMode)
{
    return FindNextTutorial(gameMode) != gameMode.GetTutorialNames().end();
}

bool CTutorialMenuState::AdvanceTutorial(IGameMode& gameMode)
{
    const auto next = FindNextTutorial(gameMode);
    if (next == gameMode.GetTutorialNames().end())
        return false;
    gameMode.SetCurrentTutorialName(*next);
    return true;
}

bool CTutorialMenuState::SelectTutorialDropZone(IGameMode& gameMode)
{
    // The list and the set part when the set is read again in between.
    if (gameMode.SelectCurrentTutorialDropZone())
        return true;
    ILogMgr::GetSingleton()->LogWarning("Tutorial is not available: " + gameMode.GetCurrentTutorialName());
    gameMode.SetCurrentTutorialName(std::string());
    return false;
}

} // namespace GuiStates
} // namespace sds
