// The force-field edition's screens against a fake GUI and a fake game mode:
// the scene list with its scores, jumping and editing, creating a scene from
// the editor template, and the create and edit dialogs of a force field.

#include <fstream>
#include <sstream>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/DropZoneList.h"
#include "app/EditionSelection.h"
#include "core/ConfigPath.h"
#include "core/XmlFile.h"
#include "forcefields/ForceFieldScene.h"
#include "forcefields/ForceFunctions.h"
#include "gui/menus/CreateForceField.h"
#include "gui/menus/EditForceField.h"
#include "gui/menus/EditorScreens.h"
#include "gui/menus/ForceFieldsState.h"
#include "ScreensFixture.h"

using namespace sds;
using GuiStates::CCreateForceField;
using GuiStates::CEditForceField;
using GuiStates::CForceFieldsState;

namespace {

const char* const kExtension = ".ForceFields";
const char* const kDropZones = "wndForceField/cbDropZones";
const char* const kDescription = "wndForceField/mlbDZDescription";
const char* const kWeight = "wndForceField/cbWeight";
const char* const kNewFieldName = "wndForceField/ebNewFieldName";

// A scene with two force fields, a camera of its own and a preset without one.
const char* const kRidge = R"(<scene FullName="Ridge">
  <GroundLevel Value="12" />
  <Camera Pos="1,2,3" />
  <Preset>
    <Jumper Position="-150,200,0" Create="1" />
    <Wind><Region><Shape Position="0,0,0" /></Region><Region><Shape Position="9,0,0" /></Region></Wind>
  </Preset>
  <Target Position="150,0,0" />
</scene>)";
// One without wind and without elevation.
const char* const kCalm = R"(<scene FullName="Calm"><Preset><Camera Pos="4,5,6" /></Preset></scene>)";

// A force field as the editor's cursor makes it, filled as a template would.
const char* const kField = R"(<Wind><Region>
  <Shape Position="0,100,0" Size="100,100,100" />
  <JustCreated />
  <Radius Name="1" Position="30,100,0">30</Radius>
  <Radius Name="2" Position="0,130,0">31</Radius>
  <Radius Name="3" Position="-30,100,0">32</Radius>
  <Function>function CalculateForce() return CVector(1, 0, 0) end
function Update() end</Function>
  <Description>Blows to the right.</Description>
</Region></Wind>)";

const char* const kValidFunction = "function CalculateForce()\n"
                                   "  return CVector(math.sin(Time), #string.rep('a', 2), table.unpack({0}))\n"
                                   "end\nfunction Update() end\n";

xml::CNodePtr Scene(const char* text)
{
    return xml::LoadXmlFromMemory(text, "scene.ForceFields");
}

std::string Row(const xml::CNodePtr& preset, const std::string& name)
{
    return preset->GetChildById("Info", name, "Name,Id")->GetValue();
}

