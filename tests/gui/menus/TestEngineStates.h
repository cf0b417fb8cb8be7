#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "app/JumpRecord.h"
#include "app/Profile.h"
#include "app/ProfileMgr.h"
#include "gui/menus/GuiEngine.h"
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

// The game mode as the menus see it, recording what they ask of it.
class CFakeGameMode : public sds::IGameMode
{
public:
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
            m_DropZone = "tutorial " + m_CurrentTutorial;
        return known;
    }
    void SetShowLandingComment(bool show) override { m_ShowLandingComment = show; }
    void Restart() override { ++m_Restarts; }
    void ShowTrajectories(const std::vector<const sds::CJumpRecord*>& jumps) override
    {
        m_Trajectories.clear();
        for (const sds::CJumpRecord* jump : jumps)
            m_Trajectories.push_back(jump->Number);
    }
    void ShowCenterMessage(const std::string& text) override { m_CenterMessage = text; }

    // What LoadTutorials finds.
    std::vector<std::string> m_TutorialsOnDisk;
    std::vector<std::string> m_TutorialNames;
    std::string m_CurrentTutorial;
    std::string m_DropZone;
    bool m_ShowLandingComment = false;
    int m_TutorialLoads = 0;
    int m_Restarts = 0;
    // The numbers of the jumps whose trajectories are shown.
    std::vector<std::uint32_t> m_Trajectories;
    std::string m_CenterMessage;
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
