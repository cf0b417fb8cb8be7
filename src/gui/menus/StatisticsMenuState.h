#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "gui/menus/GuiEngineState.h"

namespace sds {

class CJumpRecord;

namespace GuiStates {

// The jump log ("wndStatistics"): the current profile's jumps, most recent
// first, narrowed to the drop zone and the conditions of a reference jump,
// with the selected jump's information. After a landing the game mode opens
// it over the in-game menu; there it also replays trajectories, repeats the
// jump, goes on with a tutorial or leaves the drop zone.
class CStatisticsMenuState : public CGuiEngineState, public CSingletonTmpl<CStatisticsMenuState>
{
public:
    // Reads "MenuStates"/"JumpLog" ("JumpTitlePrefix", "JumpTitleSequence")
    // and "Trajectory"/"Message" of the configuration.
    explicit CStatisticsMenuState(CGuiEngine* owner);
    ~CStatisticsMenuState() override;

    // Lists the jumps with the most recent selected.
    void Enter() override;
    void Exit() override;

    // Leaves the menus for the trajectory of the most recent jump, and that of
    // the selected one when it is another, with `message` and the hint how to
    // come back in the centre of the screen. Nothing without a jump.
    void ShowJump(const std::string& message);

    void OnRepeatJump(const CGUIEvent& event);
    // To the drop-zone selection after a jump, else to the main menu.
    void OnDone(const CGUIEvent& event);
    void OnFilterDZ(const CGUIEvent& event);
    void OnFilterConditions(const CGUIEvent& event);
    void OnContinueTutorial(const CGUIEvent& event);
    // Shows the information of the jump selected in the list.
    void OnJumpSelected(const CGUIEvent& event);

    // The prefix followed by the jump's "Info" values named by the title sequence.
    std::string MakeJumpTitle(const xml::CNodePtr& jumpInfo) const;

private:
    void FillJumpList();
    // The jump the selected title names; null when no title is selected or
    // the title is not listed.
    const CJumpRecord* FindSelectedJump() const;

    CConnections m_Connections;
    // Kept apart so that refilling the list does not report its selection.
    boost::signals2::connection m_SelectionConnection;
    // Listed title -> the jump's position in the profile.
    std::map<std::string, std::uint32_t> m_Titles;
    std::string m_SelectedTitle;
    std::string m_TitlePrefix;
    std::vector<std::string> m_TitleSequence;
    // Shown after the caller's message when a trajectory is on screen.
    std::string m_TrajectoryMessage;
};

} // namespace GuiStates
} // namespace sds
