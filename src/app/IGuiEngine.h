#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/Timing.h"

namespace sds {

// The menus as the engine sees them: the machine of screens that menu mode
// runs, and the screens the engine opens by itself. The menus live above the
// engine; the program entry hands the engine the way to make them.
class IGuiEngine : public IUpdate
{
public:
    ~IGuiEngine() override = default;

    // Menu mode drives the machine with these (the state machine's operations).
    virtual void Start() = 0;
    // The menus stop taking input and close their top screen.
    virtual void OnStop() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;

    virtual void GoToMainMenu() = 0;
    // The settings screen over the current one, on the tab of that path
    // ("wndSettings/tcSections/tabVideo").
    virtual void ShowVideoSettings(const std::string& tab) = 0;
    // A message box with the text over the current screen.
    virtual void ShowMessageBox(const std::string& text) = 0;
    // The screen that chooses the drop zone, and its Jump with the choice it holds.
    virtual void GoToDZSelection() = 0;
    virtual void ApplyDZSelection() = 0;
    virtual void GoToInGameMenu() = 0;
    // The help screen over the current one, or in its place.
    virtual void ShowHelp() = 0;
    virtual void GoToHelp() = 0;
    // The jump log over the current screen; the values say whether and which jump to show.
    virtual void ShowStatistics(bool showJump, const std::string& jump) = 0;
};

// Makes the menus; the engine calls it once, after its other program objects.
typedef std::function<std::shared_ptr<IGuiEngine>()> CGuiEngineFactory;

} // namespace sds