std::string FileText(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The shipped configuration of the force-field edition, its scenes in a folder of the test's own.
xml::CNodePtr ForceFieldConfig(const std::string& sceneFolder)
{
    const xml::CNodePtr root = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
    root->GetChild("Application")->GetAttribute("Edition")->SetValue("DovuvUvozeVozediza");
    SelectEdition(root);
    SetConfigString(root, "Application->DropZones->>Path", sceneFolder + "/");
    SetConfigString(root, "Application->Configs->EditorTemplate->>Path",
                    SDS_SOURCE_DIR "/data/DovuvUvozeVozediza/default");
    SetConfigString(root, "Application->Configs->ForceFieldFunctions->>Path",
                    SDS_SOURCE_DIR "/data/DovuvUvozeVozediza/templates/");
    return root;
}

struct CSceneFolder
{
    CTempDir m_Scenes;
};

class ForceFieldScreensTest : protected CSceneFolder, public ScreensTest
{
protected:
    ForceFieldScreensTest() : ScreensTest(ForceFieldConfig(m_Scenes.Path()))
    {
        // The game mode lists the folder as the program's does.
        m_Game.m_ListDropZones = [this] {
            ListDirectory(m_Scenes.Path() + "/", kExtension, m_Game.m_DropZones, m_Game.m_Names, &m_Game.m_Unreadable);
        };
    }

    CForceFieldsState& Screen() { return *CForceFieldsState::GetSingleton(); }

    // The scenes given, in the game mode and the screen's list, and the screen shown.
    void EnterWith(std::initializer_list<const char*> scenes)
    {
        for (const char* scene : scenes)
            m_Game.Add(Scene(scene));
        StartMenus();
        sds::GuiStates::GoToDZSelection(*m_GuiEngine);
        m_Engine.ChangeState(m_MenuMode.get());
    }

    void Select(const std::string& scene)
    {
        m_Gui.SelectItem(kDropZones, scene);
        Click(kDropZones);
    }

    void Create(const std::string& name)
    {
        m_Gui.SetText(kNewFieldName, name);
        Click("wndForceField/btnCreate");
    }

    std::string ScenePath(const std::string& fileName) const { return m_Scenes.File(fileName + kExtension); }
    long SceneFiles() const
    {
        return std::distance(boost::filesystem::directory_iterator(m_Scenes.Path()),
                             boost::filesystem::directory_iterator());
    }

    xml::CNodePtr WorkingScene(const std::string& name)
    {
        return m_Game.m_DropZones.at(name)->GetWorkingTree()->GetChild("scene");
    }

    void AddJump(const std::string& zone, const char* score, const char* rideTime)
    {
        xml::CNodePtr info(new xml::CNode("Jump", false));
        if (score)
            info->AddChild("Info", score)->AddAttribute("Name", "Score");
        if (rideTime)
            info->AddChild("Info", rideTime)->AddAttribute("Name", "Canopy ride time");
        const auto number = static_cast<std::uint32_t>(m_Engine.Profile().GetJumps().size() + 1);
        m_Engine.Profile().AddJump(CJumpRecord(number, zone, "jump.trj", CVector::ZERO, CVector::ZERO, info));
    }

    bool OpenedInEditor(const std::string& scene) const
    {
        return m_Game.m_Current && m_Game.m_Current->GetFullName() == scene && m_Game.m_Editing &&
               m_Engine.GetCurrentState() == &m_Game;
    }
};

TEST_F(ForceFieldScreensTest, TheEditionHasTheForceFieldScreenAndItsDialogs)
{
    EnterWith({kRidge});
    EXPECT_EQ(&Screen(), CurrentScreen());
    EXPECT_NE(nullptr, m_GuiEngine->FindScreen("wndCreateForceField"));
    EXPECT_NE(nullptr, m_GuiEngine->FindScreen("wndEditForceField"));
}

TEST_F(ForceFieldScreensTest, TheDescriptionCountsFieldsAndScoresOfTheSelectedScene)
{
    AddJump("Ridge", "10", "30.5");
    AddJump("Ridge", nullptr, nullptr); // ended before the canopy flew: no score, no ride time
    AddJump("Calm", "50", "100");
    EnterWith({kRidge, kCalm});
    Select("Ridge");
    EXPECT_EQ("Drop zone name: Ridge", m_Gui.GetText(kDescription).substr(0, 21));

    const xml::CNodePtr ridge = Screen().BuildPreset();
    EXPECT_EQ("2", Row(ridge, "Number of force fields"));
    EXPECT_EQ("2", Row(ridge, "Number of jumps"));
    EXPECT_EQ("10", Row(ridge, "Your maximum score"));
    EXPECT_EQ("5", Row(ridge, "Your average score")) << "a jump without a score counts as 0";
    EXPECT_EQ("30.5", Row(ridge, "Your accumulated time"));

    Select("Calm");
    const xml::CNodePtr calm = Screen().BuildPreset();
    EXPECT_EQ("0", Row(calm, "Drop zone elevation"));
    EXPECT_EQ("0", Row(calm, "Number of force fields"));
    EXPECT_EQ("50", Row(calm, "Your maximum score"));

    // An empty selection returns to the scene selected before.
    m_Gui.SetText(kDropZones, "");
    Click(kDropZones);
    EXPECT_EQ("Calm", m_Gui.GetSelectedItem(kDropZones));
}

TEST_F(ForceFieldScreensTest, NegativeScoresAndNoJumpsGiveZeros)
{
    AddJump("Ridge", "-3", "1");
    EnterWith({kRidge, kCalm});
    Select("Ridge");
    EXPECT_EQ("0", Row(Screen().BuildPreset(), "Your maximum score"));
    Select("Calm");
    const xml::CNodePtr calm = Screen().BuildPreset();
    for (const char* row : {"Number of jumps", "Your maximum score", "Your average score", "Your accumulated time"})
        EXPECT_EQ("0", Row(calm, row)) << row;
}

TEST_F(ForceFieldScreensTest, AWeightTextInNeitherTableKeepsTheLastValidWeight)
{
    EnterWith({kRidge});
    const std::vector<std::string> weights = m_Gui.Get(kWeight).Items;
    ASSERT_GE(weights.size(), 2u);
    m_Gui.SelectItem(kWeight, weights[1]);
    const std::string chosen = Row(Screen().BuildPreset(), "Exit weight");
    m_Gui.SetText(kWeight, "heavy");
    EXPECT_EQ(chosen, Row(Screen().BuildPreset(), "Exit weight"));
}

TEST_F(ForceFieldScreensTest, JumpWritesThePresetIntoTheSceneAndStartsTheGame)
{
    EnterWith({kRidge, kCalm});
    m_Game.m_Editing = true; // left over from an edit
    Select("Ridge");
    Click("wndForceField/btnJump");

    EXPECT_EQ("Ridge", m_Game.m_Current->GetFullName());
    EXPECT_FALSE(m_Game.m_Editing);
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());

    const xml::CNodePtr scene = WorkingScene("Ridge");
    const xml::CNodePtr preset = scene->GetChild("Preset");
    std::vector<std::string> rows;
    xml::ForEachChild(*preset, "Info", [&](const xml::CNodePtr& row) { rows.push_back(row->GetAttribute("Name")->GetValue()); });
    EXPECT_EQ((std::vector<std::string>{"Drop zone name", "Drop zone elevation", "Number of force fields",
                                        "Number of jumps", "Your maximum score", "Your average score",
                                        "Your accumulated time", "Configuration", "Exit weight", "Canopy size",
                                        "Input type"}),
              rows);
    EXPECT_EQ("12", Row(preset, "Drop zone elevation"));
    EXPECT_EQ(2, std::distance(preset->GetChild("Wind")->GetChildrenBegin("Region"),
                               preset->GetChild("Wind")->GetChildrenEnd("Region")))
        << "the scene's own preset joins the jump's";
    EXPECT_EQ("-150,200,0", preset->GetChild("Jumper")->GetAttribute("Position")->GetValue());
    EXPECT_EQ("1,2,3", GetConfigString(preset, "Camera->>Pos", "")) << "the scene's camera, in a preset without one";
}

