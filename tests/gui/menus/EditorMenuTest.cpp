// The force-field editor's menu and its on-screen button, over a recording
// editor and game mode, with a scene copied from the shipped ones.

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/EditionSelection.h"
#include "core/ConfigPath.h"
#include "core/XmlFile.h"
#include "editor/IEditorScreens.h"
#include "graphics/memory/MemGfxMgr.h"
#include "gui/menus/EditorMenuState.h"
#include "gui/menus/MainMenuState.h"
#include "ScreensFixture.h"

using namespace sds;

namespace {

xml::CNodePtr ForceFieldEdition(const std::string& sceneFolder)
{
    const xml::CNodePtr root = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
    root->GetChild("Application")->GetAttribute("Edition")->SetValue("DovuvUvozeVozediza");
    SelectEdition(root);
    SetConfigString(root, "Application->DropZones->>Path", sceneFolder + "/");
    return root;
}

struct CFolders
{
    CTempDir m_Scenes;
};

// The editor menu over a paused editor over the paused game mode, editing a
// copy of a shipped scene whose jump wrote three "Info" rows.
class EditorMenuTest : protected CFolders, public ScreensTest
{
protected:
    EditorMenuTest() : ScreensTest(ForceFieldEdition(m_Scenes.Path())), m_Editor("editor")
    {
        StartMenus();
        boost::filesystem::copy_file(SDS_SOURCE_DIR "/data/DovuvUvozeVozediza/Rotor.ForceFields", OwnFile());
        m_Game.m_Current = m_Game.Add(xml::LoadXmlFile(OwnFile()), OwnFile());
        for (const char* row : {"Weight", "Wind", "Name"})
            Preset()->AddChild("Info", "1")->AddAttribute("Name", row);
        m_Gfx.CreateCamera();
        m_Gfx.GetCamera()->SetPos(CVector(7.0f, 8.0f, 9.0f));

        m_Engine.ChangeState(&m_Game);
        m_Engine.PushState(&m_Editor);
    }

    xml::CNodePtr Scene() const { return m_Game.m_Current->GetWorkingTree()->GetChild("scene"); }
    xml::CNodePtr Preset() const { return Scene()->GetChild("Preset"); }
    std::string OwnFile() const { return m_Scenes.File("Rotor.ForceFields"); }
    std::string LastEdit() const { return m_Scenes.File("LastEdit.ForceFields"); }

    DovuvUvozeVozediza::IEditorScreens& Screens() { return m_GuiEngine->GetEditorScreens(); }

    void OpenMenu()
    {
        ASSERT_TRUE(Screens().GoToEditorMenu());
        ASSERT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
        ASSERT_EQ(GuiStates::CEditorMenuState::GetSingleton(), CurrentScreen());
    }

    void FireMenuKey(bool on)
    {
        CInternalEvent event;
        event.Code = 92;
        event.On = on ? 1 : 0;
        m_Events.FireEvent(event);
    }

    // The paused states under the menu: how many times the menu was pushed.
    int MenuPushes() const
    {
        return static_cast<int>(std::count(m_Editor.m_Calls.begin(), m_Editor.m_Calls.end(), "Pause"));
    }

    CMemGfxMgr m_Gfx;
    CRecordingEngineState m_Editor;
};

} // namespace

TEST_F(EditorMenuTest, SaveAndContinueWritesTheSceneWithoutTheJumpsRowsAndGoesBackToEditing)
{
    boost::filesystem::remove(OwnFile());
    OpenMenu();
    Click("wndEditorMenu/btnSaveAndContinue");
    EXPECT_EQ(&m_Editor, m_Engine.GetCurrentState());
    EXPECT_FALSE(m_GuiEngine->HasStates());

    const xml::CNodePtr saved = xml::LoadXmlFile(OwnFile())->GetChild("scene");
    EXPECT_FALSE(saved->GetChild("Preset")->HasChild("Info"));
    EXPECT_EQ("Rotor Valley", saved->GetAttribute("FullName")->GetValue());
    EXPECT_EQ(CVector(7.0f, 8.0f, 9.0f), saved->GetChild("Preset")->GetChild("Camera")->GetAttribute<CVector>("Pos", CVector::ZERO));
    // Only the editor's view is written: the flight's camera mode goes through.
    EXPECT_EQ("camera_script3", saved->GetChild("Preset")->GetChild("Camera")->GetAttribute("Type", ""));
    // The jump's rows stay in the working tree; the camera is kept there too.
    EXPECT_EQ(3, std::distance(Preset()->GetChildrenBegin("Info"), Preset()->GetChildrenEnd("Info")));
    EXPECT_EQ("7,8,9", Preset()->GetChild("Camera")->GetAttribute("Pos")->GetValue());
    EXPECT_FALSE(boost::filesystem::exists(LastEdit()));
}

