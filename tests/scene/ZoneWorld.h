#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <boost/filesystem.hpp>
#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneNode.h>

#include "core/ResourceMgr.h"
#include "core/XmlFile.h"
#include "dzgen/HomeField.h"
#include "graphics/OgreWorld.h"
#include "scene/ogre/DotScene.h"
#include "scene/ogre/OgreZoneLoader.h"
#include "scene/ogre/SurfaceObjectSet.h"
#include "support/CapturingLogMgr.h"

// The graphics manager over the shared test window with drop-zone loading
// installed, the resource service and a log; the configuration has the
// shipped "Scene" and "Camera" keys. The camera's near plane is a metre while
// it lives.
class CZoneWorld
{
public:
    typedef std::vector<std::pair<std::string, float>> CProgress;

    CZoneWorld()
    {
        m_World.App().m_Config->GetChild("Scene")->AddAttribute("SurfaceObjects", "1");
        // A loaded zone makes its camera from the shipped camera settings.
        const xml::CNodePtr shipped = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
        xml::CNode::Clone(shipped->GetChild("Camera"), m_World.App().m_Config.get());
        wrappers::UseOgreZoneLoader(m_World.Ogre());
        Camera()->setNearClipDistance(1.0f);
    }
    ~CZoneWorld() { Camera()->setNearClipDistance(0.1f); }

    sds::IGfxMgr& Mgr() { return m_World.Mgr(); }
    wrappers::COgreGfxMgr& Ogre() { return m_World.Ogre(); }
    CFakeApplication& App() { return m_World.App(); }
    Ogre::SceneManager* Scene() { return COgreTestEnvironment::Get().m_Level; }
    static Ogre::Camera* Camera() { return COgreTestEnvironment::Get().m_Camera; }

    // The "scene" element of the default drop zone as the build wrote it.
    static xml::CNodePtr HomeField()
    {
        return xml::LoadXmlFile("../data/Skorvel/HomeField.dz")->GetChild("scene");
    }

    // Loads the zone through the graphics manager, recording its progress.
    // Loading makes the level's camera afresh, which moves the rendering
    // camera: it goes back to the last view and the pagers page around it.
    std::shared_ptr<sds::ILevelResourceLoader> Load(const xml::CNodePtr& zone)
    {
        m_Progress.clear();
        std::shared_ptr<sds::ILevelResourceLoader> loader = Mgr().LoadZone(
            zone, [this](const std::string& text, float fraction) { m_Progress.emplace_back(text, fraction); });
        LookFrom(View().first, View().second);
        if (auto* ogre = dynamic_cast<wrappers::COgreZoneLoader*>(loader.get()); ogre && ogre->GetScene()) {
            if (ogre->GetScene()->GetTerrainPager())
                ogre->GetScene()->GetTerrainPager()->update();
            for (const auto& set : ogre->GetScene()->GetSurfaceObjects())
                set->m_Pager->update();
        }
        return loader;
    }

    // Puts the rendering camera at `eye`, looking at `at`.
    static void LookFrom(const Ogre::Vector3& eye, const Ogre::Vector3& at)
    {
        View() = std::make_pair(eye, at);
        Ogre::SceneNode* node = Camera()->getParentSceneNode();
        if (!node) {
            // A zone's teardown resets the scene, camera node and all.
            node = Camera()->getSceneManager()->getRootSceneNode()->createChildSceneNode("DefaultCameraNode");
            node->attachObject(Camera());
        }
        // The level's camera hangs it under nodes of its own.
        Ogre::Node* parent = node->getParent();
        node->setPosition(parent ? parent->convertWorldToLocalPosition(eye) : eye);
        node->setFixedYawAxis(true);
        node->lookAt(at, Ogre::Node::TS_WORLD);
    }

    // The zone's own camera position and its target, from the layout.
    static Ogre::Vector3 HomeFieldCamera()
    {
        return Ogre::Vector3(dzgen::CHomeField::kCameraPos[0], dzgen::CHomeField::kCameraPos[1],
                             dzgen::CHomeField::kCameraPos[2]);
    }
    static Ogre::Vector3 HomeFieldTarget()
    {
        const dzgen::CPoint& t = dzgen::CHomeField::kTarget;
        return Ogre::Vector3(t.x, dzgen::CHomeField::Height(t.x, t.z), t.z);
    }

    // The last view asked for.
    static std::pair<Ogre::Vector3, Ogre::Vector3>& View()
    {
        static std::pair<Ogre::Vector3, Ogre::Vector3> view(Ogre::Vector3(0, 10, 50), Ogre::Vector3::ZERO);
        return view;
    }

    // The folder of the pictures kept for a look.
    static std::string ArtifactFolder()
    {
        const std::string folder = std::string(SDS_TEST_ARTIFACT_DIR) + "/scene";
        boost::filesystem::create_directories(folder);
        return folder;
    }

    CCapturingLogMgr m_Log;
    CProgress m_Progress;

private:
    sds::CResourceMgr m_Resources;
    COgreWorld m_World;
};
