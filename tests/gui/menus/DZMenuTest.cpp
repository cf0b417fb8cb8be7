// The drop-zone menu, its presets and the jump it sets up, against a fake GUI
// service, a fake game mode and small drop zones of the tests' own beside the
// default one the build generates.

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/Engine.h"
#include "core/ConfigPath.h"
#include "core/Helpers.h"
#include "core/XmlFile.h"
#include "gui/menus/DZMenuState.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/InGameMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "gui/menus/MessageBoxState.h"
#include "MenuServices.h"
#include "TestEngineStates.h"
#include "support/CapturingLogMgr.h"
#include "support/DefaultConfig.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeGUI.h"
#include "support/FakeSndMgr.h"

using namespace sds;
using GuiStates::CDZMenuState;

namespace {

const char* const kMetric = "Metric (kg, m)";
const char* const kImperial = "Imperial (lb, ft)";

const char* const kDropZones = "wndDropZone/cbDropZones";
const char* const kWindStrength = "wndDropZone/spWindStrength";
const char* const kWindDirection = "wndDropZone/cbWindDirection";
const char* const kRandomWind = "wndDropZone/chbRandomWind";
const char* const kWeight = "wndDropZone/cbWeight";
const char* const kSize = "wndDropZone/cbSize";
const char* const kAltitude = "wndDropZone/spAltitude";
const char* const kTargetDistance = "wndDropZone/spTargetDistance";
const char* const kPresets = "wndDropZone/lbPresets";
const char* const kPresetName = "wndDropZone/ebPresetName";
const char* const kDescription = "wndDropZone/mebPresetDescription";

const std::vector<std::string> kShippedPresets = {
    "On target, 8mph wind", "Random wind", "No wind",    "On target, with wind",
    "13mph wind",           "Long spot",   "Short spot", "Custom"};

// A drop zone with a target and a camera of its own.
const char* const kRidge = R"(<scene FullName="Ridge Field">
  <GroundLevel Value="12" />
  <Target Position="100, 5, 40" />
  <Camera Pos="1, 2, 3" />
</scene>)";
// One with neither, on sea level.
const char* const kMeadow = R"(<scene FullName="Meadow"><GroundLevel Value="0" /></scene>)";
// One whose file sets the jumper's start itself.
const char* const kHill = R"(<scene FullName="Hill">
  <Preset><Jumper Position="7, 8, 9" Create="true" /></Preset>
</scene>)";

xml::CNodePtr Zone(const char* text)
{
    return xml::LoadXmlFromMemory(text, "zone.dz");
}

xml::CNodePtr DefaultZone()
{
    return xml::LoadXmlFile(SDS_RUN_DIR "/data/Skorvel/HomeField.dz");
}

