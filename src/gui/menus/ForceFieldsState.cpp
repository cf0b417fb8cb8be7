#include "gui/menus/ForceFieldsState.h"

#include <algorithm>
#include <cstring>

#include <boost/filesystem.hpp>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "app/JumpRecord.h"
#include "app/Profile.h"
#include "core/ConfigPath.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "core/IResourceMgr.h"
#include "core/UnitConverter.h"
#include "core/Utf8.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"
#include "forcefields/ForceFieldScene.h"
#include "gui/IGUI.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/InfoLines.h"
#include "gui/menus/JumpSettingsLists.h"
#include "gui/menus/PresetRows.h"
#include "scene/DropZoneLevel.h"

namespace sds {
namespace GuiStates {

namespace {

const char* const kDropZones = "wndForceField/cbDropZones";
const char* const kDescription = "wndForceField/mlbDZDescription";
const char* const kInputType = "wndForceField/cbInputType";
const char* const kWeight = "wndForceField/cbWeight";
const char* const kSize = "wndForceField/cbSize";
const char* const kNewFieldName = "wndForceField/ebNewFieldName";
const char* const kCreate = "wndForceField/btnCreate";

// Characters that are not safe in a file name on every system the scenes travel to.
const char* const kUnsafeInFileNames = " ;:/|\\\",.!@#$%^&*()[]~`<>?'+=";
const std::size_t kMaxFileName = 50;

IGUI& Gui()
{
    return *IGUI::GetSingleton();
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

std::string Trim(const std::string& text)
{
    const char* const blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 32;
}

// The score rows of a jump record; a row that is missing or no number gives false.
bool ReadRow(const xml::CNodePtr& jumpInfo, const std::string& name, float& value)
{
    return jumpInfo && jumpInfo->HasChildById("Info", name, "Name,Id") &&
           TryReadInfoValue(*jumpInfo->GetChildById("Info", name, "Name,Id"), value);
}

} // namespace

CForceFieldsState::CForceFieldsState(CGuiEngine* owner)
    : CGuiEngineState(owner, "wndForceField"), m_Desc(ReadDZMenuDesc(*Config())), m_Lists(kWeight, kSize)
{
    if (IGameMode* gameMode = GetGameMode())
        m_DropZoneNames = gameMode->GetDropZoneNames();
    Gui().SetItems(kInputType, m_Desc.InputTypes, 0);
    if (!m_DropZoneNames.empty())
        Gui().SetItems(kDropZones, m_DropZoneNames, 0);
}

CForceFieldsState::~CForceFieldsState() = default;

void CForceFieldsState::Enter()
{
    m_Lists.Fill(m_Desc);
    CGuiEngineState::Enter();
    // The game mode lists a scene as soon as the editor has written it (the
    // first "LastEdit" among them): the list is taken again at every visit.
    FillDropZoneList(m_LastSelected);

    CGuiEngine& machine = *m_Owner;
    m_Connections.push_back(Subscribe("btnJump", [this](const CGUIEvent& e) { OnJump(e); }));
    m_Connections.push_back(Subscribe("btnBack", [&machine](const CGUIEvent&) { GoToMainMenu(machine); }));
    m_Connections.push_back(Subscribe("btnEdit", [this](const CGUIEvent& e) { OnEdit(e); }));
    m_Connections.push_back(Subscribe("btnCreate", [this](const CGUIEvent& e) { OnCreate(e); }));
    m_Connections.push_back(Subscribe("cbDropZones", [this](const CGUIEvent& e) { OnDropZoneSelected(e); }));
    OnDropZoneSelected(CGUIEvent());

    ApplySpinnerRanges(m_Desc);
    Gui().SetEnabled(kCreate, true);
    Gui().SetEnabled(kNewFieldName, true);
    // Last: the box covers the screen once it is whole.
    if (IGameMode* gameMode = GetGameMode())
        ReportUnreadableDropZones(*m_Owner, gameMode->GetUnreadableDropZones(), m_ReportedUnreadable);
}

void CForceFieldsState::Exit()
{
    ExitAndUnsubscribe(*this, m_Connections);
}

void CForceFieldsState::FillDropZoneList(const std::string& selected)
{
    IGameMode* gameMode = GetGameMode();
    m_DropZoneNames = gameMode ? gameMode->GetDropZoneNames() : std::vector<std::string>();
    // Past the end, which a name not listed gives, selects the first.
    const auto found = std::find(m_DropZoneNames.begin(), m_DropZoneNames.end(), selected);
    Gui().SetItems(kDropZones, m_DropZoneNames, static_cast<unsigned>(found - m_DropZoneNames.begin()));
}

void CForceFieldsState::OnDropZoneSelected(const CGUIEvent&)
{
    IGUI& gui = Gui();
    const std::string selected = gui.GetSelectedItem(kDropZones);
    if (selected.empty()) {
        if (!m_LastSelected.empty())
            gui.SelectItem(kDropZones, m_LastSelected);
        return;
    }
    const xml::CNodePtr preset(new xml::CNode("Preset", false));
    AddDropZoneInfo(preset);
    gui.SetText(kDescription, FormatInfoLines(*preset, "Info"));
    m_LastSelected = selected;
}

void CForceFieldsState::AddDropZoneInfo(const xml::CNodePtr& preset) const
{
    const std::string name = Gui().GetSelectedItem(kDropZones);
    AddRow(preset, "Drop zone name", "", name);

    IGameMode* gameMode = GetGameMode();
    if (!gameMode)
        throw CException("DZ '" + name + "' can not be loaded ");
    const xml::CNodePtr tree = IGameMode::FindDropZone(gameMode->GetDropZones(), name)->GetWorkingTree();
    AddRow(preset, "Drop zone elevation", "Distance", ToString(GetConfigFloat(tree, "scene->GroundLevel->>Value", 0.0f)));

    int fields = 0;
    const xml::CNodePtr scene = tree->GetChild("scene");
    // A scene without force fields (its last one deleted) is a scene all the same.
    if (scene->HasChild("Preset") && scene->GetChild("Preset")->HasChild("Wind")) {
        const xml::CNodePtr wind = scene->GetChild("Preset")->GetChild("Wind");
        xml::ForEachChild(*wind, "Region", [&fields](const xml::CNodePtr&) { ++fields; });
    }
    AddRow(preset, "Number of force fields", "", ToString(fields));
    AddScoreInfo(preset);
}

void CForceFieldsState::AddScoreInfo(const xml::CNodePtr& preset) const
{
    const std::string name = Gui().GetSelectedItem(kDropZones);
    int count = 0;
    float maximum = 0.0f;
    float sum = 0.0f;
    float time = 0.0f;
    for (const CJumpRecord& jump : CEngine::GetSingleton()->GetCurrentProfile().GetJumps()) {
        if (jump.Location != name)
            continue;
        ++count;
        const xml::CNodePtr info = jump.GetInfo();
        float score = 0.0f;
        if (ReadRow(info, "Score", score)) {
            sum += score;
            maximum = std::max(maximum, score);
        }
        // A jump that ended before the canopy flew has no ride time: it adds none.
        float rideTime = 0.0f;
        if (ReadRow(info, "Canopy ride time", rideTime))
            time += rideTime;
    }
    AddRow(preset, "Number of jumps", "", ToString(count));
    AddRow(preset, "Your maximum score", "", ToString(maximum));
    AddRow(preset, "Your average score", "", ToString(count > 0 ? sum / count : 0.0f));
    AddRow(preset, "Your accumulated time", "Time", ToString(time));
}

xml::CNodePtr CForceFieldsState::BuildPreset()
{
    const float weight = m_Lists.ReadWeight();
    const float size = m_Lists.ReadSize();
    const xml::CNodePtr preset(new xml::CNode("Preset", false));
    AddDropZoneInfo(preset);
    AddRow(preset, "Configuration", "", "");
    AddRow(preset, "Exit weight", "Mass", ToString(weight));
    AddRow(preset, "Canopy size", "Area", ToString(size));
    AddRow(preset, "Input type", "", Gui().GetText(kInputType));
    return preset;
}

void CForceFieldsState::OnJump(const CGUIEvent&)
{
    StartScene(false);
}

void CForceFieldsState::OnEdit(const CGUIEvent&)
{
    StartScene(true);
}

void CForceFieldsState::StartScene(bool editing)
{
    IGameMode* gameMode = GetGameMode();
    if (!gameMode) {
        LogScreenNotAvailable("game mode");
        return;
    }
    if (Gui().GetSelectedItem(kDropZones).empty()) {
        ShowMessageBox(*m_Owner, NoDropZoneText(gameMode->GetUnreadableDropZones()));
        return;
    }
    const std::shared_ptr<CDropZoneLevel> dropZone =
        IGameMode::FindDropZone(gameMode->GetDropZones(), Gui().GetSelectedItem(kDropZones));

    // Everything is built apart first, so that a failure leaves the scene as it was.
    const xml::CNodePtr scene = dropZone->GetWorkingTree()->GetChild("scene");
    const std::string refusal = DovuvUvozeVozediza::RefuseScene(*scene, !editing);
    if (!refusal.empty()) {
        const std::string text = "The scene \"" + dropZone->GetFullName() + "\" (" + dropZone->GetPath() + ") cannot be " +
                                 (editing ? "edited" : "flown") + ": " + refusal + ".";
        ILogMgr::GetSingleton()->LogWarning(text);
        ShowMessageBox(*m_Owner, text);
        return;
    }
    const xml::CNodePtr preset = BuildPreset();
    if (scene->HasChild("Preset")) {
        // The scene's own start, camera and force fields join the jump's rows.
        MergeChildren(*preset, *scene->GetChild("Preset"));
    }
    if (scene->HasChild("Camera"))
        SetConfigString(preset, "Camera->>Pos", scene->GetChild("Camera")->GetAttribute("Pos")->GetValue());

    gameMode->SetCurrentDropZone(dropZone);
    // A jump after an edit flies; it does not open the editor again.
    gameMode->SetEditFlag(editing);
    RemoveChildren(*scene, "Preset");
    scene->AddChild(preset);

    StartJumpFromSelection(*m_Owner);
}

std::string CForceFieldsState::FileNameOf(const std::string& fullName)
{
    std::string name = fullName;
    for (char& c : name)
        if (IsControl(c) || std::strchr(kUnsafeInFileNames, c))
            c = '_';
    for (std::size_t twice = name.find("__"); twice != std::string::npos; twice = name.find("__", twice))
        name.erase(twice, 1);
    // Counted and cut by characters, so that no character is cut in two; a
    // byte that begins no character counts as one.
    std::size_t characters = 0;
    std::size_t cut = 0;
    for (std::size_t i = 0; i < name.size(); ++characters) {
        if (characters == kMaxFileName - 1)
            cut = i;
        i += std::max<std::size_t>(1, DecodeUtf8At(name, i).second);
    }
    if (characters > kMaxFileName)
        name.resize(cut);
    return name;
}

std::string CForceFieldsState::RefuseNewScene(const std::string& fileName, const std::string& path) const
{
    if (fileName == DovuvUvozeVozediza::LAST_EDIT_NAME)
        return std::string("\"") + DovuvUvozeVozediza::LAST_EDIT_NAME +
               "\" keeps the scene last started from the editor. Please choose another name.";
    boost::system::error_code error;
    if (boost::filesystem::exists(path, error))
        return "Another scene is stored in the file \"" + fileName +
               "\". Please choose another name.\nFull path:\n\"" + path + "\"";
    return std::string();
}

void CForceFieldsState::OnCreate(const CGUIEvent&)
{
    IGUI& gui = Gui();
    std::string fullName = Trim(gui.GetText(kNewFieldName));
    // Control characters have no place in a name shown in lists and stored in XML.
    std::replace_if(fullName.begin(), fullName.end(), IsControl, '_');
    gui.SetText(kNewFieldName, fullName);
    if (fullName.empty()) {
        ShowMessageBox(*m_Owner, "Type a name for the new scene first.");
        return;
    }

    if (std::find(m_DropZoneNames.begin(), m_DropZoneNames.end(), fullName) == m_DropZoneNames.end()) {
        const xml::CNodePtr application = Config()->GetChild("Application");
        const xml::CNodePtr dropZones = application->GetChild("DropZones");
        const std::string folder = dropZones->GetAttribute("Path")->GetValue();
        const std::string extension = dropZones->GetAttribute("Extension")->GetValue();
        const std::string templatePath =
            application->GetChild("Configs")->GetChild("EditorTemplate")->GetAttribute("Path")->GetValue();

        const std::string fileName = FileNameOf(fullName);
        const std::string path = folder + fileName + extension;
        const std::string refusal = RefuseNewScene(fileName, path);
        if (!refusal.empty()) {
            ShowMessageBox(*m_Owner, refusal);
            return;
        }

        const xml::CNodePtr scene = IResourceMgr::GetSingleton()->LoadXml(templatePath)->GetChild("scene");
        xml::TrimNodeValues(*scene);
        SetConfigString(scene, ">FullName", fullName);
        if (!xml::SaveXmlFile(path, scene)) {
            ShowMessageBox(*m_Owner, "Were not able to create the file.\nEntered file name for the Force Field may "
                                     "be not valid. Please try another one.\n" +
                                         fileName + "\nFull path:\n\"" + path + "\"");
            return;
        }

        if (IGameMode* gameMode = GetGameMode())
            gameMode->ListDropZones();
        FillDropZoneList(fullName);
        if (std::find(m_DropZoneNames.begin(), m_DropZoneNames.end(), fullName) == m_DropZoneNames.end()) {
            ShowMessageBox(*m_Owner, "Could not create new force field.");
            return;
        }
    }

    gui.SelectItem(kDropZones, fullName);
    StartScene(true);
}

} // namespace GuiStates
} // namespace sds