TEST_F(ForceFieldScreensTest, ASceneThatFailsToLoadBringsTheScreenBackWithTheReason)
{
    EnterWith({kRidge, kCalm});
    Select("Ridge");
    ClickFailingToLoad("wndForceField/btnJump", "The scene's target cannot be read");
    EXPECT_EQ(&Screen(), CurrentScreen());
    EXPECT_TRUE(Visible("wndForceField"));

    Click("wndForceField/btnJump");
    EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
}

TEST_F(ForceFieldScreensTest, ASceneOfNumbersThatAreNoneIsRefusedWithTheSceneAndTheValue)
{
    EnterWith({kRidge, kCalm});
    SetConfigString(WorkingScene("Ridge"), "Preset->Jumper->>Position", "nan,nan,nan");
    Select("Ridge");
    for (const char* button : {"wndForceField/btnJump", "wndForceField/btnEdit"}) {
        SCOPED_TRACE(button);
        Click(button);
        const auto* box = dynamic_cast<sds::GuiStates::CMessageBoxState*>(m_GuiEngine->GetCurrentState());
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(0u, box->GetText().find("The scene \"Ridge\" (")) << box->GetText();
        EXPECT_NE(std::string::npos,
                  box->GetText().find(": scene/Preset/Jumper \"Position\" is 'nan,nan,nan', which is no number"))
            << box->GetText();
        EXPECT_TRUE(m_Log.HasContaining("Warning: The scene \"Ridge\""));
        EXPECT_NE(&m_Game, m_Engine.GetCurrentState()) << "neither flown nor edited";
        Click("wndMessageBox/btnClose");
    }
}