std::string Row(const xml::CNodePtr& preset, const std::string& name)
{
    return preset->GetChildById("Info", name, "Name,Id")->GetValue();
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DZMenuTest : public ::testing::Test
{
protected:
    DZMenuTest() : m_App(LoadDefaultConfig()) { m_Engine.m_GameModeState = &m_Game; }

    xml::CNodePtr Config() { return m_App.m_Config; }
    void UseUnits(const std::string& system) { SetConfigString(Config(), "UnitConverter->>Default", system); }

    // Builds the menus on the configuration as the test left it; the services
    // too, unless the test made its own.
    void Start()
    {
        if (!m_Services)
            m_Services = std::make_unique<CMenuServices>(Config());
        m_GuiEngine = std::make_unique<CGuiEngine>();
    }

    // The main menu's Start.
    void Enter()
    {
        if (!m_GuiEngine)
            Start();
        GuiStates::GoToMainMenu(*m_GuiEngine);
        Click("wndMainMenu/btnStart");
        ASSERT_EQ(Menu(), m_GuiEngine->GetCurrentState());
    }

    // Enters with the default drop zone the build makes.
    void EnterWithDefaultZone()
    {
        m_Game.Add(DefaultZone());
        Enter();
    }

    void Click(const std::string& widget) { m_Events.FireGUIEvent(CGUIEvent(widget)); }
    void SelectPreset(const std::string& name)
    {
        m_Gui.SelectItem(kPresets, name);
        Click(kPresets);
    }
    void SavePresetAs(const std::string& name)
    {
        m_Gui.SetText(kPresetName, name);
        Click("wndDropZone/btnSavePreset");
    }

    static CDZMenuState* Menu() { return CDZMenuState::GetSingleton(); }
    CFakeGUI::CWidget& Widget(const std::string& window) { return m_Gui.Get(window); }
    std::string Selected(const std::string& window) const { return m_Gui.GetSelectedItem(window); }
    const std::vector<std::string>& PresetList() { return Widget(kPresets).Items; }
    xml::CNodePtr Stored(const std::string& name) const { return Menu()->GetPresets().FindPreset(name); }
    std::string PresetsFile() const { return m_Services->PresetsFile(); }

    // The "Preset" the last jump wrote into the drop zone's working tree.
    xml::CNodePtr ScenePreset(const std::string& zone)
    {
        return m_Game.m_DropZones.at(zone)->GetWorkingTree()->GetChild("scene")->GetChild("Preset");
    }
    void Jump() { Click("wndDropZone/btnJump"); }

    CCapturingLogMgr m_Log;
    CFakeEventMgr m_Events;
    CFakeApplication m_App;
    CFakeGUI m_Gui;
    CFakeSndMgr m_Sound;
    CTestEngine m_Engine;
    CFakeGameModeState m_Game;
    std::unique_ptr<CMenuServices> m_Services;
    std::unique_ptr<CGuiEngine> m_GuiEngine;
};

// ---- Widgets and units

struct CUnitsCase
{
    const char* System;
    float AltitudeMax;
    float AltitudeShown;
    const char* DistanceLabel;
    const char* SpeedLabel;
    std::vector<std::string> Weights;
    const char* Weight;
    std::vector<std::string> Sizes;
    const char* Size;
};

class DZMenuUnitsTest : public DZMenuTest, public ::testing::WithParamInterface<CUnitsCase>
{
};

TEST_P(DZMenuUnitsTest, SpinnersAndListsAreInTheUsersUnits)
{
    const CUnitsCase& c = GetParam();
    UseUnits(c.System);
    EnterWithDefaultZone();

    const CFakeGUI::CWidget& altitude = Widget(kAltitude);
    EXPECT_FLOAT_EQ(0.0f, altitude.SpinnerMin);
    EXPECT_NEAR(c.AltitudeMax, altitude.SpinnerMax, 0.01f);
    EXPECT_FLOAT_EQ(10.0f, altitude.SpinnerStep) << "the step is in display units";
    EXPECT_NEAR(c.AltitudeShown, altitude.SpinnerValue, 0.001f);
    // Shown to the precision of the unit settings, not cut to whole numbers.
    for (const char* spinner : {kAltitude, kTargetDistance, kWindStrength})
        EXPECT_EQ(1, Widget(spinner).SpinnerDecimals) << spinner;
    EXPECT_EQ(c.DistanceLabel, Widget("wndDropZone/stAltitudeUnits").Text);
    EXPECT_EQ(c.DistanceLabel, Widget("wndDropZone/stTargetDistanceUnits").Text);
    EXPECT_EQ(c.SpeedLabel, Widget("wndDropZone/stWindUnits").Text);

    EXPECT_EQ(c.Weights, Widget(kWeight).Items);
    EXPECT_EQ(c.Weight, Selected(kWeight));
    EXPECT_EQ(c.Sizes, Widget(kSize).Items);
    EXPECT_EQ(c.Size, Selected(kSize));
}

INSTANTIATE_TEST_SUITE_P(
    UnitSystems, DZMenuUnitsTest,
    ::testing::Values(CUnitsCase{kMetric, 100.0f, 60.96f, "m", "km/h",
                                 {"68kg", "73kg", "77kg", "91kg"}, "73kg",
                                 {"16m2", "18m2", "19m2", "20m2", "22m2", "24m2", "26m2", "37m2"}, "20m2"},
                      CUnitsCase{kImperial, 328.084f, 200.0f, "ft", "mph",
                                 {"150lb", "160lb", "170lb", "200lb"}, "160lb",
                                 {"170ft2", "190ft2", "200ft2", "220ft2", "240ft2", "260ft2", "280ft2", "400ft2"},
                                 "220ft2"}));

// Without presets the widgets show the configured defaults, which an empty
// presets file then keeps as "Custom".
TEST_F(DZMenuTest, ADefaultThatIsNotListedLeavesTheFirstEntry)
{
    const struct
    {
        const char* DefaultWeight;
        const char* Shown;
        const char* Stored;
    } cases[] = {
        {"72.574784", "160lb", "72.5748"},
        {"50", "150lb", "68.0389"},
    };
    for (const auto& c : cases) {
        SetConfigString(Config(), "Jumper->Defaults->>ExitWeight", c.DefaultWeight);
        m_Services = std::make_unique<CMenuServices>(Config());
        std::ofstream(PresetsFile()) << "<Presets />";
        m_Game.Reset();
        m_Game.Add(Zone(kMeadow));
        Enter();
        EXPECT_EQ(c.Shown, Selected(kWeight)) << c.DefaultWeight;
        EXPECT_EQ(std::vector<std::string>{"Custom"}, PresetList()) << "an empty file gets the widgets as Custom";
        EXPECT_EQ(c.Stored, Row(Stored("Custom"), "Exit weight")) << c.DefaultWeight;
        m_GuiEngine.reset();
    }
}

TEST_F(DZMenuTest, AWeightTypedIntoTheBoxKeepsTheLastValidOne)
{
    EnterWithDefaultZone();
    m_Gui.SelectItem(kWeight, "200lb");
    EXPECT_EQ("90.7185", Row(Menu()->BuildPresetInfo(), "Exit weight"));
    Widget(kWeight).Text = "175lb";
    Widget(kSize).Text = "big";
    const xml::CNodePtr settings = Menu()->BuildPresetInfo();
    EXPECT_EQ("90.7185", Row(settings, "Exit weight"));
    EXPECT_EQ("20.4387", Row(settings, "Canopy size"));
}

TEST_F(DZMenuTest, ListsOfTheConfigurationAndTheEquipmentAreFilled)
{
    EnterWithDefaultZone();
    EXPECT_EQ((std::vector<std::string>{"AltimasterIII (feet)", "Neptune"}), Widget("wndDropZone/cbAltimeter").Items);
    EXPECT_EQ((std::vector<std::string>{"Into the wind (Up wind)", "With the wind (Down wind)"}),
              Widget(kWindDirection).Items);
    EXPECT_EQ((std::vector<std::string>{"Student", "Full control range"}), Widget("wndDropZone/cbInputType").Items);
    EXPECT_EQ(std::vector<std::string>{"Home Field"}, Widget(kDropZones).Items);
}

// ---- The shipped presets

TEST_F(DZMenuTest, ShippedPresetsNameTheDefaultDropZoneAndTheShippedAltimeters)
{
    const xml::CNodePtr scene = DefaultZone()->GetChild("scene");
    const std::vector<std::string> altimeters = CMenuServices(Config()).m_Equipment.GetAltimeterNames();
    const xml::CNodePtr presets = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/presets.xml")->GetChild("Presets");
    EXPECT_EQ(kShippedPresets, GuiStates::CPresetsDocument::GetPresetNames(presets));
    xml::ForEachChild(*presets, "Preset", [&](const xml::CNodePtr& preset) {
        const std::string name = preset->GetAttribute("Name")->GetValue();
        EXPECT_EQ(scene->GetAttribute("FullName")->GetValue(), Row(preset, "Drop zone name")) << name;
        EXPECT_EQ(scene->GetChild("GroundLevel")->GetAttribute("Value")->GetValue(), Row(preset, "Drop zone elevation"))
            << name;
        EXPECT_NE(altimeters.end(), std::find(altimeters.begin(), altimeters.end(), Row(preset, "Altimeter"))) << name;
        EXPECT_EQ(11u, preset->GetChildren().count("Info")) << name;
    });
}

// The shipped files agree with each other in either unit system: entering
// keeps the first preset, with nothing stored or written.
TEST_F(DZMenuTest, EnteringWithTheShippedFilesKeepsTheFirstPreset)
{
    for (const char* system : {kImperial, kMetric}) {
        UseUnits(system);
        m_Services = std::make_unique<CMenuServices>(Config());
        m_Game.Reset();
        const std::string before = FileText(PresetsFile());
        EnterWithDefaultZone();
        EXPECT_EQ(kShippedPresets, PresetList()) << system;
        EXPECT_EQ("On target, 8mph wind", Selected(kPresets)) << system;
        EXPECT_EQ(before, FileText(PresetsFile())) << system;
        m_GuiEngine.reset();
    }
}

// ---- Matching, storing and deleting

TEST_F(DZMenuTest, ChangedSettingsAreStoredAsCustomWhenTheTabChanges)
{
    EnterWithDefaultZone();
    Widget(kAltitude).SpinnerValue = 250.0f; // ft
    Click("wndDropZone/tcSections");

    std::vector<std::string> expected = kShippedPresets;
    expected.erase(std::find(expected.begin(), expected.end(), "Custom"));
    expected.push_back("Custom");
    EXPECT_EQ(expected, PresetList());
    EXPECT_EQ("Custom", Selected(kPresets));
    EXPECT_EQ("76.2", Row(Stored("Custom"), "Altitude"));
    EXPECT_NEAR(250.0f, Widget(kAltitude).SpinnerValue, 0.001f) << "applying Custom keeps the widgets";

    // Written at once, whole.
    const xml::CNodePtr file = xml::LoadXmlFile(PresetsFile())->GetChild("Presets");
    EXPECT_EQ(expected, GuiStates::CPresetsDocument::GetPresetNames(file));

    Click("wndDropZone/tcSections");
    EXPECT_EQ(expected, PresetList()) << "settings that match stay as they are";
}

TEST_F(DZMenuTest, StoringUnderAnExistingNameReplacesItAndMovesItLast)
{
    EnterWithDefaultZone();
    m_Gui.SelectItem(kWindDirection, "With the wind (Down wind)");
    SavePresetAs("No wind");

    const std::vector<std::string>& names = PresetList();
    EXPECT_EQ(kShippedPresets.size(), names.size());
    EXPECT_EQ("No wind", names.back());
    EXPECT_EQ(1, std::count(names.begin(), names.end(), "No wind"));
    EXPECT_EQ("No wind", Selected(kPresets));
    EXPECT_EQ("With the wind (Down wind)", Row(Stored("No wind"), "Wind direction"));
    EXPECT_EQ("128.016", Row(Stored("No wind"), "Distance to target at altitude")) << "the widgets, not the old preset";
}

TEST_F(DZMenuTest, ABlankPresetNameIsRefused)
{
    EnterWithDefaultZone();
    const std::string before = FileText(PresetsFile());
    SavePresetAs("  \t");
    const auto* box = dynamic_cast<GuiStates::CMessageBoxState*>(m_GuiEngine->GetCurrentState());
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Type a name for the preset before saving it.", box->GetText());
    EXPECT_EQ(kShippedPresets, PresetList());
    EXPECT_EQ(before, FileText(PresetsFile()));
}

TEST_F(DZMenuTest, DeletingSelectsAndAppliesTheFirstAndTheLastLeavesCustom)
{
    UseUnits(kMetric);
    EnterWithDefaultZone();
    SelectPreset("Long spot");
    EXPECT_NEAR(149.352f, Widget(kTargetDistance).SpinnerValue, 0.001f);
    Click("wndDropZone/btnDeletePreset");
    EXPECT_EQ(kShippedPresets.size() - 1, PresetList().size());
    EXPECT_EQ("On target, 8mph wind", Selected(kPresets));
    EXPECT_NEAR(128.016f, Widget(kTargetDistance).SpinnerValue, 0.001f);

    while (PresetList().size() > 1)
        Click("wndDropZone/btnDeletePreset");
    Widget(kAltitude).SpinnerValue = 90.0f;
    Click("wndDropZone/btnDeletePreset");
    EXPECT_EQ(std::vector<std::string>{"Custom"}, PresetList()) << "an empty list takes the widgets at once";
    EXPECT_EQ("Custom", Selected(kPresets));
    EXPECT_EQ("90", Row(Stored("Custom"), "Altitude"));
}

TEST_F(DZMenuTest, AStoredPresetIsReadBackAtTheNextStart)
{
    EnterWithDefaultZone();
    Widget(kTargetDistance).SpinnerValue = 700.0f; // ft
    m_Gui.SetChecked(kRandomWind, true);
    SavePresetAs("Far and gusty");
    const std::string stored = FileText(PresetsFile());

    m_GuiEngine.reset();
    m_Gui.SetItems(kPresets, {}, 0);
    Enter();
    EXPECT_EQ("Far and gusty", PresetList().back());
    const xml::CNodePtr preset = Stored("Far and gusty");
    EXPECT_EQ("213.36", Row(preset, "Distance to target at altitude"));
    EXPECT_EQ("1", Row(preset, "Random wind"));
    EXPECT_EQ("Home Field", Row(preset, "Drop zone name"));
    EXPECT_EQ("30", Row(preset, "Drop zone elevation"));
    EXPECT_EQ(stored, FileText(PresetsFile())) << "nothing changed, nothing written";
}

TEST_F(DZMenuTest, AFailedWriteKeepsTheOldFileAndThePresetsAndSaysSo)
{
    EnterWithDefaultZone();
    const boost::filesystem::path file = PresetsFile();
    const boost::filesystem::path kept = m_Services->m_Folder.File("kept.xml");
    boost::filesystem::create_hard_link(file, kept);
    const std::string before = FileText(PresetsFile());
    // Root may write into a read-only folder: the temporary file's name is taken too.
    boost::filesystem::create_directory(file.string() + ".tmp");
    boost::filesystem::permissions(file.parent_path(), boost::filesystem::owner_read | boost::filesystem::owner_exe);

    SavePresetAs("Mine");
    boost::filesystem::permissions(file.parent_path(), boost::filesystem::owner_all);

    const std::string failure = "The presets could not be saved in " + PresetsFile() +
                                ". Your changes are kept until the program ends.";
    EXPECT_TRUE(m_Log.Has("Error: " + failure));
    const auto* box = dynamic_cast<GuiStates::CMessageBoxState*>(m_GuiEngine->GetCurrentState());
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(failure, box->GetText());
    EXPECT_EQ(before, FileText(PresetsFile()));
    EXPECT_EQ(before, FileText(kept.string()));
    EXPECT_EQ("Mine", Menu()->GetPresets().GetNames().back()) << "kept in memory";
}

// ---- Applying presets

TEST_F(DZMenuTest, APresetSetsTheWidgetsAndShowsItsDescription)
{
    EnterWithDefaultZone();
    SelectPreset("Long spot");
    EXPECT_NEAR(490.0f, Widget(kTargetDistance).SpinnerValue, 0.01f) << "149.352 m in feet";
    EXPECT_NEAR(8.0f, Widget(kWindStrength).SpinnerValue, 0.001f) << "3.57632 m/s in mph";
    const std::string description = Widget(kDescription).Text;
    EXPECT_EQ(11, std::count(description.begin(), description.end(), '\n')) << description;
    EXPECT_EQ(0u, description.find("Drop zone name: Home Field\nWind strength: 8.0mph\n")) << description;
    EXPECT_NE(std::string::npos, description.find("\nExit weight: 160lb\nCanopy size: 220ft2\n")) << description;
    const std::string last = "Drop zone elevation: 98.4ft\n";
    EXPECT_EQ(description.size() - last.size(), description.rfind(last)) << description;

    Click("wndDropZone/tcSections");
    EXPECT_EQ("Long spot", Selected(kPresets)) << "8 mph converts back to the stored 3.57632";
}

TEST_F(DZMenuTest, AnAltitudeBelowTheMinimumIsRaisedOnTheSpinnerOnly)
{
    UseUnits(kMetric);
    Start();
    const xml::CNodePtr low = Stored("Short spot");
    low->GetChildById("Info", "Altitude", "Name,Id")->SetValue("10");
    m_Game.Add(DefaultZone());
    Enter();
    SelectPreset("Short spot");
    EXPECT_FLOAT_EQ(25.0f, Widget(kAltitude).SpinnerValue);
    EXPECT_EQ("10", Row(Stored("Short spot"), "Altitude"));
}

// A damaged preset sets what it can; the screen stays usable and the widgets
// become "Custom".
TEST_F(DZMenuTest, APresetWithAMissingRowOrABadNumberAppliesTheRest)
{
    UseUnits(kMetric);
    m_Services = std::make_unique<CMenuServices>(Config());
    const xml::CNodePtr file = xml::LoadXmlFile(PresetsFile())->GetChild("Presets");
    const xml::CNodePtr first = file->GetChild("Preset");
    first->RemoveChild(first->GetChildById("Info", "Altitude", "Name,Id"));
    first->GetChildById("Info", "Wind strength", "Name,Id")->SetValue("fast");
    first->GetChildById("Info", "Distance to target at altitude", "Name,Id")->SetValue("150");
    ASSERT_TRUE(xml::SaveXmlFile(PresetsFile(), file));

    EnterWithDefaultZone();
    EXPECT_TRUE(m_Log.Has("Warning: Preset 'On target, 8mph wind' has no row 'Altitude'"));
    EXPECT_TRUE(m_Log.HasContaining("Warning: Preset 'On target, 8mph wind', row 'Wind strength' is not applied: "));
    EXPECT_FLOAT_EQ(150.0f, Widget(kTargetDistance).SpinnerValue);
    EXPECT_EQ("Custom", Selected(kPresets));
    EXPECT_EQ("150", Row(Stored("Custom"), "Distance to target at altitude"));

    SelectPreset("On target, 8mph wind");
    EXPECT_NE(std::string::npos, Widget(kDescription).Text.find("\nWind strength: fast\n"));
}

// ---- Screen life

TEST_F(DZMenuTest, EachClickRunsItsHandlerOnceAfterEnteringTwice)
{
    EnterWithDefaultZone();
    Click("wndDropZone/btnBack");
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), m_GuiEngine->GetCurrentState());
    Click("wndMainMenu/btnStart");
    SavePresetAs("");
    EXPECT_EQ(1, std::count(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), "Displaying wndMessageBox"));
}

