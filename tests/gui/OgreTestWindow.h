#pragma once

#include <memory>
#include <string>
#include <vector>

#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <Ogre.h>

#include "gui/CeguiOgreSystem.h"

// A rendering window with a small 3D scene (sky, ground, a runway and some
// buildings) and the GUI library's system on it, for tests that look at the
// GUI over the 3D view. Needs a display (Xvfb).
class COgreTestWindow
{
public:
    COgreTestWindow(unsigned width, unsigned height) : m_Width(width), m_Height(height)
    {
        m_Root = new Ogre::Root("", "", "ogre-gui-test.log");
        m_Root->loadPlugin(SDS_OGRE_PLUGIN_DIR "/RenderSystem_GL");
        m_Root->loadPlugin(SDS_OGRE_PLUGIN_DIR "/Codec_STBI");
        m_Root->setRenderSystem(m_Root->getRenderSystemByName("OpenGL Rendering Subsystem"));
        m_Root->initialise(false);
        m_Window = m_Root->createRenderWindow("GUI test", width, height, false);

        Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
        resources.addResourceLocation(SDS_RUN_DIR "/data/gui", "FileSystem", "GUI");
        resources.initialiseAllResourceGroups();

        BuildScene();
        m_Gui = std::make_unique<wrappers::CCeguiOgreSystem>(*m_Window, "GUI");
    }

    ~COgreTestWindow()
    {
        m_Gui.reset();
        m_Materials.clear();
        m_Root->destroySceneManager(m_Scene);
        delete m_Root;
    }

    CEGUI::OgreRenderer& GetRenderer() { return m_Gui->GetRenderer(); }
    Ogre::Root& GetRoot() { return *m_Root; }

    void Render()
    {
        m_Root->renderOneFrame();
        m_Root->renderOneFrame();
    }

    // The window's pixels, RGBA, row by row from the top.
    std::vector<std::uint8_t> Capture()
    {
        std::vector<std::uint8_t> pixels(m_Width * m_Height * 4);
        Ogre::PixelBox box(m_Width, m_Height, 1, Ogre::PF_BYTE_RGBA, pixels.data());
        m_Window->copyContentsToMemory(Ogre::Box(0, 0, m_Width, m_Height), box);
        return pixels;
    }

    void Save(const std::string& fileName) { m_Window->writeContentsToFile(fileName); }

private:
    Ogre::MaterialPtr MakeMaterial(const std::string& name, const Ogre::ColourValue& colour)
    {
        Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, "General");
        Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        pass->setDiffuse(colour);
        pass->setAmbient(colour * 0.6f);
        m_Materials.push_back(material);
        return material;
    }

    void AddBox(const std::string& material, const Ogre::Vector3& position, const Ogre::Vector3& size)
    {
        Ogre::Entity* box = m_Scene->createEntity(Ogre::SceneManager::PT_CUBE);
        box->setMaterialName(material);
        Ogre::SceneNode* node = m_Scene->getRootSceneNode()->createChildSceneNode(position);
        node->setScale(size / 100.0f); // the prefab cube is 100 units wide
        node->attachObject(box);
    }

    void BuildScene()
    {
        m_Scene = m_Root->createSceneManager();
        m_Scene->setAmbientLight(Ogre::ColourValue(0.5f, 0.5f, 0.5f));
        Ogre::Light* sun = m_Scene->createLight("Sun");
        sun->setType(Ogre::Light::LT_DIRECTIONAL);
        Ogre::SceneNode* sunNode = m_Scene->getRootSceneNode()->createChildSceneNode();
        sunNode->setDirection(Ogre::Vector3(-0.4f, -1.0f, -0.3f).normalisedCopy());
        sunNode->attachObject(sun);

        Ogre::Camera* camera = m_Scene->createCamera("Camera");
        camera->setNearClipDistance(0.5f);
        camera->setFarClipDistance(5000.0f);
        Ogre::SceneNode* cameraNode = m_Scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 60, 220));
        cameraNode->lookAt(Ogre::Vector3(0, 0, -200), Ogre::Node::TS_WORLD);
        cameraNode->attachObject(camera);
        Ogre::Viewport* viewport = m_Window->addViewport(camera);
        viewport->setBackgroundColour(Ogre::ColourValue(0.45f, 0.65f, 0.9f));
        camera->setAspectRatio(Ogre::Real(m_Width) / Ogre::Real(m_Height));

        MakeMaterial("Grass", Ogre::ColourValue(0.30f, 0.55f, 0.22f));
        MakeMaterial("Runway", Ogre::ColourValue(0.42f, 0.42f, 0.45f));
        MakeMaterial("Hangar", Ogre::ColourValue(0.75f, 0.72f, 0.65f));
        MakeMaterial("Roof", Ogre::ColourValue(0.65f, 0.25f, 0.20f));

        Ogre::MeshManager::getSingleton().createPlane("Ground", "General", Ogre::Plane(Ogre::Vector3::UNIT_Y, 0),
                                                      4000, 4000, 1, 1, true, 1, 1, 1, Ogre::Vector3::UNIT_Z);
        Ogre::Entity* ground = m_Scene->createEntity("Ground");
        ground->setMaterialName("Grass");
        m_Scene->getRootSceneNode()->attachObject(ground);

        AddBox("Runway", Ogre::Vector3(-60, 0.2f, -400), Ogre::Vector3(40, 0.4f, 1200));
        AddBox("Hangar", Ogre::Vector3(120, 12, -150), Ogre::Vector3(60, 24, 40));
        AddBox("Roof", Ogre::Vector3(120, 26, -150), Ogre::Vector3(64, 4, 44));
        AddBox("Hangar", Ogre::Vector3(200, 8, -260), Ogre::Vector3(40, 16, 30));
        AddBox("Roof", Ogre::Vector3(-200, 10, -320), Ogre::Vector3(50, 20, 50));
    }

    unsigned m_Width;
    unsigned m_Height;
    Ogre::Root* m_Root = nullptr;
    Ogre::RenderWindow* m_Window = nullptr;
    Ogre::SceneManager* m_Scene = nullptr;
    std::unique_ptr<wrappers::CCeguiOgreSystem> m_Gui;
    std::vector<Ogre::MaterialPtr> m_Materials;
};
