#pragma once

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlayContainer.h>
#include <OGRE/Overlay/OgreOverlayManager.h>
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
    static Ogre::ColourValue NeedleColour() { return Ogre::ColourValue(0.9f, 0.1f, 0.05f); }
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

    // The test instrument, made once: "Test/DialFace", a white round face with
    // twelve marks (the one at twelve o'clock long) on a transparent square,
    // and "Test/DialNeedle", a plain red needle. Neither is lit.
    void DefineDialTestMaterials()
    {
        Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
        if (materials.resourceExists("Test/DialFace"))
            return;
        const int size = 128;
        Ogre::Image face(Ogre::PF_BYTE_RGBA, size, size);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const float dx = x + 0.5f - size / 2.0f, dy = y + 0.5f - size / 2.0f;
                const float radius = std::sqrt(dx * dx + dy * dy);
                float angle = std::atan2(dx, -dy) * 6.0f / Ogre::Math::PI;
                const float fromMark = std::fabs(angle - std::round(angle));
                const bool top = std::round(angle) == 0.0f;
                const bool mark = fromMark < 0.08f && radius > (top ? 36.0f : 48.0f) && radius < 60.0f;
                const Ogre::ColourValue colour = radius > 62.0f ? Ogre::ColourValue(0, 0, 0, 0)
                                                 : mark          ? Ogre::ColourValue(0.1f, 0.1f, 0.1f, 1)
                                                                 : Ogre::ColourValue(0.95f, 0.95f, 0.9f, 1);
                face.setColourAt(colour, x, y, 0);
            }
        }
        Ogre::TextureManager::getSingleton().loadImage("Test/DialFace.png", "General", face);
        Ogre::MaterialPtr faceMaterial = materials.create("Test/DialFace", "General");
        Ogre::Pass* pass = faceMaterial->getTechnique(0)->getPass(0);
        pass->setLightingEnabled(false);
        pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
        pass->createTextureUnitState("Test/DialFace.png");
        Ogre::MaterialPtr needle = materials.create("Test/DialNeedle", "General");
        Ogre::Pass* needlePass = needle->getTechnique(0)->getPass(0);
        needlePass->setLightingEnabled(false);
        needlePass->setCullingMode(Ogre::CULL_NONE);
        needlePass->createTextureUnitState("White.dds")
            ->setColourOperationEx(Ogre::LBX_SOURCE1, Ogre::LBS_MANUAL, Ogre::LBS_CURRENT, NeedleColour());
    }

    // An overlay holding one text element that fills it, hidden, made once.
    void DefineTextOverlay(const std::string& overlayName, const std::string& elementName)
    {
        Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
        if (overlays.getByName(overlayName))
            return;
        Ogre::Overlay* overlay = overlays.create(overlayName);
        auto* panel = static_cast<Ogre::OverlayContainer*>(overlays.createOverlayElement("Panel", overlayName + "/Panel"));
        panel->setMetricsMode(Ogre::GMM_RELATIVE);
        panel->setDimensions(1.0f, 1.0f);
        Ogre::OverlayElement* text = overlays.createOverlayElement("TextArea", elementName);
        text->setMetricsMode(Ogre::GMM_RELATIVE);
        text->setPosition(0.05f, 0.2f);
        text->setDimensions(0.9f, 0.6f);
        text->setParameter("font_name", "DejaVuSans");
        text->setParameter("char_height", "0.6");
        text->setColour(Ogre::ColourValue(1.0f, 0.6f, 0.1f));
        panel->addChild(text);
        overlay->add2D(panel);
    }

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
        // The digital dials draw overlays into their textures.
        m_Rtt->addRenderQueueListener(m_OverlaySystem);
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
        m_Rtt->removeRenderQueueListener(m_OverlaySystem);
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
