// The edit dialog's Check of a force function that would freeze the program,
// drawn by CEGUI's Ogre renderer: the message box over the dialog says why the
// function is refused. The picture is kept in the build tree
// (test-artifacts/forcefields/check-refused.png) for people to look at.

#include <memory>

#include <CEGUI/CEGUI.h>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/EditionSelection.h"
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

xml::CNodePtr ForceFieldConfig()
{
    const xml::CNodePtr root = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
    root->GetChild("Application")->GetAttribute("Edition")->SetValue("DovuvUvozeVozediza");
    SelectEdition(root);
    SetConfigString(root, "Application->Configs->ForceFieldFunctions->>Path",
                    SDS_SOURCE_DIR "/data/DovuvUvozeVozediza/templates/");
    return root;
}

TEST(CheckScreenshot, ARefusedFunctionIsShownWithItsReason)
{
    CMenuScreen screen(ForceFieldConfig());
    const std::string artifacts = CMenuScreen::Artifacts("forcefields");

    const xml::CNodePtr field = xml::LoadXmlFromMemory(
        "<Region><Shape Position='0,100,0' Size='50,50,20'/>"
        "<Radius Name='1' Position='30,100,0'>30</Radius><Radius Name='2' Position='0,130,0'>30</Radius>"
        "<Radius Name='3' Position='-30,100,0'>30</Radius>"
        "<Function>function Update() end function CalculateForce() return CVector(1, 0, 0) end</Function>"
        "<Description>Blows to the right.</Description></Region>",
        "field")->GetChild("Region");
    screen.Open();
    ASSERT_TRUE(GuiStates::GoToEditForceField(*screen.m_GuiEngine, field));
    // A finalizer that would never end, typed over the field's function.
    screen.m_Gui->SetText("wndEditForceField/mleForce", "setmetatable({}, {__gc = function() while true do end end})\n"
                                               "collectgarbage()\nfunction Update() end\n");
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels dialog = screen.m_Window.Capture();

    screen.m_Events.FireGUIEvent(CGUIEvent("wndEditForceField/btnVerify"));
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels refused = screen.m_Window.Capture();
    screen.m_Window.Save(artifacts + "/check-refused.png");

    const std::string text = screen.m_Gui->GetText("wndMessageBox/Info");
    EXPECT_EQ(0u, text.find("Error: While loading script: ")) << text;
    EXPECT_NE(std::string::npos, text.find("setmetatable: finalizers (__gc) are not allowed")) << text;
    const CEGUI::Rectf box = screen.m_Windows.Get("wndMessageBox").getUnclippedOuterRect().get();
    EXPECT_GT(Changed(dialog, refused, box), 0.5) << "the message box is drawn over the dialog";
    // The reason is drawn: without it the box looks different.
    const CEGUI::Rectf info = screen.m_Windows.Get("wndMessageBox/Info").getUnclippedInnerRect().get();
    screen.m_Gui->SetText("wndMessageBox/Info", "");
    screen.m_Window.Render();
    EXPECT_GT(Changed(refused, screen.m_Window.Capture(), info), 0.02);
    // The user's text and the field are kept.
    EXPECT_EQ("function Update() end function CalculateForce() return CVector(1, 0, 0) end",
              field->GetChild("Function")->GetValue());
}

} // namespace
