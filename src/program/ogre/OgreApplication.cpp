#include "program/ogre/OgreApplication.h"

#include <algorithm>
#include <stdexcept>

#include <Bites/OgreWindowEventUtilities.h>
#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <OGRE/OgreCamera.h>
#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreTextureManager.h>
#include <OGRE/OgreViewport.h>
#include <OGRE/Overlay/OgreOverlayManager.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include "core/ILogMgr.h"
#include "core/UnitConverter.h"
#include "core/WallClock.h"
#include "graphics/ogre/GfxSettingsListBox.h"
#include "graphics/ogre/InitProgressBar.h"
#include "graphics/ogre/OgreConsole.h"
#include "graphics/ogre/OgreFader.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "graphics/ogre/RestoreRenderSystem.h"
#include "gui/CeguiGUI.h"
#include "gui/CeguiOgreSystem.h"
#include "program/ogre/FrameListener.h"
#include "scene/ogre/OgreZoneLoader.h"
#include "program/ogre/WindowIcon.h"
#include "sound/ISndMgr.h"
#include "sound/LoadSoundTemplate.h"
#include "sound/openal/SndMgrFactory.h"

namespace wrappers {

namespace {

const char* const ICON_FOLDER = "../data/gfx/icons/";
const char* const GUI_RESOURCE_GROUP = "GUI";

sds::ILogMgr& Log()
{
    return *sds::ILogMgr::GetSingleton();
}

std::string Attribute(const xml::CNodePtr& node, const char* name)
{
    return node->GetAttribute(name)->GetValue();
}

std::string WithoutBlanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// A GUI sound: a template of the "Sound" element, played from the origin. A
// sound that cannot be loaded is logged and stays silent.
CCeguiGUI::CSound LoadGuiSound(const xml::CNodePtr& sound)
{
    std::shared_ptr<sds::ISoundTemplate> sample;
    try {
        sample = sds::LoadSoundTemplate(sound);
    } catch (const std::exception& e) {
        Log().LogError("GUI sound could not be loaded: " + std::string(e.what()));
        return CCeguiGUI::CSound();
    }
    // The voice must live while it plays; the next one replaces it.
    auto voice = std::make_shared<std::shared_ptr<sds::ISound>>();
    return [sample, voice] {
        *voice = sample->CreateSound(sds::CVector::ZERO, sds::CVector::ZERO);
        (*voice)->Play(false);
    };
}

} // namespace

COgreApplication::COgreApplication(const xml::CNodePtr& config, const xml::CNodePtr& settings, bool* restart)
    : m_Restart(restart), m_LevelSceneMgr(nullptr), m_RttSceneMgr(nullptr), m_Window(nullptr), m_Camera(nullptr),
      m_Viewport(nullptr)
{
    m_UnitConverter = std::make_shared<sds::CUnitConverter>(config->GetChild("UnitConverter"));
    m_Config = config;
    m_Settings = settings;

    const xml::CNodePtr gfx = m_Config->GetChild("Application")->GetChild("GfxCfg");
    try {
        m_Root = std::make_unique<Ogre::Root>("", Attribute(gfx, "Path"), "Ogre.log");
    } catch (const Ogre::Exception& e) {
        throw CRendererException("Renderer Creation: " + e.getFullDescription());
    }
    xml::ForEachChild(*gfx, "Plugin", [this](const xml::CNodePtr& plugin) { m_Root->loadPlugin(Attribute(plugin, "Name")); });
}

COgreApplication::~COgreApplication()
{
    m_MenuMusic.reset();
    // The GUI holds sound templates of the sound manager.
    m_Gui.reset();
    m_GuiSystem.reset();
    m_SndMgr.reset();
    m_Console.reset();
    m_Fader.reset();
    m_ProgressBar.reset();
    m_GfxMgr.reset();
    if (m_Window) {
        m_Window->removeAllViewports();
        OgreBites::WindowEventUtilities::_removeRenderWindow(m_Window);
    }
    if (m_Camera)
        m_LevelSceneMgr->destroyCamera(m_Camera);
    if (m_FrameListener)
        m_Root->removeFrameListener(m_FrameListener.get());
    m_FrameListener.reset();
    Log().LogMessage("Application is destroyed... destroying Root");
    // Overlays go before the root.
    if (m_LevelSceneMgr && m_OverlaySystem)
        m_LevelSceneMgr->removeRenderQueueListener(m_OverlaySystem.get());
    if (m_RttSceneMgr && m_OverlaySystem)
        m_RttSceneMgr->removeRenderQueueListener(m_OverlaySystem.get());
    m_OverlaySystem.reset();
    m_Root.reset();
    m_UnitConverter.reset();
    m_Settings.reset();
    m_Config.reset();
}

bool COgreApplication::Startup()
{
    try {
        const xml::CNodePtr application = m_Config->GetChild("Application");
        const xml::CNodePtr gfx = application->GetChild("GfxCfg");
        AddResourceLocations(gfx);
        const std::string title =
            gfx->GetChild("Title")->GetValue() + " " + application->GetChild("About")->GetChild("Edition")->GetValue();
        ChooseRenderSystem(gfx);
        ApplyForcedOptions(gfx);
        m_Window = m_Root->initialise(true, title);
        if (!m_Window)
            return false;
        OgreBites::WindowEventUtilities::_addRenderWindow(m_Window);

        CreateScene();
        m_ProgressBar = InitialiseResources(m_LevelSceneMgr, m_Window);

        m_ProgressBar->SetProgress("Initializing managers...", 0.3f);
        m_ProgressBar->SetStepProgress("Sound system", 0.0f);
        StartSound();
        m_ProgressBar->SetStepProgress("Input system", 0.2f);
        StartInput();
        m_ProgressBar->SetStepProgress("Gui system", 0.4f);
        StartGui();
        m_ProgressBar->SetStepProgress("Graphics system", 0.6f);
        StartGraphics();
        m_ProgressBar->SetStepProgress("Getting ready", 0.8f);
        GetReady();
        m_ProgressBar->SetStepProgress("Done", 1.0f);

        FadeOutInitProgress();
        m_ProgressBar.reset();
        return true;
    } catch (const Ogre::FileNotFoundException& e) {
        // A file the start needs, not the render system: the text names it.
        throw std::runtime_error("Renderer Initialization: " + e.getFullDescription());
    } catch (const Ogre::Exception& e) {
        throw CRendererException("Renderer Initialization: " + e.getFullDescription());
    }
}

void COgreApplication::AddResourceLocations(const xml::CNodePtr& gfx)
{
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    xml::ForEachChild(*gfx, "ResourceGroup", [&groups](const xml::CNodePtr& group) {
        const std::string name = Attribute(group, "Name");
        xml::ForEachChild(*group, "Resource", [&groups, &name](const xml::CNodePtr& resource) {
            groups.addResourceLocation(Attribute(resource, "Path"), Attribute(resource, "Type"), name);
        });
    });
}

void COgreApplication::ChooseRenderSystem(const xml::CNodePtr& gfx)
{
    // A video mode the user chose before stands; one that cannot open the
    // window is set aside for the configuration's defaults.
    if (wrappers::RestoreRenderSystem(*m_Root, Attribute(gfx, "Path")))
        return;

    std::string wanted = gfx->GetChild("DefaultRenderSystem")->GetValue();
    if (wanted.empty())
        wanted = gfx->GetChild("DefaultRenderSystem")->GetAttribute("Value", "");
    const Ogre::RenderSystemList& offered = m_Root->getAvailableRenderers();
    if (offered.empty())
        throw CRendererException("No renderer is available, so nothing can be rendered. Check loaded plugins.");
    Ogre::RenderSystem* renderSystem = offered.front();
    for (Ogre::RenderSystem* candidate : offered)
        if (candidate->getName() == wanted) {
            renderSystem = candidate;
            break;
        }

    xml::ForEachChild(*gfx, "Default", [this, renderSystem](const xml::CNodePtr& option) {
        SetRenderSystemOption(Attribute(option, "Name"), true, *renderSystem, Attribute(option, "Value"));
    });
    const std::string complaint = renderSystem->validateConfigOptions();
    if (!complaint.empty())
        Log().LogWarning("There was a problem with RenderSystem options: " + complaint);
    m_Root->setRenderSystem(renderSystem);
}

void COgreApplication::ApplyForcedOptions(const xml::CNodePtr& gfx)
{
    if (!gfx->HasChild("Force"))
        return;
    Ogre::RenderSystem& renderSystem = *m_Root->getRenderSystem();
    xml::ForEachChild(*gfx, "Force", [this, &renderSystem](const xml::CNodePtr& option) {
        SetRenderSystemOption(Attribute(option, "Name"), true, renderSystem, Attribute(option, "Value"));
    });
    const std::string complaint = renderSystem.validateConfigOptions();
    if (!complaint.empty())
        Log().LogWarning("There was a problem with forced RenderSystem options: " + complaint);
}

void COgreApplication::SetRenderSystemOption(const std::string& name, bool report, Ogre::RenderSystem& renderSystem,
                                             const std::string& value)
{
    const Ogre::ConfigOptionMap& options = renderSystem.getConfigOptions();
    const auto option = options.find(name);
    if (option == options.end()) {
        if (report)
            Log().LogWarning("Parameter name '" + name + "' is not valid. Can not set default");
        return;
    }
    // The render system pads its numbers ("1024 x  768"): blanks do not count.
    const Ogre::StringVector& values = option->second.possibleValues;
    const auto found = std::find_if(values.begin(), values.end(), [&value](const std::string& offered) {
        return WithoutBlanks(offered) == WithoutBlanks(value);
    });
    if (found == values.end()) {
        if (report)
            Log().LogWarning("Parameter value '" + value + "' is not valid. Can not set default");
        return;
    }
    renderSystem.setConfigOption(name, *found);
}

void COgreApplication::CreateScene()
{
    const std::string factory = Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME;
    m_LevelSceneMgr = m_Root->createSceneManager(factory, "Level Scene Manager");
    m_RttSceneMgr = m_Root->createSceneManager(factory, "RTT Scene Manager");
    const sds::CVector ambient = m_Config->GetChild("Scene")->GetAttribute("RTTAmbientColor")->GetValue<sds::CVector>();
    m_RttSceneMgr->setAmbientLight(Ogre::ColourValue(ambient.x, ambient.y, ambient.z, 1.0f));

    // The overlay scripts must be known before any resource group is initialised.
    m_OverlaySystem = std::make_unique<Ogre::OverlaySystem>();
    m_LevelSceneMgr->addRenderQueueListener(m_OverlaySystem.get());
    // The digital dials draw overlays into their textures.
    m_RttSceneMgr->addRenderQueueListener(m_OverlaySystem.get());

    m_Camera = m_LevelSceneMgr->createCamera(COgreGfxMgr::kRenderingCamera);
    m_LevelSceneMgr->getRootSceneNode()->createChildSceneNode(COgreGfxMgr::kRenderingCameraNode)->attachObject(m_Camera);
    m_Viewport = m_Window->addViewport(m_Camera);
    m_Viewport->setBackgroundColour(Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
    m_Camera->setAspectRatio(Ogre::Real(m_Viewport->getActualWidth()) / Ogre::Real(m_Viewport->getActualHeight()));
}

void COgreApplication::StartSound()
{
    const xml::CNodePtr soundSystem = m_Config->GetChild("SoundSystem");
    m_SndMgr = CreateSndMgr(soundSystem);
    if (!soundSystem->GetAttribute<bool>("Enabled", true))
        return;
    try {
        const std::string music = Attribute(
            m_Config->GetChild("MenuStates")->GetChild("MainMenu")->GetChildById("Stream", "BgMusic", "Name,Id"),
            "File");
        m_MenuMusic = m_SndMgr->CreateSound(music);
    } catch (const std::exception& e) {
        Log().LogError("Open AL could not be created: " + std::string(e.what()));
    }
}

void COgreApplication::StartInput()
{
    const bool disabled = m_Config->GetChild("Switches")->GetAttribute<bool>("DisableInputs", false);
    m_FrameListener = std::make_shared<CFrameListener>(m_Window, !disabled);
    m_Root->addFrameListener(m_FrameListener.get());
}

void COgreApplication::StartGui()
{
    Ogre::OverlayManager::getSingleton().create("IOverlayedOverlay");
    try {
        const std::string logFile = Attribute(m_Config->GetChild("Application")->GetChild("CEGUILog"), "Path");
        m_GuiSystem = std::make_unique<CCeguiOgreSystem>(*m_Window, GUI_RESOURCE_GROUP, logFile);
        CEGUI::Logger::getSingleton().setLoggingLevel(CEGUI::Standard);
        const xml::CNodePtr gfx = m_Config->GetChild("Application")->GetChild("GfxCfg");
        Ogre::Root& root = *m_Root;
        auto createSettingsList = [&root, gfx](const std::string& window, const CCeguiGUI::CSetRows& setRows,
                                               const CCeguiGUI::CGetSelectedRow& getSelectedRow) {
            return std::static_pointer_cast<void>(
                std::make_shared<CGfxSettingsListBox>(window, setRows, getSelectedRow, root, gfx));
        };
        m_Gui = std::make_shared<CCeguiGUI>(m_Config->GetChild("GUI"), &m_GuiSystem->GetRenderer(), LoadGuiSound,
                                            createSettingsList);
    } catch (const CEGUI::Exception& e) {
        Log().LogError("CEGUI exception: " + std::string(e.getMessage().c_str()));
    }
}

void COgreApplication::StartGraphics()
{
    auto graphics = std::make_shared<COgreGfxMgr>(m_Window, m_LevelSceneMgr, this);
    UseOgreZoneLoader(*graphics);
    m_GfxMgr = graphics;
    // The sound listener stands where the level's camera stands.
    std::weak_ptr<sds::ISndMgr> sound = m_SndMgr;
    m_GfxMgr->SetSoundListener([sound](const sds::CVector& position, const sds::CVector& velocity,
                                       const sds::CVector& at, const sds::CVector& up) {
        if (const std::shared_ptr<sds::ISndMgr> listener = sound.lock())
            listener->SetListener(position, velocity, at, up);
    });
}

void COgreApplication::GetReady()
{
    Ogre::TextureManager::getSingleton().setDefaultNumMipmaps(5);
    m_Fader = std::make_shared<COgreFader>();
    m_Console = std::make_shared<COgreConsole>(
        m_Config->GetChild("Application")->GetChildById("Console", "Console", "Name,Id"));
}

void COgreApplication::FadeOutInitProgress()
{
    const float fadeTime =
        m_Config->GetChild("Application")->GetChild("InitProgress")->GetAttribute<float>("FadeOutTime", 0.3f);
    m_Fader->SetVisible(true);
    const std::uint64_t start = sds::GetWallClockMs();
    for (float elapsed = 0.0f; elapsed < fadeTime;
         elapsed = static_cast<float>(sds::GetWallClockMs() - start) / 1000.0f) {
        m_Fader->SetAlpha(elapsed / fadeTime);
        m_Window->update();
    }
    m_Fader->SetVisible(false);
}

void COgreApplication::Run()
{
    try {
        m_Root->getRenderSystem()->_initRenderTargets();
        m_Root->clearEventTimes();
        // Window events (resizing, closing) are taken once a frame.
        do
            OgreBites::WindowEventUtilities::messagePump();
        while (RunFrame());
    } catch (const CEGUI::Exception& e) {
        throw std::runtime_error("CEGUI: " + std::string(e.getMessage().c_str()));
    } catch (const Ogre::Exception& e) {
        throw CRendererException("Renderer: " + e.getFullDescription());
    }
}

bool COgreApplication::RunFrame()
{
    m_DrawFrame = true;
    if (!m_Root->_fireFrameStarted())
        return false;
    // A window of a new size is drawn at once, whatever the frame asked.
    const bool resized = m_Window->getWidth() != m_DrawnWidth || m_Window->getHeight() != m_DrawnHeight;
    if (m_DrawFrame || resized) {
        m_DrawnWidth = m_Window->getWidth();
        m_DrawnHeight = m_Window->getHeight();
        if (!m_Root->_updateAllRenderTargets())
            return false;
    }
    return m_Root->_fireFrameEnded();
}

void COgreApplication::Quit()
{
    if (m_FrameListener)
        m_FrameListener->Stop();
}

void COgreApplication::Restart()
{
    *m_Restart = true;
    Quit();
}

void COgreApplication::SetIcon(int iconId)
{
    const std::string problem = SetWindowIcon(*m_Window, ICON_FOLDER + std::to_string(iconId) + ".png");
    if (!problem.empty())
        Log().LogError("Could not set icon. " + problem);
}

void COgreApplication::SetFullscreen(bool fullScreen, unsigned width, unsigned height)
{
    m_Window->setFullscreen(fullScreen, width, height);
}

unsigned COgreApplication::GetWindowWidth() const
{
    return m_Window->getWidth();
}

unsigned COgreApplication::GetWindowHeight() const
{
    return m_Window->getHeight();
}

bool COgreApplication::IsFullScreen() const
{
    return m_Window->isFullScreen();
}

void COgreApplication::UpdateWindow()
{
    m_Window->update();
}

void COgreApplication::SetMouseGrab(bool grab)
{
    if (m_FrameListener)
        m_FrameListener->SetMouseGrab(grab);
}

std::shared_ptr<sds::IApplication> CreateApplication(const xml::CNodePtr& config, const xml::CNodePtr& settings,
                                                     bool* restart)
{
    auto application = std::make_shared<COgreApplication>(config, settings, restart);
    if (!application->Startup())
        return nullptr;
    return application;
}

} // namespace wrappers
