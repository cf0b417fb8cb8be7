#include "gui/menus/StatisticsMenuState.h"

#include <algorithm>

#include <boost/algorithm/string/trim.hpp>
#include <boost/signals2/shared_connection_block.hpp>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "app/JumpRecord.h"
#include "app/Profile.h"
#include "core/ConfigPath.h"
#include "core/Helpers.h"
#include "core/services/IApplication.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/InfoLines.h"
#include "gui/menus/TutorialMenuState.h"

namespace sds {
namespace GuiStates {

namespace {

const char* const JUMP_LIST = "wndStatistics/lbSelectJumps";
const char* const JUMP_INFO = "wndStatistics/stInfo";
const char* const FILTER_DZ = "wndStatistics/chbFilterDZ";
const char* const FILTER_CONDITIONS = "wndStatistics/chbFilterConditions";
const char* const DONE = "wndStatistics/btnDone";
const char* const INFO_KEYS = "Name,Id";

// The text of the jump's "Info" entry of that name; a jump recorded without it
// (an older profile, an interrupted jump) counts as empty.
std::string InfoValue(const xml::CNodePtr& jumpInfo, const std::string& name)
{
    if (!jumpInfo || !jumpInfo->HasChildById("Info", name, INFO_KEYS))
        return std::string();
    return jumpInfo->GetChildById("Info", name, INFO_KEYS)->GetValue();
}

bool IsInGame(const CEngine& engine)
{
    return engine.m_GameModeState && engine.HasState(engine.m_GameModeState);
}

const std::string& CurrentTutorialName(const CEngine& engine)
{
    static const std::string none;
    const IGameMode* gameMode = engine.GetGameMode();
    return gameMode ? gameMode->GetCurrentTutorialName() : none;
}

} // namespace

CStatisticsMenuState::CStatisticsMenuState(CGuiEngine* owner) : CGuiEngineState(owner, "wndStatistics")
{
    const xml::CNodePtr& config = IApplication::GetSingleton()->GetConfig();
    const xml::CNodePtr jumpLog = config->GetChild("MenuStates")->GetChild("JumpLog");
    m_TitlePrefix = jumpLog->GetAttribute("JumpTitlePrefix")->GetValue();
    for (std::string name : SplitAtAnyOf(jumpLog->GetAttribute("JumpTitleSequence")->GetValue(), ","))
        m_TitleSequence.push_back(boost::algorithm::trim_copy(name));
    m_TrajectoryMessage = GetConfigString(config, "Trajectory->Message", "");
}

CStatisticsMenuState::~CStatisticsMenuState()
{
    m_SelectionConnection.disconnect();
}

void CStatisticsMenuState::Enter()
{
    CGuiEngineState::Enter();
    IGUI* gui = IGUI::GetSingleton();
    gui->SetEnabled(FILTER_CONDITIONS, false);
    m_Connections.push_back(Subscribe("btnJumpPlayer", [this](const CGUIEvent&) { ShowJump(std::string()); }));
    m_Connections.push_back(Subscribe("btnRepeatJump", [this](const CGUIEvent& e) { OnRepeatJump(e); }));
    m_Connections.push_back(Subscribe("btnDone", [this](const CGUIEvent& e) { OnDone(e); }));
    m_Connections.push_back(Subscribe("chbFilterDZ", [this](const CGUIEvent& e) { OnFilterDZ(e); }));
    m_Connections.push_back(Subscribe("chbFilterConditions", [this](const CGUIEvent& e) { OnFilterConditions(e); }));
    m_Connections.push_back(Subscribe("btnContinueTutorial", [this](const CGUIEvent& e) { OnContinueTutorial(e); }));
    m_SelectionConnection = Subscribe("lbSelectJumps", [this](const CGUIEvent& e) { OnJumpSelected(e); });

    m_SelectedTitle.clear();
    FillJumpList();

    const CEngine& engine = *CEngine::GetSingleton();
    const bool inGame = IsInGame(engine);
    gui->ShowWindow(m_WindowName + "/btnJumpPlayer", inGame);
    gui->ShowWindow(m_WindowName + "/btnRepeatJump", inGame);
    if (!inGame || !CurrentTutorialName(engine).empty()) {
        gui->SetText(DONE, "Main menu");
        gui->SetProperty(DONE, "Tooltip", "Go to main menu");
    } else {
        gui->SetText(DONE, "Change DZ");
        gui->SetProperty(DONE, "Tooltip", "Show DZ selection dialog");
    }
    const IGameMode* gameMode = engine.GetGameMode();
    const bool moreTutorials = gameMode && CTutorialMenuState::HasNextTutorial(*gameMode);
    gui->ShowWindow(m_WindowName + "/btnContinueTutorial", moreTutorials && inGame);
}

void CStatisticsMenuState::Exit()
{
    IGUI::GetSingleton()->ShowWindow(m_WindowName, false);
    m_SelectionConnection.disconnect();
    m_Connections.clear();
}

void CStatisticsMenuState::FillJumpList()
{
    const CEngine& engine = *CEngine::GetSingleton();
    const std::vector<CJumpRecord>& jumps = engine.GetCurrentProfile().GetJumps();
    if (jumps.empty())
        return;
    const boost::signals2::shared_connection_block quiet(m_SelectionConnection);

    // Out of game the user picks the jump the filters compare with.
    const CJumpRecord* reference = &jumps.back();
    if (!IsInGame(engine))
        if (const CJumpRecord* selected = FindSelectedJump())
            reference = selected;
    const std::string referenceZone = reference->Location;
    const std::string referenceConditions = InfoValue(reference->GetInfo(), "Configuration");

    IGUI* gui = IGUI::GetSingleton();
    const bool byZone = gui->IsChecked(FILTER_DZ);
    const bool byConditions = gui->IsChecked(FILTER_CONDITIONS);

    m_Titles.clear();
    std::vector<std::string> titles;
    for (std::uint32_t i = 0; i < jumps.size(); ++i) {
        const CJumpRecord& jump = jumps[i];
        if (byZone && jump.Location != referenceZone)
            continue;
        const xml::CNodePtr info = jump.GetInfo();
        // The conditions narrow only a list of one drop zone.
        if (byZone && byConditions && InfoValue(info, "Configuration") != referenceConditions)
            continue;
        const std::string title = MakeJumpTitle(info);
        titles.push_back(title);
        m_Titles[title] = i;
    }
    std::reverse(titles.begin(), titles.end());

    const auto selected = std::find(titles.begin(), titles.end(), m_SelectedTitle);
    const unsigned position = selected == titles.end() ? 0u : static_cast<unsigned>(selected - titles.begin());
    gui->SetItems(JUMP_LIST, titles, position);
    OnJumpSelected(CGUIEvent());
    m_SelectedTitle = gui->GetSelectedItem(JUMP_LIST);
}

const CJumpRecord* CStatisticsMenuState::FindSelectedJump() const
{
    if (m_SelectedTitle.empty())
        return nullptr;
    const auto found = m_Titles.find(m_SelectedTitle);
    const std::vector<CJumpRecord>& jumps = CEngine::GetSingleton()->GetCurrentProfile().GetJumps();
    if (found == m_Titles.end() || found->second >= jumps.size())
        return nullptr;
    return &jumps[found->second];
}

std::string CStatisticsMenuState::MakeJumpTitle(const xml::CNodePtr& jumpInfo) const
{
    std::string title = m_TitlePrefix;
    for (std::size_t i = 0; i < m_TitleSequence.size(); ++i) {
        if (!jumpInfo || !jumpInfo->HasChildById("Info", m_TitleSequence[i], INFO_KEYS))
            continue;
        title += (i == 0 ? "" : ", ") +
                 FormatInfoLine(*jumpInfo->GetChildById("Info", m_TitleSequence[i], INFO_KEYS), "", false);
    }
    return title;
}

void CStatisticsMenuState::OnJumpSelected(const CGUIEvent&)
{
    IGUI* gui = IGUI::GetSingleton();
    const std::string title = gui->GetSelectedItem(JUMP_LIST);
    if (title == m_SelectedTitle)
        return;
    m_SelectedTitle = title;
    const CJumpRecord* jump = FindSelectedJump();
    gui->SetText(JUMP_INFO, jump ? FormatInfoLines(*jump->GetInfo(), "Info") : std::string());
}

void CStatisticsMenuState::OnFilterDZ(const CGUIEvent&)
{
    IGUI* gui = IGUI::GetSingleton();
    gui->SetEnabled(FILTER_CONDITIONS, gui->IsChecked(FILTER_DZ));
    FillJumpList();
}

void CStatisticsMenuState::OnFilterConditions(const CGUIEvent&)
{
    FillJumpList();
}

void CStatisticsMenuState::ShowJump(const std::string& message)
{
    CEngine* engine = CEngine::GetSingleton();
    IGameMode* gameMode = engine->GetGameMode();
    if (!gameMode) {
        LogScreenNotAvailable("trajectory viewer");
        return;
    }
    const std::vector<CJumpRecord>& jumps = engine->GetCurrentProfile().GetJumps();
    if (jumps.empty())
        return;
    std::vector<const CJumpRecord*> shown{&jumps.back()};
    const CJumpRecord* selected = FindSelectedJump();
    if (selected && selected != shown.front())
        shown.push_back(selected);
    gameMode->ShowTrajectories(shown);
    engine->PopState();
    gameMode->ShowCenterMessage(message + m_TrajectoryMessage);
}

void CStatisticsMenuState::OnRepeatJump(const CGUIEvent&)
{
    CEngine* engine = CEngine::GetSingleton();
    engine->PopState();
    if (IGameMode* gameMode = engine->GetGameMode())
        gameMode->Restart();
}

void CStatisticsMenuState::OnDone(const CGUIEvent&)
{
    CEngine* engine = CEngine::GetSingleton();
    const bool backToSelection = IsInGame(*engine) && CurrentTutorialName(*engine).empty();
    engine->PopState();
    engine->PopState();
    if (backToSelection)
        GoToDZSelection(*m_Owner);
    else
        GoToMainMenu(*m_Owner);
    engine->ChangeState(engine->m_MenuModeState);
}

void CStatisticsMenuState::OnContinueTutorial(const CGUIEvent&)
{
    CEngine* engine = CEngine::GetSingleton();
    IGameMode* gameMode = engine->GetGameMode();
    if (!gameMode || !CTutorialMenuState::AdvanceTutorial(*gameMode))
        return;
    if (!CTutorialMenuState::SelectTutorialDropZone(*gameMode))
        return;
    GoToInGameMenu(*m_Owner);
    engine->PopState();
    engine->PopState();
    // The jump log belonged to the jump that has ended: a tutorial that cannot
    // be loaded brings the tutorial screen back, where the next one can be chosen.
    ChangeToGameMode(*m_Owner, [this] { CTutorialMenuState::ShowAgain(*m_Owner); });
}

} // namespace GuiStates
} // namespace sds
