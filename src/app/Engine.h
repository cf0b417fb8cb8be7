#pragma once

#include "core/SingletonTmpl.h"
#include "core/StateMachineTmpl.h"

namespace sds {

class CEngine;

// A state of the engine's machine (splash screens, menu mode, game mode, editor).
typedef IStateTmpl<CEngine> IEngineState;

// The program's top state machine. The menus drive it: they pop and change its
// states and ask it to quit.
class CEngine : public CStateMachineTmpl<IEngineState>, public CSingletonTmpl<CEngine>
{
public:
    CEngine();
    ~CEngine() override;

    void OnStart() override;

    // Set by the main menu's Exit; the engine ends the program on its next frame.
    bool m_QuitRequested;

    // The states the menus switch to; null while the engine has no such state.
    IEngineState* m_MenuModeState;
    IEngineState* m_GameModeState;
    IEngineState* m_EditorState;
};

} // namespace sds
