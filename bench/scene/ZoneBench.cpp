// The default drop zone's load and teardown through the graphics manager, on
// a GL window (under a virtual screen of its own when there is no display).
// Run from the run tree's bin folder with no arguments. Each round loads the
// zone, puts the level's camera at the zone's "Camera" facing its "Target"
// and gives the pagers their first update, then tears the zone down. Prints
// each round's times, the first (cold) load, then the medians. Then the whole
// level as the game mode loads it (the zone, the physics, the level's objects
// and the first jump, with the tests' jump preset) and its teardown, the
// physics mod included, timed the same way:
//
//   zone_first_load_seconds=<s>
//   zone_load_seconds=<s>
//   zone_teardown_seconds=<s>
//   level_load_seconds=<s>
//   level_teardown_seconds=<s>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include "core/ResourceMgr.h"
#include "core/WallClock.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"
#include "graphics/ICamera.h"
#include "graphics/ogre/InitProgressBar.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "level/LevelStack.h"
#include "scene/ogre/OgreZoneLoader.h"

namespace {

const int kRounds = 5;
const char* const kConfig = "../conf/conf.xml";
const char* const kZone = "../data/Skorvel/HomeField.dz";

// The configuration and no user settings; no frame loop.
class CBenchApplication : public sds::IApplication
{
public:
    explicit CBenchApplication(const xml::CNodePtr& config)
        : m_Config(config), m_Settings(new xml::CNode("Settings", false))
    {
    }
    xml::CNodePtr& GetConfig() override { return m_Config; }
    xml::CNodePtr& GetSettings() override { return m_Settings; }
    void Run() override {}
    void Quit() override {}
    void Restart() override {}
    void SetIcon(int) override {}
    void SetFullscreen(bool, unsigned, unsigned) override {}
    unsigned GetWindowWidth() const override { return 1024; }
    unsigned GetWindowHeight() const override { return 768; }
    bool IsFullScreen() const override { return false; }
    void UpdateWindow() override {}
    void SetMouseGrab(bool) override {}

private:
    xml::CNodePtr m_Config;
    xml::CNodePtr m_Settings;
};

// The log, kept nowhere.
class CQuietLog : public sds::ILogMgr
{
public:
    void LogMessage(const std::string&) override {}
    void LogError(const std::string&) override {}
    void LogWarning(const std::string&) override {}
};

// The rendering engine as the program starts it: the configuration's plug-ins
// and resource groups, the GL render system, a window, the level scene with
// the rendering camera.
class CEngine
{
public:
    explicit CEngine(const xml::CNodePtr& config)
    {
        auto* logs = new Ogre::LogManager();
        logs->createLog("Ogre.log", true, false, true);
        m_Root = std::make_unique<Ogre::Root>("", "", "");
        const xml::CNodePtr gfx = config->GetChild("Application")->GetChild("GfxCfg");
        xml::ForEachChild(*gfx, "Plugin", [this](const xml::CNodePtr& plugin) {
            m_Root->loadPlugin(plugin->GetAttribute("Name")->GetValue());
        });
        xml::ForEachChild(*gfx, "ResourceGroup", [](const xml::CNodePtr& group) {
            const std::string name = group->GetAttribute("Name")->GetValue();
            xml::ForEachChild(*group, "Resource", [&name](const xml::CNodePtr& resource) {
                Ogre::ResourceGroupManager::getSingleton().addResourceLocation(
                    resource->GetAttribute("Path")->GetValue(), resource->GetAttribute("Type")->GetValue(), name);
            });
        });
        Ogre::RenderSystem* gl = m_Root->getRenderSystemByName("OpenGL Rendering Subsystem");
        if (!gl)
            throw std::runtime_error("No OpenGL render system");
        gl->setConfigOption("Full Screen", "No");
        gl->setConfigOption("VSync", "No");
        m_Root->setRenderSystem(gl);
        m_Root->initialise(false);
        m_Overlays = std::make_unique<Ogre::OverlaySystem>();
        m_Window = m_Root->createRenderWindow("Zone bench", 1024, 768, false);
        m_Level = m_Root->createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME, "Level Scene Manager");
        m_Level->addRenderQueueListener(m_Overlays.get());
        m_Camera = m_Level->createCamera(wrappers::COgreGfxMgr::kRenderingCamera);
        m_Level->getRootSceneNode()
            ->createChildSceneNode(wrappers::COgreGfxMgr::kRenderingCameraNode)
            ->attachObject(m_Camera);
        Ogre::Viewport* viewport = m_Window->addViewport(m_Camera);
        m_Camera->setAspectRatio(Ogre::Real(viewport->getActualWidth()) / Ogre::Real(viewport->getActualHeight()));
        wrappers::InitialiseResources(m_Level, m_Window).reset();
    }

