#include "gui/menus/GuiStates.h"

#include "app/Engine.h"
#include "core/ILogMgr.h"
#include "gui/IGUI.h"
#include "gui/menus/CreateForceField.h"
#include "gui/menus/EditForceField.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/HelpState.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/MessageBoxState.h"
#include "gui/menus/SettingsMenuState.h"
#include "gui/menus/StatisticsMenuState.h"
#include "gui/menus/TutorialMenuState.h"

namespace sds {
namespace GuiStates {

void GoToMainMenu(CGuiEngine& machine)
{
    machine.ChangeState(CMainMenuState::GetSingleton());
}

void GoToInGameMenu(CGuiEngine& machine)
{
    machine.ChangeState(CInGameMenuState::GetSingleton());
}

void GoToDZSelection(CGuiEngine& machine)
{
    if (CGuiEngineState* selection = machine.GetDZSelection())
        machine.ChangeState(selection);
    else
        LogScreenNotAvailable(machine.GetDZSelectionWindow().empty() ? "drop-zone selection"
                                                                     : machine.GetDZSelectionWindow());
}

void ChangeToGameMode(CGuiEngine& machine, const std::function<void()>& backOnFailure)
{
    CEngine* engine = CEngine::GetSingleton();
    try {
        engine->ChangeState(engine->m_GameModeState);
    } catch (...) {
        // Menu mode has gone with the change: without it the user would face a
        // level that is not there, with no way back.
        backOnFailure();
        engine->ChangeState(engine->m_MenuModeState);
        throw;
    }
}

void StartJumpFromSelection(CGuiEngine& machine)
{
    GoToInGameMenu(machine);
    ChangeToGameMode(machine, [&machine] { GoToDZSelection(machine); });
}

void GoToHelp(CGuiEngine& machine)
{
    machine.ChangeState(CHelpState::GetSingleton());
}

bool GoToCreateForceField(CGuiEngine& machine, const xml::CNodePtr& field)
{
    CCreateForceField* dialog = CCreateForceField::GetSingleton();
    if (!dialog) {
        LogScreenNotAvailable("wndCreateForceField");
        return false;
    }
    dialog->SetForceField(field);
    machine.ChangeState(dialog);
    return true;
}

bool GoToEditForceField(CGuiEngine& machine, const xml::CNodePtr& field)
{
    CEditForceField* dialog = CEditForceField::GetSingleton();
    if (!dialog) {
        LogScreenNotAvailable("wndEditForceField");
        return false;
    }
    dialog->SetForceField(field);
    machine.ChangeState(dialog);
    return true;
}

void ShowHelp(CGuiEngine& machine)
{
    machine.PushState(CHelpState::GetSingleton());
}

void ShowSettings(CGuiEngine& machine)
{
    machine.PushState(CSettingsMenuState::GetSingleton());
}

void ShowVideoSettings(CGuiEngine& machine, const std::string& tab)
{
    ShowSettings(machine);
    IGUI::GetSingleton()->SelectTab("wndSettings/tcSections", tab);
}

void ShowTutorials(CGuiEngine& machine)
{
    machine.PushState(CTutorialMenuState::GetSingleton());
}

void ShowJumpLog(CGuiEngine& machine)
{
    machine.PushState(CStatisticsMenuState::GetSingleton());
}

void ShowStatistics(CGuiEngine& machine, bool showJump, const std::string& message)
{
    CStatisticsMenuState* statistics = CStatisticsMenuState::GetSingleton();
    machine.PushState(statistics);
    if (showJump)
        statistics->ShowJump(message);
}

std::weak_ptr<CMessageBoxState> ShowMessageBox(CGuiEngine& machine, const std::string& text)
{
    std::shared_ptr<CMessageBoxState> box = std::make_shared<CMessageBoxState>(&machine, text);
    box->KeepAlive(box);
    machine.PushState(box.get());
    return box;
}

namespace {

// The box holds a few lines; the log holds them all.
const std::size_t kListedFiles = 4;

std::string ListFiles(const std::vector<std::string>& files)
{
    std::string text;
    for (std::size_t i = 0; i < files.size() && i < kListedFiles; ++i)
        text += "\n" + files[i];
    if (files.size() > kListedFiles)
        text += "\nand " + std::to_string(files.size() - kListedFiles) + " more (see the log).";
    return text;
}

} // namespace

void ReportUnreadableDropZones(CGuiEngine& machine, const std::vector<std::string>& unreadable,
                               std::set<std::string>& reported)
{
    std::vector<std::string> news;
    for (const std::string& file : unreadable)
        if (reported.insert(file).second)
            news.push_back(file);
    if (news.empty())
        return;
    ShowMessageBox(machine, std::string(news.size() == 1 ? "This drop-zone file cannot be read and is not listed:"
                                                          : "These drop-zone files cannot be read and are not listed:") +
                                ListFiles(news));
}

std::string NoDropZoneText(const std::vector<std::string>& unreadable)
{
    std::string text = "There is no drop zone to jump into.";
    if (!unreadable.empty())
        text += " No drop-zone file can be read:" + ListFiles(unreadable);
    return text;
}

void ExitAndUnsubscribe(CGuiEngineState& screen, CGuiEngineState::CConnections& connections)
{
    IGUI::GetSingleton()->ShowWindow(screen.GetWindowName(), false);
    connections.clear();
}

void LogScreenNotAvailable(const std::string& what)
{
    ILogMgr::GetSingleton()->LogWarning("Screen is not available: " + what);
}

} // namespace GuiStates
} // namespace sds
