#pragma once

#include <memory>

#include "graphics/ogre/OgreGfxMgr.h"
#include "support/FakeApplication.h"
#include "support/OgreTestEnvironment.h"

// A graphics manager over the shared test window; the scene is emptied after
// each test so that names can be used again.
class COgreWorld
{
public:
    COgreWorld()
    {
        COgreTestEnvironment& env = COgreTestEnvironment::Get();
        m_App.m_Config->AddChild("Scene")->AddAttribute("AmbientColor", "0.5, 0.5, 0.5");
        env.DefineDialTestMaterials();
        m_Mgr.reset(new wrappers::COgreGfxMgr(env.m_Window, env.m_Level, &m_App));
    }
    ~COgreWorld()
    {
        m_Mgr.reset();
        COgreTestEnvironment::Get().ResetLevelScene();
    }

    sds::IGfxMgr& Mgr() { return *m_Mgr; }
    wrappers::COgreGfxMgr& Ogre() { return *m_Mgr; }
    CFakeApplication& App() { return m_App; }
    static const char* Name() { return "Ogre"; }
    void DefineTextOverlay(const std::string& overlay, const std::string& element)
    {
        COgreTestEnvironment::Get().DefineTextOverlay(overlay, element);
    }
    void ResetScene() { m_Mgr->ResetScene(); }

private:
    CFakeApplication m_App;
    std::unique_ptr<wrappers::COgreGfxMgr> m_Mgr;
};
