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
#include "MenuScreen.h"
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
    CMenuScreen screen(ForceFieldConfig());
    screen.WithGameMode();
    for (const char* scene : {"Crosswind", "Rotor", "Thermals"})
        screen.m_Game.Add(xml::LoadXmlFile(kData + scene + ".ForceFields"));
    AddJump(screen.m_Engine.Profile(), 1, "Crosswind", "62");
    AddJump(screen.m_Engine.Profile(), 2, "Crosswind", "80");
    const std::string artifacts = CMenuScreen::Artifacts("forcefields");

    screen.Open();
    screen.m_Window.Render();
    const CPixels scene = screen.m_Window.Capture();

    GuiStates::GoToDZSelection(*screen.m_GuiEngine);
    screen.m_Gui->SetText("wndForceField/ebNewFieldName", "Evening thermals");
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels shown = screen.m_Window.Capture();
    screen.m_Window.Save(artifacts + "/screen.png");

    EXPECT_EQ("Crosswind", screen.m_Gui->GetText("wndForceField/cbDropZones"));
    const std::string description = screen.m_Gui->GetText("wndForceField/mlbDZDescription");
    EXPECT_NE(std::string::npos, description.find("Number of jumps: 2\n")) << description;
    EXPECT_NE(std::string::npos, description.find("Your maximum score: 80\n")) << description;
    EXPECT_NE(std::string::npos, description.find("Your average score: 71\n")) << description;
    const CEGUI::Rectf frame = screen.m_Windows.Get("wndForceField").getUnclippedOuterRect().get();
    EXPECT_GT(Changed(scene, shown, frame), 0.9) << "the screen covers its area";
    // The description is drawn: without it the box looks different.
    const CEGUI::Rectf text = screen.m_Windows.Get("wndForceField/mlbDZDescription").getUnclippedInnerRect().get();
    screen.m_Gui->SetText("wndForceField/mlbDZDescription", "");
    screen.m_Window.Render();
    EXPECT_GT(Changed(shown, screen.m_Window.Capture(), text), 0.02);

    // A field just placed in a scene, as the editor's cursor makes it.
    const xml::CNodePtr wind(new xml::CNode("Wind", false));
    const xml::CNodePtr field = wind->AddChild("Region");
    field->AddChild("Shape")->AddAttribute("Position", "0,100,0");
    field->AddChild("JustCreated");
    ASSERT_TRUE(GuiStates::GoToCreateForceField(*screen.m_GuiEngine, field));
    screen.m_Gui->SelectItem("wndCreateForceField/cbForceType", "Thermal");
    screen.m_Events.FireGUIEvent(CGUIEvent("wndCreateForceField/cbForceType"));
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels dialog = screen.m_Window.Capture();
    screen.m_Window.Save(artifacts + "/dialog.png");

    EXPECT_FALSE(screen.m_Gui->GetText("wndCreateForceField/mleDescription").empty());
    const CEGUI::Rectf dialogFrame = screen.m_Windows.Get("wndCreateForceField").getUnclippedOuterRect().get();
    EXPECT_GT(Changed(scene, dialog, dialogFrame), 0.9) << "the dialog covers its area";
    EXPECT_FALSE(screen.m_Windows.Get("wndForceField").isVisible()) << "the scene screen was left";
}

} // namespace
