// The main menu drawn by CEGUI's Ogre renderer over a 3D view, with the mouse
// cursor on the Start button, and the view without it once menu mode is left.
// The picture is kept in the build tree (test-artifacts/gui/main-menu.png) for
// people to look at.

#include <cstdlib>
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

using namespace sds;

namespace {

TEST(MainMenuScreenshot, ShowsTheMainMenuOverTheSceneWithTheCursor)
{
    CCapturingLogMgr log;
    CFakeEventMgr events;
    CFakeApplication app(LoadDefaultConfig());
    CMenuServices services(app.m_Config);
    CTestEngine engine;
    COgreTestWindow window(Width, Height);
    auto gui = std::make_unique<wrappers::CCeguiGUI>(app.GetConfig()->GetChild("GUI"), &window.GetRenderer());
    auto guiEngine = std::make_unique<CGuiEngine>();
    CTestMenuModeState menuMode(guiEngine.get());

    window.Render();
    const CPixels scene = window.Capture();

    GuiStates::GoToMainMenu(*guiEngine);
    engine.ChangeState(&menuMode);
    wrappers::CWindowResolver windows;
    windows.SetRoot(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow());
    const CEGUI::Rectf frame = windows.Get("wndMainMenu/Frame").getUnclippedOuterRect().get();
    const CEGUI::Rectf start = windows.Get("wndMainMenu/btnStart").getUnclippedOuterRect().get();
    CAnalogEvent mouse;
    mouse.Pos[0] = (start.left() + 40.0f) / Width;
    mouse.Pos[1] = (start.top() + start.bottom()) / 2.0f / Height;
    events.FireAnalogEvent(mouse);
    events.FireFrame(0.05f);
    window.Render();
    const CPixels menu = window.Capture();

    const std::string artifacts = SDS_TEST_ARTIFACT_DIR "/gui";
    boost::filesystem::create_directories(artifacts);
    window.Save(artifacts + "/main-menu.png");

    gui->ShowMouseCursor(false);
    window.Render();
    const CPixels noCursor = window.Capture();

    // The 3D view: sky at the top, ground at the bottom, both left as they are
    // around the menu.
    EXPECT_FALSE(std::equal(Pixel(scene, 8, 8), Pixel(scene, 8, 8) + 3, Pixel(scene, 8, Height - 8)))
        << "the scene has sky and ground";
    EXPECT_TRUE(SamePixel(scene, menu, 8, 8));
    EXPECT_TRUE(SamePixel(scene, menu, 8, Height - 8));
    // The sky is the viewport's colour, the grass below it the ground's.
    EXPECT_TRUE(HasColour(menu, 8, 8, 115, 166, 230)) << "sky";
    EXPECT_TRUE(HasColour(menu, 300, 300, 91, 168, 67)) << "ground";
    // The menu frame covers its area; its panel, beside the buttons, is the
    // skin's dark blue.
    EXPECT_GT(Changed(scene, menu, frame), 0.9);
    EXPECT_TRUE(HasColour(menu, unsigned(frame.left()) + 12, unsigned(frame.bottom()) - 90, 20, 27, 56)) << "panel";
    EXPECT_TRUE(HasColour(menu, unsigned(frame.right()) - 12, unsigned(frame.bottom()) - 90, 20, 27, 56)) << "panel";
    // The cursor is drawn at the mouse position, white inside a dark outline.
    const float cursorX = mouse.Pos[0] * Width, cursorY = mouse.Pos[1] * Height;
    const CEGUI::Rectf cursor(cursorX, cursorY, cursorX + 18.0f, cursorY + 26.0f);
    EXPECT_GT(Changed(noCursor, menu, cursor), 0.2);
    EXPECT_TRUE(HasColour(menu, unsigned(cursorX) + 3, unsigned(cursorY) + 10, 255, 255, 255)) << "arrow fill";
    EXPECT_TRUE(HasColour(noCursor, unsigned(cursorX) + 3, unsigned(cursorY) + 10, 0, 0, 0)) << "the button under it";

    // Leaving menu mode takes the menu and the cursor off the 3D view.
    engine.PopState();
    window.Render();
    const CPixels left = window.Capture();
    EXPECT_LT(Changed(scene, left, CEGUI::Rectf(0.0f, 0.0f, float(Width), float(Height))), 0.001);

    guiEngine.reset();
    gui.reset();
}

} // namespace