TEST_F(DZMenuTest, DropZonesAreCopiedAgainAtEveryEnterOnlyWhenAsked)
{
    for (const char* reload : {"0", "1"}) {
        SetConfigString(Config(), "Switches->>ReloadDZs", reload);
        m_Game.Reset();
        m_Game.Add(Zone(kRidge));
        Start();
        m_Game.Add(Zone(kMeadow));
        Enter();
        const std::vector<std::string> expected =
            reload == std::string("1") ? std::vector<std::string>{"Ridge Field", "Meadow"}
                                       : std::vector<std::string>{"Ridge Field"};
        EXPECT_EQ(expected, Widget(kDropZones).Items) << "ReloadDZs " << reload;
        m_GuiEngine.reset();
    }
}

// ---- Jump

TEST_F(DZMenuTest, JumpStartsDistanceShortOfTheTargetAtTheAltitude)
{
    UseUnits(kMetric);
    m_Game.Add(Zone(kRidge));
    m_Game.Add(Zone(kMeadow));
    Enter();
    // The first preset names a drop zone the game does not have: the widgets
    // keep Ridge Field and become "Custom", with the preset's 128.016 m and 60.96 m.
    ASSERT_EQ("Ridge Field", Selected(kDropZones));
    Jump();
    EXPECT_EQ(GuiStates::CInGameMenuState::GetSingleton(), m_GuiEngine->GetCurrentState());
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
    EXPECT_EQ(m_Game.m_DropZones.at("Ridge Field"), m_Game.m_Current);

    const xml::CNodePtr preset = ScenePreset("Ridge Field");
    const CVector start = preset->GetChild("Jumper")->GetAttribute("Position")->GetValue<CVector>();
    EXPECT_NEAR(-28.016f, start.x, 1e-4f);
    EXPECT_NEAR(60.96f, start.y, 1e-4f);
    EXPECT_NEAR(40.0f, start.z, 1e-4f);
    EXPECT_EQ("3.57632", preset->GetChild("Wind")->GetChild("Region")->GetAttribute("Speed")->GetValue());
    EXPECT_EQ("1, 2, 3", preset->GetChild("Camera")->GetAttribute("Pos")->GetValue()) << "the zone's camera";
    EXPECT_EQ("camera_script1", preset->GetChild("Camera")->GetAttribute("Type")->GetValue());

    std::vector<std::string> rows;
    xml::ForEachChild(*preset, "Info",
                      [&](const xml::CNodePtr& info) { rows.push_back(info->GetAttribute("Name")->GetValue()); });
    EXPECT_EQ((std::vector<std::string>{"Configuration", "Drop zone name", "Wind direction", "Altitude",
                                        "Distance to target at altitude", "Canopy size", "Exit weight",
                                        "Input type", "Drop zone elevation", "Altimeter"}),
              rows);
    EXPECT_EQ("Custom", Row(preset, "Configuration"));
    EXPECT_EQ("Ridge Field", Row(preset, "Drop zone name"));
    EXPECT_EQ("12", Row(preset, "Drop zone elevation"));

    // Without a target and a camera of its own.
    m_Engine.PopState();
    GuiStates::GoToDZSelection(*m_GuiEngine);
    m_Gui.SelectItem(kDropZones, "Meadow");
    Jump();
    const xml::CNodePtr meadow = ScenePreset("Meadow");
    EXPECT_EQ("-128.016,60.96,0", meadow->GetChild("Jumper")->GetAttribute("Position")->GetValue());
    EXPECT_EQ("300, 60, 170", meadow->GetChild("Camera")->GetAttribute("Pos")->GetValue());
    EXPECT_EQ("Meadow", Row(meadow, "Drop zone name")) << "a drop zone changed beside the tabs still counts";
}

