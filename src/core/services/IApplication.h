#pragma once

#include <stdexcept>
#include <string>

#include "core/Node.h"
#include "core/SingletonTmpl.h"

namespace sds {

// The application service: configuration, user settings, the frame loop and
// the window.
class IApplication : public CSingletonTmpl<IApplication>
{
public:
    // The render system cannot start or failed while it ran (as opposed to a
    // file that cannot be read): most likely the graphics hardware or driver.
    class CRendererException : public std::runtime_error
    {
    public:
        explicit CRendererException(const std::string& message) : std::runtime_error(message) {}
    };

    ~IApplication() override = default;
    // The "sds" element of the main configuration.
    virtual xml::CNodePtr& GetConfig() = 0;
    // The user-settings root ("Settings").
    virtual xml::CNodePtr& GetSettings() = 0;
    virtual void Run() = 0;
    // Ends the frame loop at the end of the current frame.
    virtual void Quit() = 0;
    // Quit, asking main to build the application again.
    virtual void Restart() = 0;
    // Sets the window icon by its number (102, 107, 108, 109 by edition).
    virtual void SetIcon(int iconId) = 0;
    virtual void SetFullscreen(bool fullScreen, unsigned width, unsigned height) = 0;
    virtual unsigned GetWindowWidth() const = 0;
    virtual unsigned GetWindowHeight() const = 0;
    virtual bool IsFullScreen() const = 0;
    // Redraws the window's viewports once.
    virtual void UpdateWindow() = 0;
    // The frame under way is not drawn: nothing on the screen changed. Its
    // frame event still runs; called from there.
    virtual void SkipDrawing() = 0;
    // Keeps the pointer in the window (true: in flight, where the mouse steers)
    // or lets it go (false: while a menu is shown, and at start).
    virtual void SetMouseGrab(bool grab) = 0;
};

} // namespace sds