TEST_F(EditorMenuTest, StartingAJumpWritesLastEditAndTheOwnFileOnlyWhenSaving)
{
    const struct
    {
        const char* Button;
        bool OwnFileWritten;
    } cases[] = {
        {"wndEditorMenu/btnStartSimulation", true},
        {"wndEditorMenu/btnStartSimulationNoSaving", false},
    };
    for (const auto& c : cases) {
        boost::filesystem::remove(OwnFile());
        boost::filesystem::remove(LastEdit());
        if (m_Engine.GetCurrentState() != &m_Editor)
            m_Engine.PushState(&m_Editor);
        const int restarts = m_Game.m_Restarts;
        OpenMenu();
        Click(c.Button);

        EXPECT_EQ(c.OwnFileWritten, boost::filesystem::exists(OwnFile())) << c.Button;
        ASSERT_TRUE(boost::filesystem::exists(LastEdit())) << c.Button;
        const xml::CNodePtr lastEdit = xml::LoadXmlFile(LastEdit())->GetChild("scene");
        EXPECT_EQ("Last Edit", lastEdit->GetAttribute("FullName")->GetValue());
        EXPECT_FALSE(lastEdit->GetChild("Preset")->HasChild("Info"));
        // The menu and the editor are gone; the game mode flies the edited scene again.
        EXPECT_EQ(&m_Game, m_Engine.GetCurrentState()) << c.Button;
        EXPECT_FALSE(m_Engine.HasState(&m_Editor));
        EXPECT_EQ(restarts + 1, m_Game.m_Restarts) << c.Button;
    }
}

TEST_F(EditorMenuTest, AFailedSaveIsShownAndTheMenuStays)
{
    // Its own file in a folder that does not exist; then the drop-zone folder gone as well.
    m_Game.m_Current->GetWorkingTree()->GetAttribute("Name")->SetValue(m_Scenes.File("gone/Rotor.ForceFields"));
    for (const char* button : {"wndEditorMenu/btnSaveAndContinue", "wndEditorMenu/btnStartSimulation"}) {
        OpenMenu();
        Click(button);
        EXPECT_NE(std::string::npos, MessageBoxText().find("Could not save the drop zone")) << button;
        EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState()) << button;
        Click("wndMessageBox/btnClose");
        EXPECT_EQ(GuiStates::CEditorMenuState::GetSingleton(), CurrentScreen()) << button;
    }
    EXPECT_EQ(0, m_Game.m_Restarts);
    EXPECT_FALSE(boost::filesystem::exists(LastEdit())) << "Start simulation stops at the failed save";

    SetConfigString(m_App.m_Config, "Application->DropZones->>Path", m_Scenes.File("gone") + "/");
    Click("wndEditorMenu/btnStartSimulationNoSaving");
    EXPECT_NE(std::string::npos, MessageBoxText().find("LastEdit")) << MessageBoxText();
    EXPECT_TRUE(m_Engine.HasState(&m_Editor));
    EXPECT_EQ(0, m_Game.m_Restarts);
}

TEST_F(EditorMenuTest, MainMenuLeavesEditorAndJump)
{
    OpenMenu();
    Click("wndEditorMenu/btnMainMenu");
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
    EXPECT_FALSE(m_Engine.HasState(&m_Editor));
    EXPECT_FALSE(m_Engine.HasState(&m_Game));
    EXPECT_EQ(GuiStates::CMainMenuState::GetSingleton(), CurrentScreen());
}

TEST_F(EditorMenuTest, TheOnScreenButtonAndTheMenuKeysReleaseOpenTheMenuOnce)
{
    const auto onScreen = Screens().CreateEditMenuOnScreen();
    ASSERT_TRUE(onScreen);
    onScreen->Enter();
    EXPECT_TRUE(Visible("wndEditOnScreen"));
    EXPECT_TRUE(m_Gui.m_MouseConnected);

    FireMenuKey(true);
    EXPECT_EQ(&m_Editor, m_Engine.GetCurrentState()) << "the press does nothing";
    FireMenuKey(false);
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
    EXPECT_EQ(GuiStates::CEditorMenuState::GetSingleton(), CurrentScreen());

    // The editor leaves the window while it is paused, and enters it again on its return.
    onScreen->Exit();
    EXPECT_FALSE(Visible("wndEditOnScreen"));
    Click("wndEditorMenu/btnContinue");
    EXPECT_EQ(&m_Editor, m_Engine.GetCurrentState());
    onScreen->Enter();
    Click("wndEditOnScreen/btnMenu");
    EXPECT_EQ(2, MenuPushes());
    EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
    onScreen->Exit();
}

