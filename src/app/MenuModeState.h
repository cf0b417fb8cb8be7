#pragma once

#include <vector>

#include <boost/signals2/connection.hpp>

#include "app/Engine.h"
#include "app/IGuiEngine.h"
#include "core/SingletonTmpl.h"
#include "core/StateMachineTmpl.h"
#include "graphics/IOverlayed.h"

namespace sds {
namespace EngineStates {

// The engine's state while the menus are up: it runs the GUI engine, plays the
// menu music and shows the menus' background unless a jump is paused
// underneath, and takes the "Menu" input mode. The pointer is free while the
// menus are up and grabbed by the window when they give way. Notices that
// arose while no menu was up (a damaged profile) are shown in message boxes.
class CMenuModeState : public CSuperStateTmpl<IEngineState, IGuiEngine>, public CSingletonTmpl<CMenuModeState>
{
public:
    // Hides the main menu's window until the GUI engine shows a screen. The
    // background is the overlay "MenuStates"/"MainMenu"/"Background" names, if any.
    CMenuModeState(CEngine* engine, IGuiEngine* guiEngine);
    ~CMenuModeState() override;

    void Enter() override;
    void Exit() override;
    void Pause() override;
    void Resume() override;

private:
    // True while a jump is on the engine's stack, paused under the menus.
    bool IsGameModeOnStack() const;
    // Music and background, unless a jump is paused underneath.
    void StartBackground();
    void StopBackground();

    COverlayedPtr m_Background;
    std::vector<boost::signals2::scoped_connection> m_Connections;
};

} // namespace EngineStates
} // namespace sds