TEST_F(DZMenuTest, JumpWritesTheWindOfTheWidgets)
{
    const struct
    {
        bool TemplateHasRandomSpeed;
        bool Random;
        const char* Direction;
    } cases[] = {
        {true, false, "Into the wind (Up wind)"},
        {false, true, "With the wind (Down wind)"},
        {true, true, "Into the wind (Up wind)"},
    };
    for (const auto& c : cases) {
        m_App.m_Config = LoadDefaultConfig();
        if (c.TemplateHasRandomSpeed)
            SetConfigString(Config(), "Configuration->Preset->Wind->Region->RandomSpeed", "");
        m_Services.reset();
        m_Game.Reset();
        m_Game.Add(Zone(kMeadow));
        m_Engine.PopState();
        Enter();
        m_Gui.SetChecked(kRandomWind, c.Random);
        m_Gui.SelectItem(kWindDirection, c.Direction);
        Jump();
        const xml::CNodePtr wind = ScenePreset("Meadow")->GetChild("Wind")->GetChild("Region");
        EXPECT_EQ(c.Random ? 1u : 0u, wind->GetChildren().count("RandomSpeed")) << c.Direction;
        EXPECT_EQ(c.Direction == std::string("With the wind (Down wind)") ? "1, 0, 0" : "-1, 0, 0",
                  GetConfigString(ScenePreset("Meadow"), "Wind->Region->>Direction", ""));
        m_GuiEngine.reset();
    }
}