    ~CEngine()
    {
        m_Window->removeAllViewports();
        m_Level->removeRenderQueueListener(m_Overlays.get());
        m_Overlays.reset();
        m_Root.reset();
        delete Ogre::LogManager::getSingletonPtr();
    }

    Ogre::RenderWindow* m_Window = nullptr;
    Ogre::SceneManager* m_Level = nullptr;

private:
    std::unique_ptr<Ogre::Root> m_Root;
    std::unique_ptr<Ogre::OverlaySystem> m_Overlays;
    Ogre::Camera* m_Camera = nullptr;
};

double Seconds(std::uint64_t start)
{
    return static_cast<double>(sds::GetWallClockMs() - start) / 1000.0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Run()
{
    sds::CResourceMgr resources;
    const xml::CNodePtr config = xml::LoadXmlFile(kConfig)->GetChild("sds");
    CBenchApplication application(config);
    CEngine engine(config);
    wrappers::COgreGfxMgr graphics(engine.m_Window, engine.m_Level, &application);
    wrappers::UseOgreZoneLoader(graphics);

    const xml::CNodePtr zone = xml::LoadXmlFile(kZone)->GetChild("scene");
    const sds::CVector eye = zone->GetChild("Camera")->GetAttribute("Pos")->GetValue<sds::CVector>();
    const sds::CVector target = zone->GetChild("Target")->GetAttribute("Position")->GetValue<sds::CVector>();

    std::vector<double> loads, teardowns;
    for (int round = 0; round < kRounds; ++round) {
        std::uint64_t start = sds::GetWallClockMs();
        std::shared_ptr<sds::ILevelResourceLoader> loaded = graphics.LoadZone(zone, [](const std::string&, float) {});
        sds::ICamera* camera = graphics.GetCamera();
        camera->SetPos(eye);
        camera->LookAt(target);
        graphics.UpdateCamera(sds::CTiming());
        loaded->Update(sds::CTiming());
        loads.push_back(Seconds(start));

        start = sds::GetWallClockMs();
        loaded.reset();
        teardowns.push_back(Seconds(start));
        std::printf("round=%d load=%.3f teardown=%.3f\n", round + 1, loads.back(), teardowns.back());
    }
    std::printf("zone_first_load_seconds=%.3f\n", loads.front());
    std::printf("zone_load_seconds=%.3f\n", Median(loads));
    std::printf("zone_teardown_seconds=%.3f\n", Median(teardowns));

    CQuietLog log;
    CLevelStack level;
    level.SetDropZone(kZone);
    std::vector<double> levelLoads, levelTeardowns;
    for (int round = 0; round < kRounds; ++round) {
        std::uint64_t start = sds::GetWallClockMs();
        level.Load();
        levelLoads.push_back(Seconds(start));

        start = sds::GetWallClockMs();
        level.Unload();
        levelTeardowns.push_back(Seconds(start));
        std::printf("level round=%d load=%.3f teardown=%.3f\n", round + 1, levelLoads.back(), levelTeardowns.back());
    }
    std::printf("level_load_seconds=%.3f\n", Median(levelLoads));
    std::printf("level_teardown_seconds=%.3f\n", Median(levelTeardowns));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A window needs a display: without one, run again under a virtual screen.
    if (!std::getenv("DISPLAY") && !std::getenv("SDS_BENCH_XVFB")) {
        setenv("SDS_BENCH_XVFB", "1", 1);
        std::vector<char*> args{const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                                const_cast<char*>("-screen 0 1024x768x24"), argv[0]};
        for (int i = 1; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
        std::perror("xvfb-run");
        return 3;
    }
    try {
        return Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_zone: %s\n", e.what());
        return 3;
    }
}
