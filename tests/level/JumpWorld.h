#pragma once

// The program's game mode: the engine with the real level loader, mods,
// physics and jumper, the shipped configuration, bindings and drop zone with
// the shared jump preset, and fake menus, stepped by a fixed frame time.
// Without a window over the in-memory graphics (CJumpWorld), shared by the
// whole-jump tests and the jump benchmark; the session benchmark gives it the
// rendering engine's graphics instead.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "LevelMeshes.h"
#include "app/EngineWorld.h"
#include "app/EventNames.h"
#include "app/GameModeState.h"
#include "core/ConfigPath.h"
#include "core/UnitConverter.h"
#include "core/services/ILevelResourceLoader.h"
#include "jumper/Jumper.h"
#include "jumper/JumperMgr.h"
#include "jumper/CanopyRideState.h"
#include "jumper/CrashLandingState.h"
#include "jumper/DoneState.h"
#include "jumper/LandingNormalState.h"
#include "jumper/PLFLandingState.h"
#include "jumper/JumperState.h"
#include "level/DZLoaderMod.h"
#include "mods/PhyEnabledMod.h"
#include "scene/DropZoneLevel.h"
#include "sound/ISndMgr.h"
#include "support/HudOverlays.h"

// The zone's graphics as far as a headless level needs them: the camera the
// zone makes, and flat ground for the physics where the terrain would be.
class CHeadlessZoneGfx : public CShotGfxMgr
{
public:
    // What the game mode shows and the level's objects load, defined in memory.
    explicit CHeadlessZoneGfx(CFakeApplication&)
    {
        DefineOverlay("MenuBackground", {});
        DefineHudOverlays(*this);
        DefineScriptOverlays(*this, "general/CountDown.overlay");
        DefineLevelMeshes(*this);
    }

    std::shared_ptr<sds::ILevelResourceLoader> LoadZone(const xml::CNodePtr&,
                                                        const sds::LoadingProgressCallback& progress) override
    {
        if (!GetCamera())
            CreateCamera();
        sds::CPhyEnabledMod::GetSingleton()->GetPhyMgr().CreateGroundPlane();
        progress("Loading terrain", 1.0f);
        return std::make_shared<CZoneLoader>();
    }

private:
    class CZoneLoader : public sds::ILevelResourceLoader
    {
    public:
        CZoneLoader() : ILevelResourceLoader("DZGfx") {}
        void Update(const sds::CTiming&) override {}
        void Restart() override {}
    };
};

// `TGfx` is the graphics service, made from the application and `gfxArgs`.
template <class TGfx>
class CJumpWorldOver
{
public:
    typedef std::function<std::shared_ptr<sds::ISndMgr>(const xml::CNodePtr& soundSystem)> CSoundFactory;
    static constexpr float FrameSeconds = 1.0f / 60.0f;
    // Metres above the ground where the canopy is flared.
    static constexpr float FlareHeight = 10.0f;

    // `makeSound` makes the sound service from the configuration's "SoundSystem";
    // empty: the counting fake. `config`: the shipped one by default.
    template <class... TGfxArgs>
    explicit CJumpWorldOver(const CSoundFactory& makeSound = CSoundFactory(),
                            const xml::CNodePtr& config = LoadDefaultConfig(), TGfxArgs&&... gfxArgs)
        : m_App(config), m_Units(m_App.m_Config->GetChild("UnitConverter")),
          m_Gfx(m_App, std::forward<TGfxArgs>(gfxArgs)...)
    {
        sds::SetConfigString(m_App.m_Config, "Profiles->>Path", m_Profiles.Path() + "/");
        sds::SetConfigString(m_App.m_Config, "Scene->Fading->>In", "0");
        sds::SetConfigString(m_App.m_Config, "Scene->Fading->>Out", "0");
        m_Events = std::make_unique<CTestEventMgr>();
        if (makeSound)
            m_Sound = makeSound(m_App.m_Config->GetChild("SoundSystem"));
        else
            m_Sound = std::make_shared<CFakeSndMgr>();
    }