TEST_F(ForceFieldScreensTest, EditOpensTheSceneInTheEditor)
{
    EnterWith({kRidge, kCalm});
    Select("Calm");
    Click("wndForceField/btnEdit");
    EXPECT_TRUE(OpenedInEditor("Calm"));
    EXPECT_EQ("4,5,6", GetConfigString(WorkingScene("Calm"), "Preset->Camera->>Pos", ""));
}

TEST_F(ForceFieldScreensTest, AScenesTheGameModeListedMeanwhileIsOfferedOnTheNextVisit)
{
    EnterWith({kRidge, kCalm});
    Select("Ridge");
    sds::GuiStates::GoToMainMenu(*m_GuiEngine);
    // The editor's "Start simulation" writes "LastEdit"; the game mode lists it.
    m_Game.Add(Scene(R"(<scene FullName="Last Edit"><Preset><Wind /></Preset></scene>)"));
    sds::GuiStates::GoToDZSelection(*m_GuiEngine);
    EXPECT_EQ((std::vector<std::string>{"Ridge", "Calm", "Last Edit"}), m_Gui.Get(kDropZones).Items);
    EXPECT_EQ("Ridge", m_Gui.GetSelectedItem(kDropZones)) << "the scene chosen before";
    Select("Last Edit");
    EXPECT_EQ("0", Row(Screen().BuildPreset(), "Number of force fields"));
}

TEST_F(ForceFieldScreensTest, TypingTheNameOfAListedSceneOpensItWithoutWriting)
{
    EnterWith({kRidge, kCalm});
    Create("  Calm ");
    EXPECT_TRUE(OpenedInEditor("Calm"));
    EXPECT_EQ(0, SceneFiles());
    EXPECT_EQ(0, m_Game.m_DropZoneListings);
}

struct CNewScene
{
    std::string Typed;
    std::string FullName;
    std::string FileName;
};

