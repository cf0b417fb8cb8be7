#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/Engine.h"
#include "app/IGuiEngine.h"
#include "core/ConfigPath.h"
#include "graphics/memory/MemFader.h"
#include "graphics/memory/MemGfxMgr.h"
#include "support/DefaultConfig.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeGUI.h"
#include "support/FakeSndMgr.h"
#include "support/TempDir.h"

// Graphics without a window whose screenshots land nowhere but have a name.
class CShotGfxMgr : public sds::CMemGfxMgr
{
public:
    std::string QueryRenderTarget(const std::string& prefix, const std::string& suffix) override
    {
        if (m_Fail)
            return sds::CMemGfxMgr::QueryRenderTarget(prefix, suffix);
        return prefix + std::to_string(++m_Shots) + suffix;
    }

    bool m_Fail = false;
    int m_Shots = 0;
};

// The menus as the engine sees them, recording what the engine asks of them.
class CFakeGuiEngine : public sds::IGuiEngine
{
public:
    void Update(const sds::CTiming&) override {}
    void Start() override { m_Calls.push_back("Start"); }
    void OnStop() override { m_Calls.push_back("OnStop"); }
    void Pause() override { m_Calls.push_back("Pause"); }
    void Resume() override { m_Calls.push_back("Resume"); }
    void GoToMainMenu() override { m_Calls.push_back("GoToMainMenu"); }
    void ShowVideoSettings(const std::string& tab) override { m_Calls.push_back("ShowVideoSettings " + tab); }
    void ShowMessageBox(const std::string& text) override { m_Calls.push_back("ShowMessageBox " + text); }
    void GoToDZSelection() override { m_Calls.push_back("GoToDZSelection"); }
    void ApplyDZSelection() override
    {
        m_Calls.push_back("ApplyDZSelection");
        if (m_OnApplyDZSelection)
            m_OnApplyDZSelection();
    }
    void GoToInGameMenu() override { m_Calls.push_back("GoToInGameMenu"); }
    void ShowHelp() override { m_Calls.push_back("ShowHelp"); }
    void GoToHelp() override { m_Calls.push_back("GoToHelp"); }
    void ShowStatistics(bool showJump, const std::string& jump) override
    {
        m_Calls.push_back("ShowStatistics " + std::to_string(showJump) + " " + jump);
    }

    std::function<void()> m_OnApplyDZSelection;

    std::vector<std::string> m_Calls;
};

// Every service the engine needs, over fakes, with a clock the test moves:
// the shipped configuration with the profiles in a folder of their own.
class CEngineWorld
{
public:
    explicit CEngineWorld(const xml::CNodePtr& config = LoadDefaultConfig())
        : m_App(config), m_Fader([this] { return m_Now; })
    {
        sds::SetConfigString(m_App.m_Config, "Profiles->>Path", m_Profiles.Path() + "/");
        m_Events = std::make_unique<CTestEventMgr>();
        m_Gfx.DefineOverlay("SplashScreens/Title", {});
        m_Gfx.DefineOverlay("SplashScreens/Second", {});
        m_Gfx.DefineOverlay("MenuBackground", {});
    }

    ~CEngineWorld() { m_Events.reset(); }

    // The frame limiter's clock, in microseconds: it moves by one each time it
    // is read, so that a spin ends, and by the time asked for on a sleep.
    sds::CFrameLimiter::CTimer Timer()
    {
        sds::CFrameLimiter::CTimer timer;
        timer.Now = [this] { return ++m_Micros; };
        timer.Sleep = [this](std::uint64_t micros) {
            m_Micros += micros;
            m_Slept += micros;
        };
        return timer;
    }

    std::unique_ptr<sds::CEngine> MakeEngine(const std::string& startState = "SplashScreens", bool restarted = false,
                                             float minFrameTime = 0.0f)
    {
        return std::make_unique<sds::CEngine>(minFrameTime, &m_App, m_CreateGuiEngine, m_CreateEditor, startState,
                                              restarted, Timer());
    }

    // The fake menus of an engine the world made.
    static CFakeGuiEngine& Menus(const sds::CEngine& engine)
    {
        return dynamic_cast<CFakeGuiEngine&>(*engine.GetGuiEngine());
    }

    // One frame of `seconds`, the clock moved on by as much.
    void Frame(float seconds)
    {
        m_Now += static_cast<std::uint64_t>(seconds * 1000.0f + 0.5f);
        sds::CFrameEvent frame;
        frame.TimeSinceLastEvent = frame.TimeSinceLastFrame = seconds;
        m_Events->FireFrameEvent(frame);
    }

    void Key(std::int32_t type, std::int32_t key = 57)
    {
        sds::CDiscreteEvent event;
        event.Type = type;
        event.Key = key;
        m_Events->FireDiscreteEvent(event);
    }

    bool Logged(const std::string& line) const { return m_Log.Has(line); }

    CCapturingLogMgr m_Log;
    CDiskResourceMgr m_Resources;
    CTempDir m_Profiles;
    CFakeApplication m_App;
    std::unique_ptr<CTestEventMgr> m_Events;
    std::unique_ptr<CFakeGUI> m_Gui = std::make_unique<CFakeGUI>();
    CShotGfxMgr m_Gfx;
    std::uint64_t m_Now = 1000;
    std::uint64_t m_Micros = 1000000;
    std::uint64_t m_Slept = 0;
    sds::CMemFader m_Fader;
    CFakeSndMgr m_Sound;
    // The menus the engines get: fakes, unless a test of the real ones says otherwise.
    sds::CGuiEngineFactory m_CreateGuiEngine = [] { return std::make_shared<CFakeGuiEngine>(); };
    // No editor unless a test gives one.
    sds::CEngineStateFactory m_CreateEditor;
};
