#pragma once

// The rendering engine as the program starts it, for the benchmarks that run
// over the real graphics from the run tree's bin folder: the configuration's
// plug-ins and resource groups, the GL render system, a window, the level
// scene with the rendering camera and the scene the dials draw in.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include "core/XmlFile.h"
#include "graphics/ogre/InitProgressBar.h"
#include "graphics/ogre/OgreGfxMgr.h"

// A window needs a display: without one the benchmark starts again under a
// virtual screen of its own. Returns only when it runs on a display, or with
// the exit code of a failed start.
inline int RunOnADisplay(int argc, char** argv)
{
    if (std::getenv("DISPLAY") || std::getenv("SDS_BENCH_XVFB"))
        return 0;
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

// A benchmark's whole run on a display: `run` gives the exit code; what it
// throws is reported under the benchmark's name.
template <class TRun>
int RunBenchOnADisplay(const char* name, int argc, char** argv, TRun run)
{
    if (const int failed = RunOnADisplay(argc, argv))
        return failed;
    try {
        return run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 3;
    }
}

class COgreBenchEngine
{
public:
    // `config` is the configuration's root ("sds").
    explicit COgreBenchEngine(const xml::CNodePtr& config)
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
        m_Window = m_Root->createRenderWindow("Bench", 1024, 768, false);
        const std::string factory = Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME;
        m_Level = m_Root->createSceneManager(factory, "Level Scene Manager");
        m_Rtt = m_Root->createSceneManager(factory, "RTT Scene Manager");
        m_Level->addRenderQueueListener(m_Overlays.get());
        m_Rtt->addRenderQueueListener(m_Overlays.get());
        m_Camera = m_Level->createCamera(wrappers::COgreGfxMgr::kRenderingCamera);
        m_Level->getRootSceneNode()
            ->createChildSceneNode(wrappers::COgreGfxMgr::kRenderingCameraNode)
            ->attachObject(m_Camera);
        Ogre::Viewport* viewport = m_Window->addViewport(m_Camera);
        m_Camera->setAspectRatio(Ogre::Real(viewport->getActualWidth()) / Ogre::Real(viewport->getActualHeight()));
        wrappers::InitialiseResources(m_Level, m_Window).reset();
    }

    ~COgreBenchEngine()
    {
        m_Window->removeAllViewports();
        m_Level->removeRenderQueueListener(m_Overlays.get());
        m_Rtt->removeRenderQueueListener(m_Overlays.get());
        m_Overlays.reset();
        m_Root.reset();
        delete Ogre::LogManager::getSingletonPtr();
    }

    void RenderFrame() { m_Root->renderOneFrame(); }

    Ogre::RenderWindow* m_Window = nullptr;
    Ogre::SceneManager* m_Level = nullptr;

private:
    std::unique_ptr<Ogre::Root> m_Root;
    std::unique_ptr<Ogre::OverlaySystem> m_Overlays;
    Ogre::SceneManager* m_Rtt = nullptr;
    Ogre::Camera* m_Camera = nullptr;
};