TEST_F(EditorMenuTest, TheNextJumpOrEditOfASavedSceneStartsFromWhatWasSaved)
{
    const auto moveTarget = [this](const CVector& to) {
        Scene()->GetChild("Target")->GetAttribute("Position")->SetValue(to);
    };
    const auto targetAfterReset = [](const std::shared_ptr<CDropZoneLevel>& dropZone) {
        // Leaving a jump drops its working tree for a copy of the listed scene.
        dropZone->ResetWorkingTree();
        return dropZone->GetWorkingTree()->GetChild("scene")->GetChild("Target")->GetAttribute<CVector>(
            "Position", CVector::ZERO);
    };

    moveTarget(CVector(-150, 0, 0));
    OpenMenu();
    Click("wndEditorMenu/btnSaveAndContinue");
    EXPECT_EQ(CVector(-150, 0, 0), targetAfterReset(m_Game.m_Current));
    EXPECT_EQ(0, m_Game.m_DropZoneListings);

    // The first "LastEdit" is not listed yet: the folder is read again.
    moveTarget(CVector(-100, 0, 0));
    OpenMenu();
    Click("wndEditorMenu/btnStartSimulationNoSaving");
    EXPECT_EQ(1, m_Game.m_DropZoneListings);

    // Once listed, it takes each new save as its own scene does.
    const std::shared_ptr<CDropZoneLevel> lastEdit = m_Game.Add(xml::LoadXmlFile(LastEdit()), LastEdit());
    moveTarget(CVector(-50, 0, 0));
    m_Engine.PushState(&m_Editor);
    OpenMenu();
    Click("wndEditorMenu/btnStartSimulationNoSaving");
    EXPECT_EQ(1, m_Game.m_DropZoneListings);
    EXPECT_EQ(CVector(-50, 0, 0), targetAfterReset(lastEdit));
    EXPECT_EQ(CVector(-150, 0, 0), targetAfterReset(m_Game.m_Current)) << "the own file was not saved again";
}

TEST_F(EditorMenuTest, ASceneSavedWithoutForceFieldsIsDescribedFlownAndEditedWithNone)
{
    const xml::CNodePtr wind = Preset()->GetChild("Wind");
    while (wind->HasChild("Region"))
        wind->RemoveChild(wind->GetChild("Region"));
    OpenMenu();
    Click("wndEditorMenu/btnSaveAndContinue");
    EXPECT_EQ(&m_Editor, m_Engine.GetCurrentState());
    const xml::CNodePtr saved = xml::LoadXmlFile(OwnFile())->GetChild("scene");
    EXPECT_FALSE(saved->GetChild("Preset")->GetChild("Wind")->HasChild("Region"));

    // Back on the force-fields screen, as leaving the editor for the main menu and Start do.
    m_Engine.PopState();
    m_Game.m_Current->ResetWorkingTree();
    GuiStates::GoToDZSelection(*m_GuiEngine);
    m_Engine.ChangeState(m_MenuMode.get());
    const std::string name = m_Game.m_Current->GetFullName();
    m_Gui.SelectItem("wndForceField/cbDropZones", name);
    Click("wndForceField/cbDropZones");
    EXPECT_NE(std::string::npos, m_Gui.GetText("wndForceField/mlbDZDescription").find("Number of force fields: 0\n"))
        << m_Gui.GetText("wndForceField/mlbDZDescription");
    for (const char* button : {"wndForceField/btnJump", "wndForceField/btnEdit"}) {
        SCOPED_TRACE(button);
        Click(button);
        EXPECT_EQ(&m_Game, m_Engine.GetCurrentState());
        EXPECT_EQ(name, m_Game.m_Current->GetFullName());
        m_Game.m_Current->ResetWorkingTree();
        GuiStates::GoToDZSelection(*m_GuiEngine);
        m_Engine.ChangeState(m_MenuMode.get());
    }
}
