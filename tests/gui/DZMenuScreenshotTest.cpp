// The drop-zone menu drawn by CEGUI's Ogre renderer over a 3D view, with the
// default drop zone, the shipped presets and the shipped imperial units. The
// pictures are kept in the build tree (test-artifacts/gui/dz-menu.png and
// dz-menu-settings.png) for people to look at.

#include <memory>

#include <CEGUI/CEGUI.h>
#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include "app/Engine.h"
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
#include "support/DefaultConfig.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeSndMgr.h"

using namespace sds;

namespace {

TEST(DZMenuScreenshot, ShowsTheDefaultDropZoneAndTheFirstPresetWithItsDescription)
{
    CMenuScreen screen(LoadDefaultConfig());
    screen.WithGameMode();
    screen.m_Game.Add(xml::LoadXmlFile(SDS_RUN_DIR "/data/Skorvel/HomeField.dz"));

    screen.Open();
    screen.m_Window.Render();
    const CPixels scene = screen.m_Window.Capture();

    GuiStates::GoToDZSelection(*screen.m_GuiEngine);
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    const CPixels menu = screen.m_Window.Capture();
    const std::string artifacts = CMenuScreen::Artifacts("gui");
    screen.m_Window.Save(artifacts + "/dz-menu.png");

    EXPECT_EQ("Home Field", screen.m_Gui->GetText("wndDropZone/cbDropZones"));
    EXPECT_EQ("On target, 8mph wind", screen.m_Gui->GetSelectedItem("wndDropZone/lbPresets"));
    const std::string description = screen.m_Gui->GetText("wndDropZone/mebPresetDescription");
    EXPECT_NE(std::string::npos, description.find("\nWind strength: 8.0mph\n")) << description;
    EXPECT_NE(std::string::npos, description.find("\nDrop zone elevation: 98.4ft\n")) << description;

    const CEGUI::Rectf frame = screen.m_Windows.Get("wndDropZone").getUnclippedOuterRect().get();
    EXPECT_GT(Changed(scene, menu, frame), 0.9) << "the menu covers its area";

    // The other tab shows the preset's settings one by one, in the same units;
    // changing to it keeps the preset, which equals them.
    screen.m_Gui->SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabSettings");
    screen.m_Events.FireFrame(0.05f);
    screen.m_Window.Render();
    screen.m_Window.Save(artifacts + "/dz-menu-settings.png");
    EXPECT_EQ("On target, 8mph wind", screen.m_Gui->GetSelectedItem("wndDropZone/lbPresets"));
    EXPECT_EQ("ft", screen.m_Gui->GetText("wndDropZone/stAltitudeUnits"));
    EXPECT_EQ("160lb", screen.m_Gui->GetText("wndDropZone/cbWeight"));
    screen.m_Gui->SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabConfigurations");
    screen.m_Window.Render();

    // The description and the selected preset are drawn: without them the
    // boxes look different.
    const CEGUI::Rectf text = screen.m_Windows.Get("wndDropZone/mebPresetDescription").getUnclippedInnerRect().get();
    const CEGUI::Rectf list = screen.m_Windows.Get("wndDropZone/lbPresets").getUnclippedInnerRect().get();
    screen.m_Gui->SetText("wndDropZone/mebPresetDescription", "");
    screen.m_Gui->ClearItems("wndDropZone/lbPresets");
    screen.m_Window.Render();
    const CPixels empty = screen.m_Window.Capture();
    EXPECT_GT(Changed(menu, empty, text), 0.02);
    EXPECT_GT(Changed(menu, empty, list), 0.02);
}

} // namespace
