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
#include "graphics/ICamera.h"
#include "graphics/OgreWorld.h"
#include "scene/ogre/OgreZoneLoader.h"
#include "support/CapturingLogMgr.h"

// The graphics manager over the shared test window with drop-zone loading
// installed, the resource service and a log; the configuration has the
// shipped "Scene" keys. The camera's near plane is a metre while it lives.
class CZoneWorld
{
public:
    typedef std::vector<std::pair<std::string, float>> CProgress;

    CZoneWorld()
    {
        m_World.App().m_Config->GetChild("Scene")->AddAttribute("SurfaceObjects", "1");
        // The zone makes the level's camera from the shipped configuration.
        m_World.App().m_Config->AddChild(xml::CNode::Clone(
            xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds")->GetChild("Camera"), m_World.App().m_Config.get()));
        wrappers::UseOgreZoneLoader(m_World.Ogre());
        Camera()->setNearClipDistance(1.0f);
    }
    ~CZoneWorld()
    {
        m_World.Ogre().DestroyCamera();
        Camera()->setNearClipDistance(0.1f);
    }

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

    // Loads the zone through the graphics manager, recording its progress;
    // then the level's camera goes where LookFrom last put the eye, and the
    // zone pages around it.
    std::shared_ptr<sds::ILevelResourceLoader> Load(const xml::CNodePtr& zone)
    {
        m_Progress.clear();
        auto loader = Mgr().LoadZone(zone, [this](const std::string& text, float fraction) {
            m_Progress.emplace_back(text, fraction);
        });
        LookFrom(m_Eye, m_At);
        loader->Update(sds::CTiming());
        return loader;
    }

    // Puts the level's camera, or the window's camera while there is none, at
    // `eye`, looking at `at`.
    void LookFrom(const Ogre::Vector3& eye, const Ogre::Vector3& at)
    {
        m_Eye = eye;
        m_At = at;
        if (sds::ICamera* camera = Mgr().GetCamera()) {
            camera->SetNearClipDistance(1.0f);
            camera->SetPos(sds::CVector(eye.x, eye.y, eye.z));
            camera->LookAt(sds::CVector(at.x, at.y, at.z));
            Mgr().UpdateCamera(sds::CTiming());
            return;
        }
        Ogre::SceneNode* node = Camera()->getParentSceneNode();
        if (!node) {
            // A zone's teardown resets the scene, camera node and all.
            node = Camera()->getSceneManager()->getRootSceneNode()->createChildSceneNode("DefaultCameraNode");
            node->attachObject(Camera());
        }
        node->setPosition(eye);
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
    Ogre::Vector3 m_Eye = HomeFieldCamera();
    Ogre::Vector3 m_At = HomeFieldTarget();
    sds::CResourceMgr m_Resources;
    COgreWorld m_World;
};
