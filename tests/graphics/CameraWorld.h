#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "FlatGround.h"
#include "core/XmlFile.h"
#include "graphics/ICamera.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "support/CapturingLogMgr.h"
#include "support/FakeApplication.h"
#include "support/OgreTestEnvironment.h"

inline sds::CVector Normalised(sds::CVector v)
{
    v.Normalize();
    return v;
}

// A graphics manager over the test window with the shipped configuration (its
// shadows left out), and its camera made on first use. The window's camera
// gets back the settings the level camera changed.
class CameraTest : public ::testing::Test
{
protected:
    CameraTest() : m_App(Config())
    {
        COgreTestEnvironment& env = COgreTestEnvironment::Get();
        m_NearClip = env.m_Camera->getNearClipDistance();
        m_FarClip = env.m_Camera->getFarClipDistance();
        m_Mgr = std::make_unique<wrappers::COgreGfxMgr>(env.m_Window, env.m_Level, &m_App);
    }
    ~CameraTest() override
    {
        m_Mgr.reset();
        COgreTestEnvironment& env = COgreTestEnvironment::Get();
        env.m_Camera->setNearClipDistance(m_NearClip);
        env.m_Camera->setFarClipDistance(m_FarClip);
        env.m_Camera->setProjectionType(Ogre::PT_PERSPECTIVE);
        env.m_Camera->setPolygonMode(Ogre::PM_SOLID);
        env.ResetLevelScene();
    }

    static xml::CNodePtr Config()
    {
        const xml::CNodePtr root = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/conf.xml")->GetChild("sds");
        const xml::CNodePtr scene = root->GetChild("Scene");
        scene->RemoveChild(scene->GetChild("Shadows"));
        return root;
    }

    sds::ICamera& Camera()
    {
        if (!m_Mgr->GetCamera())
            m_Mgr->CreateCamera();
        return *m_Mgr->GetCamera();
    }

    void Send(int code, bool on, float change = 0.0f)
    {
        sds::CInternalEvent event;
        event.Code = code;
        event.On = on ? 1 : 0;
        event.Change = change;
        Camera().OnEvent(event);
    }

    void Step(float seconds)
    {
        sds::CTiming timing;
        timing.m_Elapsed = seconds;
        m_Mgr->UpdateCamera(timing);
    }

    // The rendering camera the level camera moves.
    Ogre::Camera* Eye() const { return COgreTestEnvironment::Get().m_Camera; }
    Ogre::SceneManager* Scene() const { return COgreTestEnvironment::Get().m_Level; }

    CCapturingLogMgr m_Log;
    CFakeApplication m_App;
    std::unique_ptr<wrappers::COgreGfxMgr> m_Mgr;
    float m_NearClip = 0.0f;
    float m_FarClip = 0.0f;
};
