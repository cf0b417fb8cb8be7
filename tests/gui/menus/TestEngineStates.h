#pragma once

#include <string>
#include <vector>

#include "app/Engine.h"
#include "gui/menus/GuiEngine.h"

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
