#pragma once
// The menus drawn by CEGUI's Ogre renderer in a test window of the screen's
// size, with the fake services the menu states ask for. Open() makes the GUI
// and the menus' engine once the test has given the engine what the menus
// show; both go before the window and the services.

#include <memory>
#include <string>

#include <CEGUI/CEGUI.h>
#include <boost/filesystem.hpp>

#include "gui/CeguiGUI.h"
#include "gui/WindowResolver.h"
#include "gui/menus/GuiEngine.h"
#include "gui/menus/MenuServices.h"
#include "gui/menus/TestEngineStates.h"
#include "OgreTestWindow.h"
#include "ScreenPixels.h"
#include "support/CapturingLogMgr.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeSndMgr.h"

class CMenuScreen
{
public:
    explicit CMenuScreen(const xml::CNodePtr& config)
        : m_App(config), m_Services(m_App.m_Config), m_Window(Width, Height)
    {
    }

    ~CMenuScreen()
    {
        m_GuiEngine.reset();
        m_Gui.reset();
    }

    // The menus' game mode is the fake one, with the drop zones or scenes the
    // test adds to it.
    void WithGameMode() { m_Engine.m_GameModeState = &m_Game; }

    void Open(const wrappers::CCeguiGUI::CSettingsListFactory& createSettingsList =
                  wrappers::CCeguiGUI::CSettingsListFactory())
    {
        m_Gui = std::make_unique<wrappers::CCeguiGUI>(m_App.GetConfig()->GetChild("GUI"), &m_Window.GetRenderer(),
                                                           wrappers::CCeguiGUI::CSoundLoader(),
                                                           createSettingsList);
        m_GuiEngine = std::make_unique<sds::CGuiEngine>();
        m_Windows.SetRoot(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow());
    }

    // The folder of the pictures of an area, made if need be.
    static std::string Artifacts(const std::string& area)
    {
        const std::string folder = SDS_TEST_ARTIFACT_DIR "/" + area;
        boost::filesystem::create_directories(folder);
        return folder;
    }

    CCapturingLogMgr m_Log;
    CFakeEventMgr m_Events;
    CFakeApplication m_App;
    CFakeSndMgr m_Sound;
    CMenuServices m_Services;
    CTestEngine m_Engine;
    CFakeGameModeState m_Game;
    COgreTestWindow m_Window;
    std::unique_ptr<wrappers::CCeguiGUI> m_Gui;
    std::unique_ptr<sds::CGuiEngine> m_GuiEngine;
    wrappers::CWindowResolver m_Windows;
};
