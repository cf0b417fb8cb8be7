#pragma once

#include <memory>
#include <string>

#include "core/Node.h"
#include "core/services/IApplication.h"

namespace Ogre {
class Camera;
class OverlaySystem;
class RenderSystem;
class RenderWindow;
class Root;
class SceneManager;
class Viewport;
} // namespace Ogre

namespace sds {
class CUnitConverter;
class IConsole;
class IFader;
class IGfxMgr;
class IGUI;
class ILoadingProgressBar;
class ISndMgr;
class ISound;
} // namespace sds

namespace wrappers {

class CCeguiOgreSystem;
class CFrameListener;

// The application over the rendering engine: the root with its plug-ins, the
// window, the scene managers "Level Scene Manager" and "RTT Scene Manager",
// the default camera, and every manager the rest of the program reaches as a
// singleton (sound, events with the input devices, GUI, graphics, fader,
// console, units). Made once per pass of the program's restart loop.
class COgreApplication : public sds::IApplication
{
public:
    // Creates the root and loads the plug-ins that "Application"/"GfxCfg"
    // lists. A failure of the rendering engine throws CRendererException
    // "Renderer Creation: ".
    COgreApplication(const xml::CNodePtr& config, const xml::CNodePtr& settings, bool* restart);
    ~COgreApplication() override;

    // Opens the window and starts the managers, showing the progress on the
    // start-up screen. False when no window could be made; a failure of the
    // rendering engine throws CRendererException "Renderer Initialization: ",
    // a file it cannot find std::runtime_error with the same prefix.
    bool Startup();

    xml::CNodePtr& GetConfig() override { return m_Config; }
    xml::CNodePtr& GetSettings() override { return m_Settings; }
    // The frame loop until Quit or the window closes. Failures of the libraries
    // throw CRendererException "Renderer: " and std::runtime_error "CEGUI: ".
    void Run() override;
    void Quit() override;
    void Restart() override;
    // The picture "../data/gfx/icons/<id>.png"; a failure is logged.
    void SetIcon(int iconId) override;
    void SetFullscreen(bool fullScreen, unsigned width, unsigned height) override;
    unsigned GetWindowWidth() const override;
    unsigned GetWindowHeight() const override;
    bool IsFullScreen() const override;
    void UpdateWindow() override;
    void SkipDrawing() override { m_DrawFrame = false; }
    // From the next frame on; the pointer is free until the first call.
    void SetMouseGrab(bool grab) override;

private:
    void AddResourceLocations(const xml::CNodePtr& gfx);
    void ChooseRenderSystem(const xml::CNodePtr& gfx);
    void ApplyForcedOptions(const xml::CNodePtr& gfx);
    void SetRenderSystemOption(const std::string& name, bool report, Ogre::RenderSystem& renderSystem,
                               const std::string& value);
    void CreateScene();
    void StartSound();
    void StartInput();
    void StartGui();
    void StartGraphics();
    void GetReady();
    void FadeOutInitProgress();
    // One frame: its start, its drawing unless the frame skipped it, its end;
    // false when the loop ends.
    bool RunFrame();

    bool* m_Restart;
    Ogre::SceneManager* m_LevelSceneMgr;
    Ogre::SceneManager* m_RttSceneMgr;
    Ogre::RenderWindow* m_Window;
    std::unique_ptr<Ogre::Root> m_Root;
    std::unique_ptr<Ogre::OverlaySystem> m_OverlaySystem;
    std::shared_ptr<CFrameListener> m_FrameListener;
    std::unique_ptr<CCeguiOgreSystem> m_GuiSystem;
    std::shared_ptr<sds::IConsole> m_Console;
    std::shared_ptr<sds::IGfxMgr> m_GfxMgr;
    std::shared_ptr<sds::ISndMgr> m_SndMgr;
    std::shared_ptr<sds::CUnitConverter> m_UnitConverter;
    std::shared_ptr<sds::IGUI> m_Gui;
    std::shared_ptr<sds::IFader> m_Fader;
    std::shared_ptr<sds::ILoadingProgressBar> m_ProgressBar;
    Ogre::Camera* m_Camera;
    Ogre::Viewport* m_Viewport;
    xml::CNodePtr m_Config;
    xml::CNodePtr m_Settings;
    std::shared_ptr<sds::ISound> m_MenuMusic;
    bool m_DrawFrame = true;
    unsigned m_DrawnWidth = 0;
    unsigned m_DrawnHeight = 0;
};

// The application, started; null when it could not open its window.
std::shared_ptr<sds::IApplication> CreateApplication(const xml::CNodePtr& config, const xml::CNodePtr& settings,
                                                     bool* restart);

} // namespace wrappers
