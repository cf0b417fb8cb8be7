#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "gui/menus/DZMenuDesc.h"
#include "gui/menus/GuiEngineState.h"
#include "gui/menus/JumpSettingsLists.h"

namespace sds {
namespace GuiStates {

// The force-field edition's screen that starts a jump ("wndForceField"): the
// force-field scenes with their elevation, number of fields and the user's
// scores on them; exit weight, canopy size and controls; Jump flies the
// scene, Edit opens it in the force-field editor, Create writes a new scene
// from the editor template and opens it there.
class CForceFieldsState : public CGuiEngineState, public CSingletonTmpl<CForceFieldsState>
{
public:
    // Fills the controls and the scene lists, which stay for the screen's life.
    explicit CForceFieldsState(CGuiEngine* owner);
    ~CForceFieldsState() override;

    // Rebuilds the weight and size lists and describes the selected scene.
    void Enter() override;
    void Exit() override;

    void OnJump(const CGUIEvent& event);
    void OnEdit(const CGUIEvent& event);
    // A name that is empty, taken by the editor's own scene or by a file of
    // another scene is refused in a message box; so is a file that cannot be
    // written. A name of a listed scene opens that scene.
    void OnCreate(const CGUIEvent& event);
    // An empty selection selects the scene selected before.
    void OnDropZoneSelected(const CGUIEvent& event);

    // The rows of the selected scene: name, elevation, number of force
    // fields, then those of AddScoreInfo. An unknown scene throws sds::CException.
    void AddDropZoneInfo(const xml::CNodePtr& preset) const;
    // The current profile's jumps on the selected scene: their number, best
    // and average score (a jump without a score counts as 0) and the time
    // under canopy.
    void AddScoreInfo(const xml::CNodePtr& preset) const;
    // The jump's "Preset": the scene's rows, then the chosen configuration.
    xml::CNodePtr BuildPreset();

    // The file a scene of that name is written to, without folder and
    // extension: characters that are not safe in file names become "_", runs
    // of "_" one, and a name past 50 characters is cut to 49.
    static std::string FileNameOf(const std::string& fullName);

private:
    // Takes the game mode's scene names and offers them, `selected` selected
    // when it is listed, else the first.
    void FillDropZoneList(const std::string& selected);
    // Builds the jump into the selected scene's working tree and starts the
    // game mode, in the editor when `editing`.
    void StartScene(bool editing);
    // Why a scene cannot be written to that file; empty when it can.
    std::string RefuseNewScene(const std::string& fileName, const std::string& path) const;

    const CDZMenuDesc m_Desc;
    CJumpSettingsLists m_Lists;
    CConnections m_Connections;
    std::vector<std::string> m_DropZoneNames;
    std::set<std::string> m_ReportedUnreadable;
    std::string m_LastSelected;
};

} // namespace GuiStates
} // namespace sds