std::string Repeat(const std::string& text, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

void PrintTo(const CNewScene& scene, std::ostream* out)
{
    *out << ::testing::PrintToString(scene.Typed);
}

class NewSceneTest : public ForceFieldScreensTest, public ::testing::WithParamInterface<CNewScene>
{
};

TEST_P(NewSceneTest, IsWrittenFromTheTemplateListedAndOpened)
{
    const CNewScene& scene = GetParam();
    EnterWith({kRidge});
    Create(scene.Typed);

    EXPECT_EQ(scene.FullName, m_Gui.GetText(kNewFieldName));
    ASSERT_TRUE(boost::filesystem::exists(ScenePath(scene.FileName))) << MessageBoxText();
    const xml::CNodePtr written = xml::LoadXmlFile(ScenePath(scene.FileName))->GetChild("scene");
    EXPECT_EQ(scene.FullName, written->GetAttribute("FullName")->GetValue());
    EXPECT_TRUE(written->GetChild("Preset")->GetChild("Wind")->HasChild("Region")) << "the editor template's";
    EXPECT_EQ(1, SceneFiles());
    EXPECT_TRUE(OpenedInEditor(scene.FullName));
}

INSTANTIATE_TEST_SUITE_P(
    Names, NewSceneTest,
    ::testing::Values(CNewScene{"  ab: cd  ", "ab: cd", "ab_cd"}, CNewScene{"a//b", "a//b", "a_b"},
                      CNewScene{"a\tb\x01", "a_b_", "a_b_"},
                      CNewScene{std::string(51, 'x'), std::string(51, 'x'), std::string(49, 'x')},
                      CNewScene{std::string(50, 'y'), std::string(50, 'y'), std::string(50, 'y')},
                      // Counted and cut by characters, never inside one.
                      CNewScene{std::string(48, 'x') + "\u00e9\u00e9\u00e9",
                                std::string(48, 'x') + "\u00e9\u00e9\u00e9", std::string(48, 'x') + "\u00e9"},
                      CNewScene{Repeat("\u00fc", 50), Repeat("\u00fc", 50), Repeat("\u00fc", 50)},
                      CNewScene{Repeat("\u65e5", 60), Repeat("\u65e5", 60), Repeat("\u65e5", 49)},
                      CNewScene{"Dünen & Wind!", "Dünen & Wind!", "Dünen_Wind_"}));

TEST_F(ForceFieldScreensTest, NewSceneNamesThatWouldLoseDataAreRefused)
{
    // Another scene's file, listed under another full name.
    std::ofstream(ScenePath("a_b")) << R"(<?xml version="1.0" ?><scene FullName="a b" />)";
    const std::string otherScene = FileText(ScenePath("a_b"));
    EnterWith({kRidge});

    const struct
    {
        const char* Typed;
        const char* Message;
    } cases[] = {
        {"  \t ", "Type a name for the new scene first."},
        {"LastEdit", "\"LastEdit\" keeps the scene last started from the editor. Please choose another name."},
        {"a?b", "Another scene is stored in the file \"a_b\". Please choose another name.\nFull path:\n\""},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.Typed);
        Create(refused.Typed);
        EXPECT_EQ(0u, MessageBoxText().find(refused.Message)) << MessageBoxText();
        EXPECT_EQ(1, SceneFiles());
        EXPECT_EQ(otherScene, FileText(ScenePath("a_b")));
        m_GuiEngine->PopState();
        EXPECT_EQ(&Screen(), CurrentScreen());
    }
    EXPECT_FALSE(m_Game.m_Current);
}

TEST_F(ForceFieldScreensTest, ASceneThatCannotBeWrittenOrListedIsReported)
{
    EnterWith({kRidge});
    // The written file is not found when the folder is read.
    m_Game.m_ListDropZones = [] {};
    Create("Gone");
    EXPECT_EQ("Could not create new force field.", MessageBoxText());
    EXPECT_FALSE(m_Game.m_Current);
    m_GuiEngine->PopState();

    boost::filesystem::remove_all(m_Scenes.Path());
    Create("Nowhere");
    EXPECT_EQ("Were not able to create the file.\nEntered file name for the Force Field may be not valid. Please "
              "try another one.\nNowhere\nFull path:\n\"" +
                  ScenePath("Nowhere") + "\"",
              MessageBoxText());
}

// The dialogs as the editor opens them: over an editor state, through the
// screens the menus hand the editor.
class ForceFieldDialogsTest : public ForceFieldScreensTest
{
protected:
    ForceFieldDialogsTest() : m_Editor("editor"), m_File(Scene(kField)), m_Wind(m_File->GetChild("Wind"))
    {
        EnterWith({kRidge});
        m_Engine.ChangeState(&m_Editor);
        m_Field = m_Wind->GetChild("Region");
    }

    bool Open(bool create)
    {
        DovuvUvozeVozediza::IEditorScreens& screens = m_GuiEngine->GetEditorScreens();
        return create ? screens.GoToCreateForceField(m_Field) : screens.GoToEditForceField(m_Field);
    }

    bool InScene() const { return DovuvUvozeVozediza::IsChildOf(*m_Wind, m_Field); }
    bool BackInEditor() const { return m_Engine.GetCurrentState() == &m_Editor && !m_GuiEngine->HasStates(); }
    std::string Radius(const char* id) const { return m_Field->GetChildById("Radius", id, "Name,Id")->GetValue(); }

