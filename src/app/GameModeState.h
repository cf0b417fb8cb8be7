#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/signals2/connection.hpp>

#include "app/DropZoneList.h"
#include "app/Engine.h"
#include "app/IGameMode.h"
#include "core/SingletonTmpl.h"
#include "forcefields/IEditorLevel.h"
#include "jumper/IJumpEndDisplay.h"
#include "mods/IDZLoaderMod.h"
#include "mods/ILevelHost.h"

namespace sds {

class CProfile;
class ILevelMod;
class ILoadingProgressBar;
class ITrajectory;

namespace EngineStates {

// The engine's state while a jump is flown. Entering it loads the chosen drop
// zone behind a progress bar and builds the level mods in their fixed order;
// each frame it runs them; it pauses, restarts, opens the in-game menu,
// records a finished jump and shows its trajectory. It also owns the lists of
// drop-zone and tutorial files that the menus offer.
class CGameModeState : public IEngineState,
                       public IGameMode,
                       public ILevelHost,
                       public IJumpEndDisplay,
                       public DovuvUvozeVozediza::IEditorLevel,
                       public CSingletonTmpl<CGameModeState>
{
public:
    // The game mode stands still; a second "pause" ends the pause.
    class CPauseModeState : public IEngineState
    {
    public:
        explicit CPauseModeState(CEngine* engine) : IEngineState(engine) {}
        void OnUpdate(const CTiming& timing) override;
        void Enter() override;
        void Exit() override;
        void Pause() override {}
        void Resume() override {}

    private:
        boost::signals2::scoped_connection m_Connection;
    };

    // One frame in which only the jumpers and the camera move, then gone.
    class CSkipUpdateState : public IEngineState
    {
    public:
        explicit CSkipUpdateState(CEngine* engine) : IEngineState(engine) {}
        void OnUpdate(const CTiming& timing) override;
        void Enter() override {}
        void Exit() override {}
        void Pause() override {}
        void Resume() override {}
    };

    // Jumpers and camera move until the fade has uncovered the level, then the jump starts.
    class CWaitForFaderState : public IEngineState
    {
    public:
        explicit CWaitForFaderState(CEngine* engine) : IEngineState(engine) {}
        void OnUpdate(const CTiming& timing) override;
        void Enter() override {}
        void Exit() override {}
        void Pause() override {}
        void Resume() override {}
    };

    // Reads the fade times and lists the drop-zone and tutorial files.
    explicit CGameModeState(CEngine* engine);
    ~CGameModeState() override;

    // The mods in their order, then the camera; also the frame the editor runs under itself.
    void OnUpdate(const CTiming& timing) override;
    // Loads the level of the current drop zone and starts the first jump.
    void Enter() override;
    // Ends the jump (a jump in the air is recorded) and frees the level.
    void Exit() override;
    void Pause() override;
    void Resume() override;

    // IGameMode
    const std::vector<std::string>& GetDropZoneNames() const override { return m_DropZones.m_Names; }
    const std::vector<std::string>& GetUnreadableDropZones() const override { return m_DropZones.m_Unreadable; }
    const CDropZones& GetDropZones() const override { return m_DropZones.m_DropZones; }
    void SetCurrentDropZone(const std::shared_ptr<CDropZoneLevel>& dropZone) override { m_DZ = dropZone; }
    std::shared_ptr<CDropZoneLevel> GetCurrentDropZone() const override { return m_DZ; }
    void LoadTutorials() override;
    const std::vector<std::string>& GetTutorialNames() const override { return m_Tutorials.m_Names; }
    const std::string& GetCurrentTutorialName() const override { return m_TutorialName; }
    void SetCurrentTutorialName(const std::string& name) override { m_TutorialName = name; }
    bool SelectCurrentTutorialDropZone() override;
    // Whether the landing states show the judge's comment; the settings screen sets it.
    void SetShowLandingComment(bool show) override { m_ShowLandingComment = show; }
    void Restart() override;
    // Also the jumper's end-of-jump display.
    void ShowTrajectory(bool showJump, const std::string& message) override;
    // The trajectory files of these jumps, read from the current profile's folder.
    void ShowTrajectories(const std::vector<const CJumpRecord*>& jumps) override;
    // Also the jumper's end-of-jump display.
    void ShowCenterMessage(const std::string& text) override;

    // Also the editor's, which sets it while it runs.
    void SetEditFlag(bool editing) override { m_Editing = editing; }

    // IEditorLevel, answered while a level is loaded
    xml::CNodePtr GetSceneTree() const override;
    // Throws sds::CException while no level is loaded.
    physics::IWindMgr& GetWindMgr() override;
    std::shared_ptr<DovuvUvozeVozediza::IEditorSimObj> GetNearestSimObj(const CVector& point) override;
    // Told this game mode as the level when a level has been loaded, null when it goes.
    void SetEditorLevelListener(const std::function<void(DovuvUvozeVozediza::IEditorLevel*)>& listener)
    {
        m_EditorLevelListener = listener;
    }

    // IJumpEndDisplay
    bool ShowsLandingComment() const override { return m_ShowLandingComment; }

    // ILevelHost
    const std::shared_ptr<CDropZoneLevel>& GetDropZone() const override { return m_DZ; }
    bool IsEditing() const override { return m_Editing; }
    void RecordJump(const IJumper& jumper) override;
    const CCollisionJudgeFactory& GetCollisionJudgeFactory() const override { return m_JudgeFactory; }
    IJumpEndDisplay& GetJumpEndDisplay() override { return *this; }

    // Adds the jump to the profile: its record with the drop zone's preset rows,
    // the landing rows and the trajectory's statistics, the trajectory file
    // beside the profile, then the profile's file. A file that cannot be
    // written is logged and the game goes on.
    static void RecordJump(CProfile& profile, const ITrajectory& trajectory, const CDropZoneLevel& dropZone,
                           const xml::CNodePtr& landingInfo);

    // The level's loader; the level is loaded without one when it is not set.
    void SetDZLoaderFactory(const CDZLoaderFactory& factory) { m_CreateDZLoader = factory; }
    // Lists the drop-zone files again (after one was saved).
    void ListDropZones() override;
    const std::vector<std::shared_ptr<ILevelMod>>& GetMods() const { return m_Mods; }

private:
    void ConnectHandlers();
    void DisconnectHandlers();
    void OnGameEvent(const CInternalEvent& event);
    void GoToMenu();
    // Restarts the mods when the restart's fade has covered the screen.
    void ResetJump();
    // One update of every mod, then the wait for the fade behind two skip frames.
    void StartJump();
    // Runs when the fade has uncovered the level: count-down, messages, help.
    void OnFadeFinished(bool firstJump, bool editing);
    void ShowSceneMessages();
    bool IsMenuModeCurrent() const;
    void PushMenuMode();
    void ReleaseMods();

    CEngine* m_Engine;
    CPauseModeState m_PauseState;
    CSkipUpdateState m_SkipUpdateState;
    CWaitForFaderState m_WaitForFaderState;
    std::vector<boost::signals2::scoped_connection> m_Connections;
    std::vector<std::shared_ptr<ILevelMod>> m_Mods;
    IDZLoaderMod* m_DZLoader = nullptr;
    std::shared_ptr<CDropZoneLevel> m_DZ;
    bool m_Editing = false;
    CDropZoneList m_DropZones;
    CDropZoneList m_Tutorials;
    std::string m_TutorialName;
    float m_FadeIn;
    float m_FadeOut;
    bool m_ShowLandingComment = true;
    // Set once the jump is in the profile; cleared when a new jump starts.
    bool m_JumpRecorded = false;
    std::shared_ptr<ILoadingProgressBar> m_ProgressBar;
    CDZLoaderFactory m_CreateDZLoader;
    CCollisionJudgeFactory m_JudgeFactory;
    std::function<void(DovuvUvozeVozediza::IEditorLevel*)> m_EditorLevelListener;
};

} // namespace EngineStates
} // namespace sds