    ~CJumpWorldOver()
    {
        if (m_Engine)
            m_Engine->Stop();
        m_Engine.reset();
        m_Events.reset();
    }

    // The engine at the main menu, the shipped drop zone chosen with the jump
    // preset in its scene: the shared one, or the one a test builds from it
    // (`makePreset` gets the zone's working scene).
    sds::EngineStates::CGameModeState& Start(
        const std::function<xml::CNodePtr(const xml::CNodePtr& scene)>& makePreset = nullptr)
    {
        m_Engine = std::make_unique<sds::CEngine>(0.0f, &m_App, [] { return std::make_shared<CFakeGuiEngine>(); },
                                                  sds::CEngineStateFactory(), "MainMenu", false, Timer(), sds::CDZLoaderMod::Factory());
        m_Engine->Start();
        sds::EngineStates::CGameModeState& game = *sds::EngineStates::CGameModeState::GetSingleton();
        const std::shared_ptr<sds::CDropZoneLevel> zone = game.GetDropZones().at("Home Field");
        const xml::CNodePtr scene = zone->GetWorkingTree()->GetChild("scene");
        if (makePreset)
            scene->AddChild(makePreset(scene));
        else
            xml::CNode::Clone(xml::LoadXmlFile(SDS_SOURCE_DIR "/tests/level/JumpPreset.xml")->GetChild("Preset"),
                              scene.get());
        game.SetCurrentDropZone(zone);
        return game;
    }

    // As the drop-zone menu's Jump: the level loads; frames until the jump runs with no menu over it.
    void Jump()
    {
        m_Engine->ChangeState(m_Engine->m_GameModeState);
        RunToGame();
    }

    // As the statistics menu's "Repeat jump" or the restart key: frames until the new jump runs.
    void Restart()
    {
        while (m_Engine->GetCurrentState() == m_Engine->m_MenuModeState)
            m_Engine->PopState();
        sds::EngineStates::CGameModeState::GetSingleton()->Restart();
        RunToGame();
    }

    // As the in-game menu's "Main menu".
    void LeaveToMainMenu()
    {
        while (m_Engine->GetCurrentState() != m_Engine->m_GameModeState)
            m_Engine->PopState();
        m_Engine->ChangeState(m_Engine->m_MenuModeState);
    }

    void Frame(float seconds = FrameSeconds)
    {
        m_Now += static_cast<std::uint64_t>(seconds * 1000.0f + 0.5f);
        sds::CFrameEvent frame;
        frame.TimeSinceLastEvent = frame.TimeSinceLastFrame = seconds;
        m_Events->FireFrameEvent(frame);
    }

    void Key(const std::string& name, bool pressed)
    {
        sds::CDiscreteEvent event;
        event.Type = pressed ? sds::EVENT_KEY_PRESSED : sds::EVENT_KEY_RELEASED;
        event.Key = sds::ParseKey(name).Key;
        m_Events->FireDiscreteEvent(event);
    }

    // A key pressed for three frames and let go for three.
    void Tap(const std::string& name)
    {
        Key(name, true);
        Frames(3);
        Key(name, false);
        Frames(3);
    }

    // The level's first jumper; null when there is none.
    sds::CJumper* Jumper() const
    {
        const sds::CJumperMgr* jumpers = sds::CJumperMgr::GetSingleton();
        if (!jumpers || jumpers->GetJumpers().empty())
            return nullptr;
        return dynamic_cast<sds::CJumper*>(jumpers->GetJumpers().front().get());
    }

    // Frames until the jumper is in the state, within a bound of simulated seconds.
    bool RunUntil(const std::function<const sds::JumperStates::CJumperState*(const sds::CJumper&)>& state,
                  float seconds)
    {
        for (int i = 0; i <= static_cast<int>(seconds / FrameSeconds); ++i) {
            const sds::CJumper* jumper = Jumper();
            if (jumper && jumper->GetCurrentState() == state(*jumper))
                return true;
            Frame();
        }
        return false;
    }