    CRecordingEngineState m_Editor;
    xml::CNodePtr m_File;
    xml::CNodePtr m_Wind;
    xml::CNodePtr m_Field;
};

TEST_F(ForceFieldDialogsTest, CreateFillsTheFieldFromTheChosenTemplatesAndGoesOnToEditing)
{
    ASSERT_TRUE(Open(true));
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
    EXPECT_EQ(CCreateForceField::GetSingleton(), CurrentScreen());
    const std::vector<std::string> types = m_Gui.Get("wndCreateForceField/cbForceType").Items;
    const std::vector<std::string> timings = m_Gui.Get("wndCreateForceField/cbForceTiming").Items;
    ASSERT_FALSE(types.empty());
    ASSERT_FALSE(timings.empty());
    EXPECT_TRUE(std::is_sorted(types.begin(), types.end()));
    EXPECT_FALSE(m_Gui.GetText("wndCreateForceField/mleDescription").empty());

    m_Gui.SelectItem("wndCreateForceField/cbForceType", types.back());
    m_Gui.SelectItem("wndCreateForceField/cbForceTiming", timings.back());
    Click("wndCreateForceField/btnCreate");

    EXPECT_EQ(CEditForceField::GetSingleton(), CurrentScreen());
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState()) << "still in menu mode";
    EXPECT_EQ(m_Field->GetChild("Function")->GetValue(), m_Gui.GetText("wndEditForceField/mleForce"));
    EXPECT_EQ("", DovuvUvozeVozediza::CheckForceFunction(m_Field->GetChild("Function")->GetValue()));
    EXPECT_EQ(Radius("2"), m_Gui.GetText("wndEditForceField/ebRadius2"));
    EXPECT_TRUE(m_Field->HasChild("JustCreated"));
}

TEST_F(ForceFieldDialogsTest, CancelTakesOutOnlyAFieldThatWasNeverConfirmed)
{
    ASSERT_TRUE(Open(true));
    Click("wndCreateForceField/btnCancel");
    EXPECT_FALSE(InScene());
    EXPECT_TRUE(BackInEditor());

    m_Wind->AddChild(m_Field);
    ASSERT_TRUE(Open(false));
    Click("wndEditForceField/btnCancel");
    EXPECT_FALSE(InScene()) << "still marked just created";

    m_Wind->AddChild(m_Field);
    m_Field->RemoveChild(m_Field->GetChild("JustCreated"));
    ASSERT_TRUE(Open(false));
    m_Gui.SetText("wndEditForceField/ebRadius1", "99");
    Click("wndEditForceField/btnCancel");
    EXPECT_TRUE(InScene());
    EXPECT_EQ("30", Radius("1"));
    EXPECT_TRUE(BackInEditor());

    ASSERT_TRUE(Open(false));
    Click("wndEditForceField/btnDelete");
    EXPECT_FALSE(InScene());
    EXPECT_TRUE(BackInEditor());
}

TEST_F(ForceFieldDialogsTest, OkStoresTheEditsAsTypedAndConfirmsTheField)
{
    ASSERT_TRUE(Open(false));
    EXPECT_EQ("Blows to the right.", m_Gui.GetText("wndEditForceField/mleDescription"));
    m_Gui.SetText("wndEditForceField/mleForce", kValidFunction);
    m_Gui.SetText("wndEditForceField/ebRadius1", "12.5");
    m_Gui.SetText("wndEditForceField/ebRadius2", "wide");
    m_Gui.SetText("wndEditForceField/ebRadius3", "");
    m_Gui.SetText("wndEditForceField/mleDescription", "Gusty.");
    Click("wndEditForceField/btnVerify");
    EXPECT_EQ(CEditForceField::GetSingleton(), CurrentScreen()) << "a function that passes shows nothing";
    Click("wndEditForceField/btnOk");

    EXPECT_TRUE(BackInEditor());
    EXPECT_EQ("12.5", Radius("1"));
    EXPECT_EQ("wide", Radius("2"));
    EXPECT_EQ("", Radius("3"));
    EXPECT_EQ(kValidFunction, m_Field->GetChild("Function")->GetValue());
    EXPECT_EQ("Gusty.", m_Field->GetChild("Description")->GetValue());
    EXPECT_FALSE(m_Field->HasChild("JustCreated"));
    EXPECT_EQ("30,100,0", m_Field->GetChildById("Radius", "1", "Name,Id")->GetAttribute("Position")->GetValue());
}

