#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "app/JumpRecord.h"
#include "app/Profile.h"
#include "app/ProfileMgr.h"
#include "gui/menus/GuiEngine.h"
#include "scene/DropZoneLevel.h"
#include "support/TempDir.h"

inline xml::CNodePtr ProfilesIn(const CTempDir& folder)
{
    xml::CNodePtr profiles(new xml::CNode("Profiles", false));
    profiles->AddAttribute("Path", folder.Path() + "/");
    return profiles;
}

// The folder of a test engine's profiles, made before the engine.
struct CProfilesFolder
{
    CTempDir m_Profiles;
};

// The engine's machine without the program's objects and states, with a
// profile of its own: the test puts in the states it needs.
class CTestEngine : private CProfilesFolder, public sds::CEngine
{
public:
    CTestEngine() : sds::CEngine(ProfilesIn(m_Profiles)) {}

    sds::CProfile& Profile() { return GetCurrentProfile(); }
};

// An engine state that records what the machine does to it.
class CRecordingEngineState : public sds::IEngineState
{
public:
    explicit CRecordingEngineState(const std::string& name)
        : sds::IEngineState(sds::CEngine::GetSingleton()), m_Name(name)
    {
    }

    void OnUpdate(const sds::CTiming&) override {}
    void Enter() override { m_Calls.push_back("Enter"); }
    void Exit() override { m_Calls.push_back("Exit"); }
    void Pause() override { m_Calls.push_back("Pause"); }
    void Resume() override { m_Calls.push_back("Resume"); }

    std::string m_Name;
    std::vector<std::string> m_Calls;
};

// The engine's menu mode as far as the GUI engine needs it: the GUI engine
// runs while this state is on top of the engine.
class CTestMenuModeState : public sds::CSuperStateTmpl<sds::IEngineState, sds::CGuiEngine>
{
public:
    explicit CTestMenuModeState(sds::CGuiEngine* guiEngine)
        : sds::CSuperStateTmpl<sds::IEngineState, sds::CGuiEngine>(sds::CEngine::GetSingleton(), guiEngine)
    {
    }

    void Enter() override { m_SubMachine->Start(); }
    void Exit() override { m_SubMachine->OnStop(); }
    void Pause() override { m_SubMachine->Pause(); }
    void Resume() override { m_SubMachine->Resume(); }
};

// The game mode as the menus use it: the drop zones and tutorials the test
// gives it, the drop zone a jump chose, what the end of a jump showed, and a
// record of what the machine does to it.
class CFakeGameModeState : public CRecordingEngineState, public sds::IGameMode
{
public:
    CFakeGameModeState() : CRecordingEngineState("game") {}

    // Fails as a level that cannot be loaded does, when the test gives a reason.
    void Enter() override
    {
        CRecordingEngineState::Enter();
        if (!m_LoadFailure.empty())
            throw std::runtime_error(m_LoadFailure);
    }

    const std::vector<std::string>& GetDropZoneNames() const override { return m_Names; }
    const CDropZones& GetDropZones() const override { return m_DropZones; }
    const std::vector<std::string>& GetUnreadableDropZones() const override { return m_Unreadable; }
    void SetCurrentDropZone(const std::shared_ptr<sds::CDropZoneLevel>& dropZone) override { m_Current = dropZone; }
    std::shared_ptr<sds::CDropZoneLevel> GetCurrentDropZone() const override { return m_Current; }
    // Runs what the test put in m_ListDropZones, as the game mode reads its folder.
    void ListDropZones() override
    {
        ++m_DropZoneListings;
        if (m_ListDropZones)
            m_ListDropZones();
    }
    void SetEditFlag(bool editing) override { m_Editing = editing; }
    void ShowTrajectory(bool showJump, const std::string& jump) override
    {
        m_Calls.push_back("ShowTrajectory " + std::to_string(showJump) + " " + jump);
    }

    void LoadTutorials() override
    {
        ++m_TutorialLoads;
        m_TutorialNames = m_TutorialsOnDisk;
    }
    const std::vector<std::string>& GetTutorialNames() const override { return m_TutorialNames; }
    const std::string& GetCurrentTutorialName() const override { return m_CurrentTutorial; }
    void SetCurrentTutorialName(const std::string& name) override { m_CurrentTutorial = name; }
    bool SelectCurrentTutorialDropZone() override
    {
        const bool known = std::find(m_TutorialNames.begin(), m_TutorialNames.end(), m_CurrentTutorial) !=
                           m_TutorialNames.end();
        if (known)
            m_TutorialDropZone = m_CurrentTutorial;
        return known;
    }
    void SetShowLandingComment(bool show) override { m_ShowLandingComment = show; }
    void Restart() override
    {
        m_Calls.push_back("Restart");
        ++m_Restarts;
    }
    void ShowTrajectories(const std::vector<const sds::CJumpRecord*>& jumps) override
    {
        m_Trajectories.clear();
        for (const sds::CJumpRecord* jump : jumps)
            m_Trajectories.push_back(jump->Number);
    }
    void ShowCenterMessage(const std::string& text) override { m_CenterMessage = text; }

    std::shared_ptr<sds::CDropZoneLevel> Add(const xml::CNodePtr& tree, const std::string& path = "test.dz")
    {
        auto dropZone = std::make_shared<sds::CDropZoneLevel>(tree, path);
        m_Names.push_back(dropZone->GetFullName());
        m_DropZones[dropZone->GetFullName()] = dropZone;
        return dropZone;
    }

    // Forgets every drop zone and call.
    void Reset()
    {
        m_Calls.clear();
        m_Names.clear();
        m_DropZones.clear();
        m_Current.reset();
    }

    std::string m_LoadFailure;
    std::vector<std::string> m_Names;
    CDropZones m_DropZones;
    std::vector<std::string> m_Unreadable;
    std::shared_ptr<sds::CDropZoneLevel> m_Current;
    std::function<void()> m_ListDropZones;
    int m_DropZoneListings = 0;
    bool m_Editing = false;

    // What LoadTutorials finds.
    std::vector<std::string> m_TutorialsOnDisk;
    std::vector<std::string> m_TutorialNames;
    std::string m_CurrentTutorial;
    // The tutorial whose drop zone the next jump flies in.
    std::string m_TutorialDropZone;
    bool m_ShowLandingComment = false;
    int m_TutorialLoads = 0;
    int m_Restarts = 0;
    // The numbers of the jumps whose trajectories are shown.
    std::vector<std::uint32_t> m_Trajectories;
    std::string m_CenterMessage;
};
