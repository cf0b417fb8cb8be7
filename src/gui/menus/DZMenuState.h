#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "gui/menus/DZMenuDesc.h"
#include "gui/menus/GuiEngineState.h"
#include "gui/menus/JumpSettingsLists.h"
#include "gui/menus/PresetsDocument.h"

namespace sds {

class CDropZoneLevel;

namespace GuiStates {

// The screen where a jump is set up and started ("wndDropZone"): drop zone,
// wind, exit weight, canopy size, input type, altitude, distance to the
// target and altimeter, set one by one or from a named preset. The list of
// presets follows the widgets: settings that equal no selected preset are
// stored and selected as "Custom". Jump writes the settings into the drop
// zone's working tree and starts the game mode.
class CDZMenuState : public CGuiEngineState, public CSingletonTmpl<CDZMenuState>
{
public:
    // Opens the presets file and fills the altimeter, wind-direction and
    // input-type lists, which stay for the screen's life. No altimeter throws.
    explicit CDZMenuState(CGuiEngine* owner);
    ~CDZMenuState() override;

    // Rebuilds the weight, size and preset lists and the spinner ranges, then
    // selects the first preset, or "Custom" when the widgets differ from it.
    void Enter() override;
    void Exit() override;

    // Jump: builds the jump's scene preset into the chosen drop zone's working
    // tree, then changes to the in-game menu and the engine to game mode.
    void ApplyToScene(const CGUIEvent& event);
    void OnSavePreset(const CGUIEvent& event);
    void OnDeletePreset(const CGUIEvent& event);
    // Keeps the selected preset when the widgets equal it, else stores them as
    // "Custom"; without a drop zone there is nothing to store.
    void SelectMatchingPreset();
    // Sets the widgets from the selected preset and shows its description.
    void ApplyPreset();

    // A "Preset" of the eleven rows read from the widgets.
    xml::CNodePtr BuildPresetInfo();
    // The jump's scene "Preset": the configuration's template with the wind,
    // the jumper's start and the preset's rows for the jump record.
    xml::CNodePtr BuildScenePreset(const xml::CNodePtr& preset, const CDropZoneLevel& dropZone);
    void SavePreset(const std::string& name);
    // Refills the list, selects `name` (the first preset when there is none of
    // that name) and applies it; an empty document first gets "Custom".
    void RefreshPresetList(const std::string& name);
    // Raises every spinner below its configured minimum to that minimum.
    void ClampToMinimum();
    std::string GetPresetDescription(const std::string& name) const;

    const CPresetsDocument& GetPresets() const { return m_Presets; }

private:
    // Sets the widget of one of the preset's rows; a value that is not a
    // number throws xml::CBadValueException.
    void ApplyPresetRow(const std::string& row, const xml::CNode& info);
    float ReadSpinner(const std::string& spinner, const std::string& category) const;
    void SavePresetsFile();

    const CDZMenuDesc m_Desc;
    CJumpSettingsLists m_Lists;
    CConnections m_Connections;
    CPresetsDocument m_Presets;
    std::vector<std::string> m_DropZoneNames;
    std::set<std::string> m_ReportedUnreadable;
};

} // namespace GuiStates
} // namespace sds
