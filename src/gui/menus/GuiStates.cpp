#include "gui/menus/GuiStates.h"

#include "core/ILogMgr.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/HelpState.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/MessageBoxState.h"

namespace sds {
namespace GuiStates {

namespace {

bool PushScreen(CGuiEngine& machine, const std::string& windowName)
{
    CGuiEngineState* screen = machine.FindScreen(windowName);
    if (!screen) {
        LogScreenNotAvailable(windowName);
        return false;
    }
    machine.PushState(screen);
    return true;
}

} // namespace

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

void GoToHelp(CGuiEngine& machine)
{
    machine.ChangeState(CHelpState::GetSingleton());
}

void ShowHelp(CGuiEngine& machine)
{
    machine.PushState(CHelpState::GetSingleton());
}

void ShowSettings(CGuiEngine& machine)
{
    PushScreen(machine, "wndSettings");
}

void ShowVideoSettings(CGuiEngine& machine, const std::string& tab)
{
    if (PushScreen(machine, "wndSettings"))
        IGUI::GetSingleton()->SelectTab("wndSettings/tcSections", tab);
}

void ShowTutorials(CGuiEngine& machine)
{
    PushScreen(machine, "wndTutorial");
}

void ShowJumpLog(CGuiEngine& machine)
{
    PushScreen(machine, "wndStatistics");
}

void ShowStatistics(CGuiEngine& machine, bool, const std::string&)
{
    PushScreen(machine, "wndStatistics");
}

std::weak_ptr<CMessageBoxState> ShowMessageBox(CGuiEngine& machine, const std::string& text)
{
    std::shared_ptr<CMessageBoxState> box = std::make_shared<CMessageBoxState>(&machine, text);
    box->KeepAlive(box);
    machine.PushState(box.get());
    return box;
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
