#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/Engine.h"
#include "app/IGameMode.h"
#include "gui/menus/GuiEngine.h"
#include "scene/DropZoneLevel.h"

// The engine's machine without the program's objects and states: the test
// puts in the states it needs.
class CTestEngine : public sds::CEngine
{
public:
    CTestEngine() = default;
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

// The game mode as the menus use it: the drop zones the test gives it, the
// drop zone a jump chose, and a record of what the machine does to it.
class CFakeGameModeState : public CRecordingEngineState, public sds::IGameMode
{
public:
    CFakeGameModeState() : CRecordingEngineState("game") {}

    const std::vector<std::string>& GetDropZoneNames() const override { return m_Names; }
    const CDropZones& GetDropZones() const override { return m_DropZones; }
    void SetCurrentDropZone(const std::shared_ptr<sds::CDropZoneLevel>& dropZone) override { m_Current = dropZone; }
    void Restart() override { m_Calls.push_back("Restart"); }
    void ShowTrajectory(bool showJump, const std::string& jump) override
    {
        m_Calls.push_back("ShowTrajectory " + std::to_string(showJump) + " " + jump);
    }

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

    std::vector<std::string> m_Names;
    CDropZones m_DropZones;
    std::shared_ptr<sds::CDropZoneLevel> m_Current;
};
