#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "app/FrameLimiter.h"
#include "app/IGuiEngine.h"
#include "app/RedrawPacer.h"
#include "core/Node.h"
#include "core/SingletonTmpl.h"
#include "core/StateMachineTmpl.h"
#include "core/services/Events.h"
#include "mods/IDZLoaderMod.h"

namespace sds {

class CBindingMgr;
class CEngine;
class CEquipmentManager;
class CProfile;
class CProfileMgr;
class IApplication;
class IGameMode;
class ISound;

namespace EngineStates {
class CSplashScreensState;
class CMenuModeState;
} // namespace EngineStates

// A state of the engine's machine (splash screens, menu mode, game mode, editor).
typedef IStateTmpl<CEngine> IEngineState;
// Makes a state that lives in a layer above the engine (the force-field
// editor); null when the program has none.
typedef std::function<std::shared_ptr<IEngineState>(CEngine& engine)> CEngineStateFactory;

// The program's top state machine. It owns the long-lived program objects
// (profiles, input bindings, equipment, GUI engine, menu music), turns each frame event
// into a timing record for the current state, and limits the frame rate.
// The menus drive it: they pop and change its states and ask it to quit; it
// reaches them only through IGuiEngine.
class CEngine : public CStateMachineTmpl<IEngineState>, public CSingletonTmpl<CEngine>
{
public:
    // Builds the program objects, the menus from `createGuiEngine` and the
    // force-field editor from `createEditor` (after the menus, whose screens
    // it opens) among them, and enters the first state: the splash screens, or menu mode at
    // the main menu for "MainMenu", or the drop-zone menu's jump with its
    // stored choice for "GameMode", or, after a restart, the main menu with
    // the video settings open. `minFrameTime` (seconds) of 0 means no limit.
    // The game mode loads its levels with `createDZLoader` (none: empty levels).
    // Needs the application, event, GUI, graphics, fader and sound services.
    CEngine(float minFrameTime, IApplication* application, const CGuiEngineFactory& createGuiEngine,
            const CEngineStateFactory& createEditor, const std::string& startState, bool restarted,
            const CFrameLimiter::CTimer& timer = CFrameLimiter::SystemTimer(),
            const CDZLoaderFactory& createDZLoader = CDZLoaderFactory());
    ~CEngine() override;

    // The current state, then the engine's own hook, then the frame limiter.
    // The menus alone on the stack are drawn only when something on them
    // changed, else a few times a second; a frame that is not drawn only
    // polls the input, at a lower rate.
    void Update(const CTiming& timing) override;
    // Releases the sounds in m_PlayingSounds that have finished.
    void OnUpdate(const CTiming& timing) override;
    // Subscribes to the frame event, the screen-shot event (113) and the raw input.
    void OnStart() override;
    void OnStop() override;

    // Ends the program when asked (by the menus or by SIGINT or SIGTERM), then
    // advances the global clock and updates.
    void OnFrame(const CFrameEvent& event);
    // On the press of "screen_shot": the window into a file named by
    // "Application"/"ScreenShot" "Prefix" and "Suffix".
    void TakeScreenShot(const CInternalEvent& event);
    // The main menu's Exit: the program ends on the next frame.
    void RequestQuit() { m_QuitRequested = true; }

    IApplication* GetApplication() const { return m_Application; }
    CBindingMgr& GetBindingMgr() const;
    CProfileMgr& GetProfileMgr() const;
    // The profile jumps are recorded in.
    CProfile& GetCurrentProfile() const;
    IGuiEngine* GetGuiEngine() const { return m_GuiEngine.get(); }
    // The game-mode state as the menus use it; null while the engine has none.
    IGameMode* GetGameMode() const;
    // The equipment file's models for the whole run; null for the bare machine.
    CEquipmentManager* GetEquipmentManager() const { return m_EquipmentManager.get(); }
    EngineStates::CSplashScreensState* GetSplashScreensState() const { return m_SplashScreensState.get(); }
    float GetMinFrameTime() const { return m_FrameLimiter.GetMinFrameTime(); }

    // Something the user must learn of that no screen shows, such as a
    // damaged file set aside: a message box at once while a menu is up, else
    // when menu mode is next entered.
    void AddNotice(const std::string& text);
    std::vector<std::string> TakeNotices();

    // Seconds of frame time since the program started; keeps counting across restarts.
    static float s_GlobalTime;

    // Set by the main menu's Exit; the engine ends the program on its next frame.
    bool m_QuitRequested;

    // The states the menus switch to; null while the engine has no such state.
    IEngineState* m_MenuModeState;
    IEngineState* m_GameModeState;
    IEngineState* m_EditorState;

    // The menu background music.
    std::shared_ptr<ISound> m_BgMusic;
    // Sounds started elsewhere, kept alive until they stop playing.
    std::vector<std::shared_ptr<ISound>> m_PlayingSounds;

protected:
    // The machine alone, without the program's objects and states: what the
    // screens need of the engine, for their tests. With a "Profiles" element
    // it also holds the profiles.
    explicit CEngine(const xml::CNodePtr& profiles = xml::CNodePtr());

private:
    std::shared_ptr<ISound> CreateMenuMusic() const;
    void SelectCurrentProfile();
    void EnterFirstState(const std::string& startState, bool restarted);
    // Whether the frame under way is drawn; also notes what it showed.
    bool IsFrameDrawn();

    IApplication* m_Application;
    CFrameLimiter m_FrameLimiter;
    boost::signals2::scoped_connection m_ScreenShotConnection;
    boost::signals2::scoped_connection m_FrameConnection;
    boost::signals2::scoped_connection m_KeyConnection;
    boost::signals2::scoped_connection m_MouseConnection;
    CRedrawPacer m_MenuRedraw;
    // Input arrived since the last frame.
    bool m_InputSeen;
    // The top state and the depth of the stack at the last frame.
    const IEngineState* m_LastState;
    std::size_t m_LastDepth;
    std::unique_ptr<CProfileMgr> m_ProfileMgr;
    std::shared_ptr<CEquipmentManager> m_EquipmentManager;
    std::unique_ptr<CBindingMgr> m_BindingMgr;
    std::shared_ptr<IGuiEngine> m_GuiEngine;
    // Every state, in the order splash screens, game mode, menu mode, editor; keeps them alive.
    std::vector<std::shared_ptr<IEngineState>> m_AllStates;
    std::shared_ptr<EngineStates::CSplashScreensState> m_SplashScreensState;
    std::vector<std::string> m_Notices;
};

} // namespace sds
