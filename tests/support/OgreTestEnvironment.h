#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include "core/XmlFile.h"
#include "graphics/ILoadingProgressBar.h"
#include "graphics/ogre/InitProgressBar.h"

// The rendering engine on a real GL window, started once per test binary and
// shut down when the binary's tests end: root with the GL render system and
// the image codec, the overlay system, the level and render-to-texture scene
// managers, a default camera with a black viewport, and the resource groups
// the run tree's configuration names, initialised as the program does.
// Tests that use it run under Xvfb (DISPLAY in sds_add_test).
class COgreTestEnvironment : public ::testing::Environment
{
public:
    static const unsigned kWidth = 640;
    static const unsigned kHeight = 480;

    static COgreTestEnvironment& Get()
    {
        static COgreTestEnvironment* instance = nullptr;
        if (!instance) {
            instance = new COgreTestEnvironment();
            // gtest owns it from here and tears it down after the last test.
            ::testing::AddGlobalTestEnvironment(instance);
            instance->Start();
        }
        return *instance;
    }

    void TearDown() override { Shutdown(); }

    // Empties the level scene (keeping the camera where it was) and drops the
    // meshes nothing uses, so that the next test can use the same names.
    void ResetLevelScene()
    {
        // A scene reset by the code under test may have taken the camera's node already.
        const Ogre::SceneNode* eye = m_Camera->getParentSceneNode();
        const Ogre::Vector3 position = eye ? eye->getPosition() : Ogre::Vector3::ZERO;
        const Ogre::Quaternion orientation = eye ? eye->getOrientation() : Ogre::Quaternion::IDENTITY;
        m_Level->clearScene();
        m_Level->clearSpecialCaseRenderQueues();
        m_Level->setSpecialCaseRenderQueueMode(Ogre::SceneManager::SCRQM_EXCLUDE);
        Ogre::SceneNode* cameraNode = m_Level->getRootSceneNode()->createChildSceneNode("DefaultCameraNode");
        cameraNode->setPosition(position);
        cameraNode->setOrientation(orientation);
        cameraNode->attachObject(m_Camera);
        Ogre::MeshManager::getSingleton().removeUnreferencedResources();
    }

    // Renders one frame of the window.
    void RenderFrame() { m_Root->renderOneFrame(); }

    Ogre::Root* m_Root = nullptr;
    Ogre::OverlaySystem* m_OverlaySystem = nullptr;
    Ogre::RenderWindow* m_Window = nullptr;
    Ogre::SceneManager* m_Level = nullptr;
    Ogre::SceneManager* m_Rtt = nullptr;
    Ogre::Camera* m_Camera = nullptr;

private:
    COgreTestEnvironment() = default;

    void Start()
    {
        // SDS_OGRE_LOG names another log file, for a test run in a process of its own.
        const char* logFile = std::getenv("SDS_OGRE_LOG");
        auto* logs = new Ogre::LogManager();
        logs->createLog(logFile ? logFile : "Ogre.log", true, false, false);
        m_Root = new Ogre::Root("", "", "");
        m_Root->loadPlugin(std::string(SDS_OGRE_PLUGIN_DIR) + "/RenderSystem_GL");
        m_Root->loadPlugin(std::string(SDS_OGRE_PLUGIN_DIR) + "/Codec_STBI");
        m_Root->loadPlugin(std::string(SDS_OGRE_PLUGIN_DIR) + "/Plugin_ParticleFX");
        Ogre::RenderSystem* gl = m_Root->getRenderSystemByName("OpenGL Rendering Subsystem");
        gl->setConfigOption("Full Screen", "No");
        gl->setConfigOption("VSync", "No");
        m_Root->setRenderSystem(gl);
        m_Root->initialise(false);
        // Scripts of the overlay system must be known before any group is initialised.
        m_OverlaySystem = new Ogre::OverlaySystem();
        Ogre::NameValuePairList options;
        options["FSAA"] = "0";
        m_Window = m_Root->createRenderWindow("Dravonkel test", kWidth, kHeight, false, &options);
        m_Level = m_Root->createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME, "Level Scene Manager");
        m_Rtt = m_Root->createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME, "RTT Scene Manager");
        m_Level->addRenderQueueListener(m_OverlaySystem);
        m_Camera = m_Level->createCamera("DefaultCamera");
        m_Camera->setNearClipDistance(0.1f);
        Ogre::SceneNode* cameraNode = m_Level->getRootSceneNode()->createChildSceneNode("DefaultCameraNode");
        cameraNode->attachObject(m_Camera);
        Ogre::Viewport* viewport = m_Window->addViewport(m_Camera);
        viewport->setBackgroundColour(Ogre::ColourValue(0, 0, 0, 1));
        m_Camera->setAspectRatio(Ogre::Real(viewport->getActualWidth()) / Ogre::Real(viewport->getActualHeight()));

        AddResourceLocations("../conf/conf.xml");
        // Meshes made for the tests only.
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation("../data/gfx/test", "FileSystem", "General");
        m_StartupBar = wrappers::InitialiseResources(m_Level, m_Window);
        m_StartupBar.reset();
    }

    // The "ResourceGroup" entries of "Application"/"GfxCfg", as the application reads them.
    static void AddResourceLocations(const std::string& configFile)
    {
        const xml::CNodePtr gfx =
            xml::LoadXmlFile(configFile)->GetChild("sds")->GetChild("Application")->GetChild("GfxCfg");
        for (auto group = gfx->GetChildrenBegin("ResourceGroup"); group != gfx->GetChildrenEnd("ResourceGroup"); ++group) {
            const std::string name = group->second->GetAttribute("Name")->GetValue();
            if (!group->second->HasChild("Resource"))
                continue;
            for (auto resource = group->second->GetChildrenBegin("Resource");
                 resource != group->second->GetChildrenEnd("Resource"); ++resource)
                Ogre::ResourceGroupManager::getSingleton().addResourceLocation(
                    resource->second->GetAttribute("Path")->GetValue(), resource->second->GetAttribute("Type")->GetValue(),
                    name);
        }
    }

    // Overlays go before the root; every resource handle before the root.
    void Shutdown()
    {
        if (!m_Root)
            return;
        m_StartupBar.reset();
        m_Window->removeAllViewports();
        m_Level->removeRenderQueueListener(m_OverlaySystem);
        m_Level->destroyCamera(m_Camera);
        m_Root->destroySceneManager(m_Level);
        m_Root->destroySceneManager(m_Rtt);
        delete m_OverlaySystem;
        m_OverlaySystem = nullptr;
        delete m_Root;
        m_Root = nullptr;
        delete Ogre::LogManager::getSingletonPtr();
    }

    std::shared_ptr<sds::ILoadingProgressBar> m_StartupBar;
};
