// The force-field edition's scene screen and its create dialog drawn by
// CEGUI's Ogre renderer over a 3D view, with the shipped scenes, templates and
// units. The pictures are kept in the build tree
// (test-artifacts/forcefields/screen.png and dialog.png) for people to look at.

#include <memory>

#include <CEGUI/CEGUI.h>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/EditionSelection.h"
#include "app/Engine.h"
#include "core/ConfigPath.h"
#include "core/XmlFile.h"
#include "gui/CeguiGUI.h"
#include "gui/WindowResolver.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/MenuServices.h"
#include "gui/menus/TestEngineStates.h"
#include "OgreTestWindow.h"
#include "ScreenPixels.h"
#include "support/CapturingLogMgr.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeSndMgr.h"

using namespace sds;

namespace {

const std::string kData = SDS_SOURCE_DIR "/data/DovuvUvozeVozediza/";

xml::CNodePtr ForceFieldConfig()
{
    const xml::CNodePtr root = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
    root->GetChild("Application")->GetAttribute("Edition")->SetValue("DovuvUvozeVozediza");
    SelectEdition(root);
    SetConfigString(root, "Application->Configs->ForceFieldFunctions->>Path", kData + "templates/");
    return root;
}

void AddJump(CProfile& profile, std::uint32_t number, const std::string& zone, const char* score)
{
    xml::CNodePtr info(new xml::CNode("Jump", false));
    info->AddChild("Info", score)->AddAttribute("Name", "Score");
    info->AddChild("Info", "41.5")->AddAttribute("Name", "Canopy ride time");
    profile.AddJump(CJumpRecord(number, zone, "jump.trj", CVector::ZERO, CVector::ZERO, info));
}

TEST(ForceFieldsScreenshot, ShowsTheScenesWithTheirScoresAndTheCreateDialog)
{
    CCapturingLogMgr log;
    CFakeEventMgr events;
    CFakeApplication app(ForceFieldConfig());
    CFakeSndMgr sound;
    CMenuServices services(app.m_Config);
    CTestEngine engine;
    CFakeGameModeState game;
    engine.m_GameModeState = &game;
    for (const char* scene : {"Crosswind", "Rotor", "Thermals"})
        game.Add(xml::LoadXmlFile(kData + scene + ".ForceFields"));
    AddJump(engine.Profile(), 1, "Crosswind", "62");
    AddJump(engine.Profile(), 2, "Crosswind", "80");
    COgreTestWindow window(Width, Height);
    auto gui = std::make_unique<wrappers::CCeguiGUI>(app.GetConfig()->GetChild("GUI"), &window.GetRenderer());
    auto guiEngine = std::make_unique<CGuiEngine>();
    wrappers::CWindowResolver windows;
    windows.SetRoot(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow());
    const std::string artifacts = SDS_TEST_ARTIFACT_DIR "/forcefields";
    boost::filesystem::create_directories(artifacts);

    window.Render();
    const CPixels scene = window.Capture();

    GuiStates::GoToDZSelection(*guiEngine);
    gui->SetText("wndForceField/ebNewFieldName", "Evening thermals");
    events.FireFrame(0.05f);
    window.Render();
    const CPixels screen = window.Capture();
    window.Save(artifacts + "/screen.png");

    EXPECT_EQ("Crosswind", gui->GetText("wndForceField/cbDropZones"));
    const std::string description = gui->GetText("wndForceField/mlbDZDescription");
    EXPECT_NE(std::string::npos, description.find("Number of jumps: 2\n")) << description;
    EXPECT_NE(std::string::npos, description.find("Your maximum score: 80\n")) << description;
    EXPECT_NE(std::string::npos, description.find("Your average score: 71\n")) << description;
    const CEGUI::Rectf frame = windows.Get("wndForceField").getUnclippedOuterRect().get();
    EXPECT_GT(Changed(scene, screen, frame), 0.9) << "the screen covers its area";
    // The description is drawn: without it the box looks different.
    const CEGUI::Rectf text = windows.Get("wndForceField/mlbDZDescription").getUnclippedInnerRect().get();
    gui->SetText("wndForceField/mlbDZDescription", "");
    window.Render();
    EXPECT_GT(Changed(screen, window.Capture(), text), 0.02);

    // A field just placed in a scene, as the editor's cursor makes it.
    const xml::CNodePtr wind(new xml::CNode("Wind", false));
    const xml::CNodePtr field = wind->AddChild("Region");
    field->AddChild("Shape")->AddAttribute("Position", "0,100,0");
    field->AddChild("JustCreated");
    ASSERT_TRUE(GuiStates::GoToCreateForceField(*guiEngine, field));
    gui->SelectItem("wndCreateForceField/cbForceType", "Thermal");
    events.FireGUIEvent(CGUIEvent("wndCreateForceField/cbForceType"));
    events.FireFrame(0.05f);
    window.Render();
    const CPixels dialog = window.Capture();
    window.Save(artifacts + "/dialog.png");

    EXPECT_FALSE(gui->GetText("wndCreateForceField/mleDescription").empty());
    const CEGUI::Rectf dialogFrame = windows.Get("wndCreateForceField").getUnclippedOuterRect().get();
    EXPECT_GT(Changed(scene, dialog, dialogFrame), 0.9) << "the dialog covers its area";
    EXPECT_FALSE(windows.Get("wndForceField").isVisible()) << "the scene screen was left";

    guiEngine.reset();
    gui.reset();
}

} // namespace