TEST_F(DZMenuTest, AZonesOwnPresetReplacesTheBuiltPartsAndOnePresetRemains)
{
    m_Game.Add(Zone(kHill));
    Enter();
    Jump();
    const xml::CNode& scene = *m_Game.m_DropZones.at("Hill")->GetWorkingTree()->GetChild("scene");
    EXPECT_EQ(1u, scene.GetChildren().count("Preset"));
    const xml::CNodePtr preset = ScenePreset("Hill");
    EXPECT_EQ(1u, preset->GetChildren().count("Jumper"));
    EXPECT_EQ("7, 8, 9", preset->GetChild("Jumper")->GetAttribute("Position")->GetValue());
    EXPECT_TRUE(preset->HasChild("Wind"));
    EXPECT_EQ(10u, preset->GetChildren().count("Info"));
    EXPECT_FALSE(m_Game.m_DropZones.at("Hill")->GetTree()->GetChild("scene")->GetChild("Preset")->HasChild("Info"))
        << "the file's own tree stays as read";

    // A second jump on the same working tree still ends with one.
    m_Engine.PopState();
    GuiStates::GoToDZSelection(*m_GuiEngine);
    Jump();
    EXPECT_EQ(1u, scene.GetChildren().count("Preset"));
    EXPECT_EQ(10u, ScenePreset("Hill")->GetChildren().count("Info"));
}

