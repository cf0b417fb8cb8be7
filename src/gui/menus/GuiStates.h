#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Node.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {

class CGuiEngine;

// The ways other parts of the program move between screens. A screen that the
// program does not have is logged as not available and nothing changes.
namespace GuiStates {

class CMessageBoxState;

void GoToMainMenu(CGuiEngine& machine);
void GoToInGameMenu(CGuiEngine& machine);
void GoToDZSelection(CGuiEngine& machine);
// Changes the engine to its game mode, the in-game menu readied by the caller.
// A level that fails to load runs `backOnFailure` (it brings the screen the
// jump came from back) in menu mode and throws on, so that the failure is
// shown there.
void ChangeToGameMode(CGuiEngine& machine, const std::function<void()>& backOnFailure);
// The jump from the drop-zone selection, which comes back on failure.
void StartJumpFromSelection(CGuiEngine& machine);
void GoToHelp(CGuiEngine& machine);
// The force-field dialogs with the "Region" element they work on; false, having
// logged it, when the program has no such dialog.
bool GoToCreateForceField(CGuiEngine& machine, const xml::CNodePtr& field);
bool GoToEditForceField(CGuiEngine& machine, const xml::CNodePtr& field);
void ShowHelp(CGuiEngine& machine);
void ShowSettings(CGuiEngine& machine);
// The settings screen with the tab of that path selected
// ("wndSettings/tcSections/tabVideo").
void ShowVideoSettings(CGuiEngine& machine, const std::string& tab);
void ShowTutorials(CGuiEngine& machine);
void ShowJumpLog(CGuiEngine& machine);
// The jump log over the current screen. With `showJump` it goes on at once to
// the most recent jump's trajectory, `message` in the centre of the screen.
void ShowStatistics(CGuiEngine& machine, bool showJump, const std::string& message);
// Pushes a new message box showing `text`. The box holds itself until it is
// closed; the returned pointer tells whether it is still there.
std::weak_ptr<CMessageBoxState> ShowMessageBox(CGuiEngine& machine, const std::string& text);

// The drop-zone selection screens name the drop-zone files that could not be
// listed ("<file>: <reason>") in a message box, each file once: `reported`
// keeps those already named.
void ReportUnreadableDropZones(CGuiEngine& machine, const std::vector<std::string>& unreadable,
                               std::set<std::string>& reported);
// What Jump says when there is no drop zone to jump into.
std::string NoDropZoneText(const std::vector<std::string>& unreadable);

// The Exit of screens that keep a list of widget subscriptions: hides the
// window, then disconnects and forgets every connection.
void ExitAndUnsubscribe(CGuiEngineState& screen, CGuiEngineState::CConnections& connections);

// Logs "Warning: Screen is not available: <what>".
void LogScreenNotAvailable(const std::string& what);

} // namespace GuiStates
} // namespace sds