    // Flies the jump from the door to the touch-down by the shipped keys: out
    // of the door, let go, two seconds of free fall, pull, turns on the
    // toggles under the canopy, hands up, a flare near the ground, and two
    // seconds on the ground. False with what did not come in time in `failure`.
    bool FlyJump(std::string& failure)
    {
        using sds::CJumper;
        Frames(10);
        Tap("Space"); // out of the door
        Tap("Space"); // let go
        Frames(120);
        Tap("Space"); // pull
        if (!RunUntil([](const CJumper& j) { return j.GetCanopyRideState(); }, 30.0f))
            return Fail(failure, "no canopy");
        // The aircraft flies downwind: a turn of about 180 degrees to the
        // left, then short turns right and left, to land into the wind.
        for (const auto& [key, frames] : {std::pair<const char*, int>{"A", 290}, {"D", 60}, {"A", 60}}) {
            Frames(60);
            Key(key, true);
            Frames(frames);
            Key(key, false);
        }
        // Hands up down to flare height, then both toggles down till the ground.
        for (int i = 0; i < static_cast<int>(240.0f / FrameSeconds) && Jumper() && Jumper()->GetPos().y > FlareHeight;
             ++i)
            Frame();
        Key("A", true);
        Key("D", true);
        bool landed = false;
        for (int i = 0; i < static_cast<int>(60.0f / FrameSeconds) && !landed; ++i) {
            Frame();
            landed = TouchedDown();
        }
        // The landing's own seconds: the walk or roll, the verdict.
        Frames(120);
        Key("A", false);
        Key("D", false);
        return landed || Fail(failure, "no touch-down");
    }

    // Whether the jumper has come down: any state after the flight's.
    bool TouchedDown() const
    {
        const sds::CJumper* j = Jumper();
        if (!j)
            return false;
        const auto* state = j->GetCurrentState();
        return state == j->GetLandingNormalState() || state == j->GetPLFLandingState() ||
               state == j->GetCrashLandingState() || state == j->GetDoneState();
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    // The simulated seconds the frames have covered.
    double SimulatedSeconds() const { return static_cast<double>(m_Now - m_Start) / 1000.0; }

    CCapturingLogMgr m_Log;
    CDiskResourceMgr m_Resources;
    CTempDir m_Profiles;
    CFakeApplication m_App;
    sds::CUnitConverter m_Units;
    std::unique_ptr<CTestEventMgr> m_Events;
    std::unique_ptr<CFakeGUI> m_Gui = std::make_unique<CFakeGUI>();
    TGfx m_Gfx;
    std::uint64_t m_Start = 1000;
    std::uint64_t m_Now = 1000;
    std::uint64_t m_Micros = 1000000;
    sds::CMemFader m_Fader{[this] { return m_Now; }};
    std::shared_ptr<sds::ISndMgr> m_Sound;
    std::unique_ptr<sds::CEngine> m_Engine;

private:
    sds::CFrameLimiter::CTimer Timer()
    {
        sds::CFrameLimiter::CTimer timer;
        timer.Now = [this] { return ++m_Micros; };
        timer.Sleep = [this](std::uint64_t micros) { m_Micros += micros; };
        return timer;
    }

    // Frames until the game mode itself runs: the fade, the skip frames and
    // the count-down pass, and the menus the first jump shows over the level
    // (help, scene messages) are closed.
    void RunToGame()
    {
        for (int i = 0; i < 600 && m_Engine->GetCurrentState() != m_Engine->m_GameModeState; ++i) {
            if (m_Engine->GetCurrentState() == m_Engine->m_MenuModeState)
                m_Engine->PopState();
            else
                Frame();
        }
    }

    static bool Fail(std::string& failure, const std::string& what)
    {
        failure = what;
        return false;
    }
};

typedef CJumpWorldOver<CHeadlessZoneGfx> CJumpWorld;