TEST_F(DZMenuTest, AnUnknownDropZoneChangesNothing)
{
    m_Game.Add(Zone(kRidge));
    Enter();
    Widget(kDropZones).Text = "Nowhere";
    try {
        Jump();
        ADD_FAILURE() << "nothing thrown";
    } catch (const std::exception& e) {
        EXPECT_STREQ("DZ 'Nowhere' can not be loaded ", e.what());
    }
    EXPECT_EQ(nullptr, m_Game.m_Current);
    EXPECT_FALSE(m_Game.m_DropZones.at("Ridge Field")->GetWorkingTree()->GetChild("scene")->HasChild("Preset"));
    EXPECT_EQ(Menu(), m_GuiEngine->GetCurrentState());
    EXPECT_FALSE(m_Engine.HasStates());
}

TEST_F(DZMenuTest, UnreadableDropZonesAreNamedOnceAndNoPresetIsWrittenWithoutADropZone)
{
    const std::string unreadable = "../data/Skorvel/HomeField.dz: line 3, char 1: expected end of tag 'scene'";
    m_Game.m_Unreadable = {unreadable};
    Start();
    const std::string presets = FileText(PresetsFile());
    auto box = [this]() -> const GuiStates::CMessageBoxState* {
        return dynamic_cast<GuiStates::CMessageBoxState*>(m_GuiEngine->GetCurrentState());
    };

    GuiStates::GoToMainMenu(*m_GuiEngine);
    Click("wndMainMenu/btnStart");
    ASSERT_NE(nullptr, box()) << "the list is shown with what is missing from it";
    EXPECT_EQ("This drop-zone file cannot be read and is not listed:\n" + unreadable, box()->GetText());
    Click("wndMessageBox/btnClose");
    ASSERT_EQ(Menu(), m_GuiEngine->GetCurrentState());

    Jump();
    ASSERT_NE(nullptr, box());
    EXPECT_EQ("There is no drop zone to jump into. No drop-zone file can be read:\n" + unreadable, box()->GetText());
    EXPECT_FALSE(m_Engine.HasStates()) << "no level without a drop zone";
    Click("wndMessageBox/btnClose");
    EXPECT_EQ(presets, FileText(PresetsFile())) << "no \"Custom\" without a drop zone";

    // Back and Start again: the same file is not named twice.
    Click("wndDropZone/btnBack");
    Click("wndMainMenu/btnStart");
    EXPECT_EQ(Menu(), m_GuiEngine->GetCurrentState());
    EXPECT_EQ(presets, FileText(PresetsFile()));
}

TEST_F(DZMenuTest, WithoutAGameModeNoDropZoneIsListedAndJumpSaysSo)
{
    m_Engine.m_GameModeState = nullptr;
    Enter();
    EXPECT_TRUE(Widget(kDropZones).Items.empty());
    Jump();
    EXPECT_TRUE(m_Log.Has("Warning: Screen is not available: game mode"));
    EXPECT_EQ(Menu(), m_GuiEngine->GetCurrentState());
    EXPECT_FALSE(m_Engine.HasStates());
}

} // namespace