TEST_F(ForceFieldDialogsTest, AFunctionThatFailsTheSandboxedCheckIsShownAndNothingIsWritten)
{
    const std::string before = m_Field->GetChild("Function")->GetValue();
    const char* const failing[] = {
        "function CalculateForce() return nil + 1 end function Update() end",
        "local f = io.open('/tmp/sds-escape', 'w') function CalculateForce() return CVector(0,0,0) end "
        "function Update() end",
        "os.remove('x') function CalculateForce() return CVector(0,0,0) end function Update() end",
        "dofile('x') function CalculateForce() return CVector(0,0,0) end function Update() end",
        "require('x') function CalculateForce() return CVector(0,0,0) end function Update() end",
        "debug.sethook() function CalculateForce() return CVector(0,0,0) end function Update() end",
    };
    ASSERT_TRUE(Open(false));
    for (const char* function : failing) {
        SCOPED_TRACE(function);
        m_Gui.SetText("wndEditForceField/mleForce", function);
        m_Gui.SetText("wndEditForceField/ebRadius1", "77");
        Click("wndEditForceField/btnOk");
        EXPECT_EQ(0u, MessageBoxText().find("Error: ")) << MessageBoxText();
        m_GuiEngine->PopState();
        EXPECT_EQ(CEditForceField::GetSingleton(), CurrentScreen()) << "the dialog stays";
        EXPECT_EQ(function, m_Gui.GetText("wndEditForceField/mleForce")) << "with the user's text";
    }
    EXPECT_EQ(before, m_Field->GetChild("Function")->GetValue());
    EXPECT_EQ("30", Radius("1"));
    EXPECT_TRUE(m_Field->HasChild("JustCreated"));
    EXPECT_FALSE(boost::filesystem::exists("/tmp/sds-escape"));
}

TEST_F(ForceFieldDialogsTest, HelpOpensOverTheDialogOnTheScriptingTab)
{
    ASSERT_TRUE(Open(false));
    Click("wndEditForceField/btnHelp");
    EXPECT_EQ("wndHelp/tcSections/tabScripting", m_Gui.Get("wndHelp/tcSections").SelectedTab);
    EXPECT_EQ("wndHelp", CurrentScreen()->GetWindowName());
    m_GuiEngine->PopState();
    EXPECT_EQ(CEditForceField::GetSingleton(), CurrentScreen());
}

class NoTemplatesTest : public ForceFieldScreensTest
{
protected:
    NoTemplatesTest()
    {
        SetConfigString(m_App.m_Config, "Application->Configs->ForceFieldFunctions->>Path", m_Empty.Path() + "/");
        StartMenus();
    }
    CTempDir m_Empty;
};

TEST_F(NoTemplatesTest, LeaveBothBoxesEmptyAndCreateFails)
{
    EXPECT_TRUE(m_Gui.Get("wndCreateForceField/cbForceType").Items.empty());
    EXPECT_TRUE(m_Gui.Get("wndCreateForceField/cbForceTiming").Items.empty());
    const xml::CNodePtr field = Scene(kField)->GetChild("Wind")->GetChild("Region");
    CCreateForceField::GetSingleton()->SetForceField(field);
    EXPECT_THROW(CCreateForceField::GetSingleton()->OnCreate(CGUIEvent()), xml::CNoNodeException);
}

} // namespace
