#include "gui/menus/DZMenuState.h"

#include <algorithm>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "core/ConfigPath.h"
#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "core/UnitConverter.h"
#include "core/services/IApplication.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/InfoLines.h"
#include "gui/menus/JumpSettingsLists.h"
#include "gui/menus/PresetRows.h"
#include "jumper/EquipmentManager.h"
#include "scene/DropZoneLevel.h"

namespace sds {
namespace GuiStates {

namespace {

const char* const kDropZones = "wndDropZone/cbDropZones";
const char* const kWindStrength = "wndDropZone/spWindStrength";
const char* const kWindDirection = "wndDropZone/cbWindDirection";
const char* const kRandomWind = "wndDropZone/chbRandomWind";
const char* const kWeight = "wndDropZone/cbWeight";
const char* const kSize = "wndDropZone/cbSize";
const char* const kInputType = "wndDropZone/cbInputType";
const char* const kAltitude = "wndDropZone/spAltitude";
const char* const kTargetDistance = "wndDropZone/spTargetDistance";
const char* const kAltimeter = "wndDropZone/cbAltimeter";
const char* const kSections = "wndDropZone/tcSections";
const char* const kPresetsTab = "wndDropZone/tcSections/tabConfigurations";
const char* const kPresets = "wndDropZone/lbPresets";
const char* const kPresetName = "wndDropZone/ebPresetName";
const char* const kDescription = "wndDropZone/mebPresetDescription";

const char* const kCustom = "Custom";

// The rows of a preset that travel with the jump into its record, in order.
const char* const kJumpRecordRows[] = {"Drop zone name", "Wind direction", "Altitude",
                                       "Distance to target at altitude", "Canopy size", "Exit weight",
                                       "Input type", "Drop zone elevation", "Altimeter"};

// The rows a preset sets on the widgets, in the order they are applied.
const char* const kWidgetRows[] = {"Drop zone name", "Wind strength", "Wind direction", "Exit weight",
                                   "Canopy size", "Altitude", "Distance to target at altitude",
                                   "Altimeter", "Input type", "Random wind"};

IGUI& Gui()
{
    return *IGUI::GetSingleton();
}

const CUnitConverter& Units()
{
    return *CUnitConverter::GetSingleton();
}

IGameMode* GetGameMode()
{
    CEngine* engine = CEngine::GetSingleton();
    return engine ? engine->GetGameMode() : nullptr;
}

xml::CNodePtr Config()
{
    return IApplication::GetSingleton()->GetConfig();
}

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace

CDZMenuState::CDZMenuState(CGuiEngine* owner)
    : CGuiEngineState(owner, "wndDropZone"), m_Desc(ReadDZMenuDesc(*Config())), m_Lists(kWeight, kSize), m_Presets(m_Desc.PresetsPath)
{
    if (CEngine* engine = CEngine::GetSingleton())
        engine->AddNotice(m_Presets.GetNotice());
    if (IGameMode* gameMode = GetGameMode())
        m_DropZoneNames = gameMode->GetDropZoneNames();

    CEquipmentManager* equipment = CEquipmentManager::GetSingleton();
    SDS_ASSERT(equipment && "The engine has no equipment manager");
    const std::vector<std::string> altimeters = equipment->GetAltimeterNames();
    if (altimeters.empty())
        throw std::runtime_error("!Altimeters.empty() && \"There should be at least one altimeter.\"");
    IGUI& gui = Gui();
    gui.SetItems(kAltimeter, altimeters, 0);
    gui.SetText(kAltimeter, altimeters.front());

    std::vector<std::string> directions;
    for (const CDZMenuDesc::CWindDirection& direction : m_Desc.WindDirections)
        directions.push_back(direction.Name);
    gui.SetItems(kWindDirection, directions, 0);
    gui.SetItems(kInputType, m_Desc.InputTypes, 0);
}

CDZMenuState::~CDZMenuState() = default;

void CDZMenuState::Enter()
{
    m_Lists.Fill(m_Desc);
    CGuiEngineState::Enter();

    CGuiEngine& machine = *m_Owner;
    m_Connections.push_back(Subscribe("btnJump", [this](const CGUIEvent& e) { ApplyToScene(e); }));
    m_Connections.push_back(Subscribe("btnBack", [&machine](const CGUIEvent&) { GoToMainMenu(machine); }));
    m_Connections.push_back(Subscribe("btnSavePreset", [this](const CGUIEvent& e) { OnSavePreset(e); }));
    m_Connections.push_back(Subscribe("btnDeletePreset", [this](const CGUIEvent& e) { OnDeletePreset(e); }));
    m_Connections.push_back(Subscribe("tcSections", [this](const CGUIEvent&) { SelectMatchingPreset(); }));

    if (Config()->GetChild("Switches")->GetAttribute<bool>("ReloadDZs", false)) {
        IGameMode* gameMode = GetGameMode();
        m_DropZoneNames = gameMode ? gameMode->GetDropZoneNames() : std::vector<std::string>();
    }
    if (!m_DropZoneNames.empty())
        Gui().SetItems(kDropZones, m_DropZoneNames, 0);

    m_Connections.push_back(Subscribe("lbPresets", [this](const CGUIEvent&) { ApplyPreset(); }));

    ApplySpinnerRanges(m_Desc);
    RefreshPresetList("");
    SelectMatchingPreset();
    // Last: the box covers the screen once it is whole.
    if (IGameMode* gameMode = GetGameMode())
        ReportUnreadableDropZones(*m_Owner, gameMode->GetUnreadableDropZones(), m_ReportedUnreadable);
}

void CDZMenuState::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

float CDZMenuState::ReadSpinner(const std::string& spinner, const std::string& category) const
{
    const CUnitConverter::CUnit& unit = Units().GetUnit(category);
    return (Gui().GetSpinnerValue(spinner) - unit.Offset) / unit.Coefficient;
}

xml::CNodePtr CDZMenuState::BuildPresetInfo()
{
    IGUI& gui = Gui();
    const std::string dropZone = gui.GetText(kDropZones);
    float elevation = 0.0f;
    if (IGameMode* gameMode = GetGameMode()) {
        const IGameMode::CDropZones& dropZones = gameMode->GetDropZones();
        const auto found = dropZones.find(dropZone);
        if (found != dropZones.end())
            elevation = GetConfigFloat(found->second->GetWorkingTree(), "scene->GroundLevel->>Value", 0.0f);
    }

    xml::CNodePtr preset(new xml::CNode("Preset", false));
    AddRow(preset, "Drop zone name", "", dropZone);
    AddRow(preset, "Wind strength", "Speed", ToString(ReadSpinner(kWindStrength, "Speed")));
    AddRow(preset, "Wind direction", "", gui.GetText(kWindDirection));
    AddRow(preset, "Random wind", "", ToString(gui.IsChecked(kRandomWind)));
    AddRow(preset, "Exit weight", "Mass", ToString(m_Lists.ReadWeight()));
    AddRow(preset, "Canopy size", "Area", ToString(m_Lists.ReadSize()));
    AddRow(preset, "Altitude", "Distance", ToString(ReadSpinner(kAltitude, "Distance")));
    AddRow(preset, "Distance to target at altitude", "Distance", ToString(ReadSpinner(kTargetDistance, "Distance")));
    AddRow(preset, "Altimeter", "", gui.GetText(kAltimeter));
    AddRow(preset, "Input type", "", gui.GetText(kInputType));
    AddRow(preset, "Drop zone elevation", "Distance", ToString(elevation));
    return preset;
}

void CDZMenuState::SavePreset(const std::string& name)
{
    m_Presets.StorePreset(name, BuildPresetInfo());
    SavePresetsFile();
    RefreshPresetList(name);
}

void CDZMenuState::SavePresetsFile()
{
    if (m_Presets.Save())
        return;
    const std::string failure = "The presets could not be saved in " + m_Presets.GetPath() +
                                ". Your changes are kept until the program ends.";
    ILogMgr::GetSingleton()->LogError(failure);
    ShowMessageBox(*m_Owner, failure);
}

void CDZMenuState::OnSavePreset(const CGUIEvent&)
{
    const std::string name = Gui().GetText(kPresetName);
    if (IsBlank(name)) {
        ShowMessageBox(*m_Owner, "Type a name for the preset before saving it.");
        return;
    }
    SavePreset(name);
}

void CDZMenuState::OnDeletePreset(const CGUIEvent&)
{
    const std::string selected = Gui().GetSelectedItem(kPresets);
    if (selected.empty())
        return;
    m_Presets.DeletePreset(selected);
    SavePresetsFile();
    RefreshPresetList("");
}

void CDZMenuState::RefreshPresetList(const std::string& name)
{
    const std::vector<std::string>& names = m_Presets.GetNames();
    if (names.empty()) {
        if (!Gui().GetText(kDropZones).empty())
            SavePreset(kCustom);
        else
            Gui().SetItems(kPresets, names, 0);
        return;
    }
    const auto found = std::find(names.begin(), names.end(), name);
    Gui().SetItems(kPresets, names, static_cast<unsigned>(found - names.begin()));
    ApplyPreset();
}

void CDZMenuState::SelectMatchingPreset()
{
    // Settings without a drop zone are no jump: a preset of them would lose
    // the drop zone, its elevation and more.
    if (Gui().GetText(kDropZones).empty())
        return;
    const xml::CNodePtr settings = BuildPresetInfo();
    const std::string selected = Gui().GetSelectedItem(kPresets);
    if (!selected.empty() && m_Presets.PresetMatches(settings, selected))
        return;
    ClampToMinimum();
    SavePreset(kCustom);
}

void CDZMenuState::ApplyPreset()
{
    const std::string name = Gui().GetSelectedItem(kPresets);
    if (name.empty()) {
        Gui().SetText(kDescription, "Nothing is selected");
        return;
    }
    const xml::CNodePtr preset = m_Presets.FindPreset(name);
    // A damaged preset sets what it can; the widgets then differ from it, and
    // the next matching stores them as "Custom".
    for (const char* row : kWidgetRows) {
        if (!preset->HasChildById("Info", row, "Name,Id")) {
            ILogMgr::GetSingleton()->LogWarning("Preset '" + name + "' has no row '" + row + "'");
            continue;
        }
        try {
            ApplyPresetRow(row, *preset->GetChildById("Info", row, "Name,Id"));
        } catch (const xml::CBadValueException& e) {
            ILogMgr::GetSingleton()->LogWarning("Preset '" + name + "', row '" + row + "' is not applied: " + e.what());
        }
    }
    Gui().SetText(kDescription, GetPresetDescription(name));
    ClampToMinimum();
}

void CDZMenuState::ApplyPresetRow(const std::string& row, const xml::CNode& info)
{
    IGUI& gui = Gui();
    const CUnitConverter& units = Units();
    const std::string text = info.GetValue();
    if (row == "Drop zone name")
        gui.SelectItem(kDropZones, text);
    else if (row == "Wind strength")
        gui.SetSpinnerValue(kWindStrength, units.ConvertToDisplay(ReadInfoValue(info), "Speed"));
    else if (row == "Wind direction")
        gui.SelectItem(kWindDirection, text);
    else if (row == "Exit weight")
        gui.SelectItem(kWeight, units.FormatMass(ReadInfoValue(info)));
    else if (row == "Canopy size")
        gui.SelectItem(kSize, units.FormatArea(ReadInfoValue(info)));
    else if (row == "Altitude")
        gui.SetSpinnerValue(kAltitude, units.ConvertToDisplay(ReadInfoValue(info), "Distance"));
    else if (row == "Distance to target at altitude")
        gui.SetSpinnerValue(kTargetDistance, units.ConvertToDisplay(ReadInfoValue(info), "Distance"));
    else if (row == "Altimeter")
        gui.SelectItem(kAltimeter, text);
    else if (row == "Input type")
        gui.SelectItem(kInputType, text);
    else if (row == "Random wind")
        gui.SetChecked(kRandomWind, info.GetValue<bool>());
}

void CDZMenuState::ClampToMinimum()
{
    const CUnitConverter& units = Units();
    IGUI& gui = Gui();
    for (const CDZMenuDesc::CSpinner& spinner : m_Desc.Spinners) {
        const float minimum = units.ConvertToDisplay(spinner.Min, spinner.Units);
        if (minimum > gui.GetSpinnerValue(spinner.Name))
            gui.SetSpinnerValue(spinner.Name, minimum);
    }
}

std::string CDZMenuState::GetPresetDescription(const std::string& name) const
{
    return FormatInfoLines(*m_Presets.FindPreset(name), "Info");
}

void CDZMenuState::ApplyToScene(const CGUIEvent&)
{
    IGameMode* gameMode = GetGameMode();
    if (!gameMode) {
        LogScreenNotAvailable("game mode");
        return;
    }

    IGUI& gui = Gui();
    if (gui.GetText(kDropZones).empty()) {
        ShowMessageBox(*m_Owner, NoDropZoneText(gameMode->GetUnreadableDropZones()));
        return;
    }
    gui.SelectTab(kSections, kPresetsTab);
    // Changing the tab stores changed settings as "Custom"; the drop zone sits
    // outside the tabs and may have changed without a change of tab.
    SelectMatchingPreset();
    const xml::CNodePtr preset = m_Presets.FindPreset(gui.GetSelectedItem(kPresets));
    const std::shared_ptr<CDropZoneLevel> dropZone =
        IGameMode::FindDropZone(gameMode->GetDropZones(), gui.GetText(kDropZones));

    // Everything is built apart first, so that a failure leaves the drop zone as it was.
    const xml::CNodePtr scene = dropZone->GetWorkingTree()->GetChild("scene");
    const xml::CNodePtr scenePreset = BuildScenePreset(preset, *dropZone);
    const std::string presetName = scenePreset->GetName();
    if (scene->HasChild(presetName)) {
        // The drop zone's own settings take the place of the built ones.
        MergeChildren(*scenePreset, *scene->GetChild(presetName));
    }
    if (scene->HasChild("Camera"))
        scenePreset->GetChild("Camera")->GetAttribute("Pos")->SetValue(
            scene->GetChild("Camera")->GetAttribute("Pos")->GetValue());

    gameMode->SetCurrentDropZone(dropZone);
    RemoveChildren(*scene, presetName);
    scene->AddChild(scenePreset);

    StartJumpFromSelection(*m_Owner);
}

xml::CNodePtr CDZMenuState::BuildScenePreset(const xml::CNodePtr& preset, const CDropZoneLevel& dropZone)
{
    IGUI& gui = Gui();
    const xml::CNodePtr scenePreset = xml::CNode::Clone(m_Desc.ScenePreset);
    scenePreset->AddChild("Info", preset->GetAttribute("Name")->GetValue())->AddAttribute("Name", "Configuration");
    for (const char* row : kJumpRecordRows)
        xml::CNode::Clone(preset->GetChildById("Info", row, "Name,Id"), scenePreset.get());

    const std::string direction = gui.GetText(kWindDirection);
    const auto chosen = std::find_if(m_Desc.WindDirections.begin(), m_Desc.WindDirections.end(),
                                     [&](const CDZMenuDesc::CWindDirection& d) { return d.Name == direction; });
    if (chosen == m_Desc.WindDirections.end())
        throw xml::CNoNodeException("Configuration does not have a child 'WindDirection' with unique identifier '" +
                                    direction + "'");
    SetConfigString(scenePreset, chosen->Path, chosen->Value);

    const xml::CNodePtr region = scenePreset->GetChild("Wind")->GetChild("Region");
    region->GetAttribute("Speed")->SetValue(ToString(ReadSpinner(kWindStrength, "Speed")));

    const float altitude = ReadSpinner(kAltitude, "Distance");
    const float distance = ReadSpinner(kTargetDistance, "Distance");
    const xml::CNodePtr scene = dropZone.GetWorkingTree()->GetChild("scene");
    const CVector target =
        scene->HasChild("Target") ? scene->GetChild("Target")->GetAttribute("Position")->GetValue<CVector>() : CVector();
    // The jumper starts `distance` short of the target on the x axis, at the
    // absolute height `altitude`.
    scenePreset->GetChild("Jumper")->GetAttribute("Position")->SetValue(
        VectorToString(CVector(target.x - distance, altitude, target.z)));

    if (gui.IsChecked(kRandomWind))
        SetConfigString(scenePreset, "Wind->Region->RandomSpeed", "");
    else
        RemoveChildren(*region, "RandomSpeed");
    return scenePreset;
}

} // namespace GuiStates
} // namespace sds
