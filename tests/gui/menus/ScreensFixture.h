#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "gui/menus/GuiEngine.h"
#include "gui/menus/GuiStates.h"
#include "gui/menus/MessageBoxState.h"
#include "MenuServices.h"
#include "TestEngineStates.h"
#include "support/CapturingLogMgr.h"
#include "support/DefaultConfig.h"
#include "support/FakeApplication.h"
#include "support/FakeEventMgr.h"
#include "support/FakeGUI.h"
#include "support/FakeSndMgr.h"

// The GUI engine and its screens over a fake GUI, under an engine whose game
// mode is a recording fake without drop zones or tutorials; the shipped
// configuration, an empty settings tree and a fresh profile.
class ScreensTest : public ::testing::Test
{
protected:
    explicit ScreensTest(const xml::CNodePtr& config = LoadDefaultConfig())
        : m_App(config), m_Services(m_App.m_Config)
    {
        m_Engine.m_GameModeState = &m_Game;
        StartMenus();
    }

    // Builds the menus again, as the program does at start, from the
    // settings, the game mode and the profile as they are now.
    void StartMenus()
    {
        m_Engine.m_MenuModeState = nullptr;
        m_MenuMode.reset();
        m_GuiEngine.reset();
        m_GuiEngine = std::make_unique<sds::CGuiEngine>();
        m_MenuMode = std::make_unique<CTestMenuModeState>(m_GuiEngine.get());
        m_Engine.m_MenuModeState = m_MenuMode.get();
    }

    void Click(const std::string& widget) { m_Events.FireGUIEvent(sds::CGUIEvent(widget)); }
    // A check box changed as the user would: its state, then its event.
    void Check(const std::string& box, bool checked)
    {
        m_Gui.SetChecked(box, checked);
        Click(box);
    }

    long Logged(const std::string& line) const { return std::count(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), line); }

    sds::CGuiEngineState* CurrentScreen() const { return m_GuiEngine->GetCurrentState(); }

    bool Visible(const std::string& window) { return m_Gui.Get(window).Visible; }

    std::string MessageBoxText() const
    {
        const auto* box = dynamic_cast<sds::GuiStates::CMessageBoxState*>(CurrentScreen());
        return box ? box->GetText() : "(no message box)";
    }

    // A click that starts a jump whose level fails to load with `reason`: the
    // handler throws, as the GUI reports a failed handler; the engine is left in
    // menu mode with the reason in a message box, which is closed.
    void ClickFailingToLoad(const std::string& widget, const std::string& reason)
    {
        m_Game.m_LoadFailure = reason;
        try {
            Click(widget);
            ADD_FAILURE() << "the failure of " << widget << " was swallowed";
        } catch (const std::exception& e) {
            m_Gui.m_HandlerFailure(e.what());
        }
        m_Game.m_LoadFailure.clear();
        EXPECT_EQ(m_MenuMode.get(), m_Engine.GetCurrentState());
        EXPECT_FALSE(m_Engine.HasState(&m_Game));
        EXPECT_EQ(reason, MessageBoxText());
        Click("wndMessageBox/btnClose");
    }

    // The main menu, with menu mode on the engine.
    void OpenMainMenu()
    {
        sds::GuiStates::GoToMainMenu(*m_GuiEngine);
        m_Engine.ChangeState(m_MenuMode.get());
    }

    // A paused jump: the game mode with menu mode over it, on the in-game menu.
    void PauseJump()
    {
        m_Engine.ChangeState(&m_Game);
        sds::GuiStates::GoToInGameMenu(*m_GuiEngine);
        m_Engine.PushState(m_MenuMode.get());
    }

    CCapturingLogMgr m_Log;
    CFakeEventMgr m_Events;
    CFakeApplication m_App;
    CFakeGUI m_Gui;
    CFakeSndMgr m_Sound;
    CMenuServices m_Services;
    CTestEngine m_Engine;
    CFakeGameModeState m_Game;
    std::unique_ptr<sds::CGuiEngine> m_GuiEngine;
    std::unique_ptr<CTestMenuModeState> m_MenuMode;
};
