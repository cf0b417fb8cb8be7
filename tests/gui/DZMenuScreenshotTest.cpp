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
    CCapturingLogMgr log;
    CFakeEventMgr events;
    CFakeApplication app(LoadDefaultConfig());
    CFakeSndMgr sound;
    CMenuServices services(app.m_Config);
    CTestEngine engine;
    CFakeGameModeState game;
    engine.m_GameModeState = &game;
    game.Add(xml::LoadXmlFile(SDS_RUN_DIR "/data/Skorvel/HomeField.dz"));
    COgreTestWindow window(Width, Height);
    auto gui = std::make_unique<wrappers::CCeguiGUI>(app.GetConfig()->GetChild("GUI"), &window.GetRenderer());
    auto guiEngine = std::make_unique<CGuiEngine>();

    window.Render();
    const CPixels scene = window.Capture();

    GuiStates::GoToDZSelection(*guiEngine);
    events.FireFrame(0.05f);
    window.Render();
    const CPixels menu = window.Capture();
    const std::string artifacts = SDS_TEST_ARTIFACT_DIR "/gui";
    boost::filesystem::create_directories(artifacts);
    window.Save(artifacts + "/dz-menu.png");

    EXPECT_EQ("Home Field", gui->GetText("wndDropZone/cbDropZones"));
    EXPECT_EQ("On target, 8mph wind", gui->GetSelectedItem("wndDropZone/lbPresets"));
    const std::string description = gui->GetText("wndDropZone/mebPresetDescription");
    EXPECT_NE(std::string::npos, description.find("\nWind strength: 8.0mph\n")) << description;
    EXPECT_NE(std::string::npos, description.find("\nDrop zone elevation: 98.4ft\n")) << description;

    wrappers::CWindowResolver windows;
    windows.SetRoot(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow());
    const CEGUI::Rectf frame = windows.Get("wndDropZone").getUnclippedOuterRect().get();
    EXPECT_GT(Changed(scene, menu, frame), 0.9) << "the menu covers its area";

    // The other tab shows the preset's settings one by one, in the same units;
    // changing to it keeps the preset, which equals them.
    gui->SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabSettings");
    events.FireFrame(0.05f);
    window.Render();
    window.Save(artifacts + "/dz-menu-settings.png");
    EXPECT_EQ("On target, 8mph wind", gui->GetSelectedItem("wndDropZone/lbPresets"));
    EXPECT_EQ("ft", gui->GetText("wndDropZone/stAltitudeUnits"));
    EXPECT_EQ("160lb", gui->GetText("wndDropZone/cbWeight"));
    gui->SelectTab("wndDropZone/tcSections", "wndDropZone/tcSections/tabConfigurations");
    window.Render();

    // The description and the selected preset are drawn: without them the
    // boxes look different.
    const CEGUI::Rectf text = windows.Get("wndDropZone/mebPresetDescription").getUnclippedInnerRect().get();
    const CEGUI::Rectf list = windows.Get("wndDropZone/lbPresets").getUnclippedInnerRect().get();
    gui->SetText("wndDropZone/mebPresetDescription", "");
    gui->ClearItems("wndDropZone/lbPresets");
    window.Render();
    const CPixels empty = window.Capture();
    EXPECT_GT(Changed(menu, empty, text), 0.02);
    EXPECT_GT(Changed(menu, empty, list), 0.02);

    guiEngine.reset();
    gui.reset();
}

} // namespace
