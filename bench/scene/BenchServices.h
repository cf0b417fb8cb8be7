#pragma once

// The services the drop-zone benchmarks run the level under: the
// configuration without user settings, the rendering engine with the zone
// loader, and a log kept nowhere.

#include <string>

#include "core/ILogMgr.h"
#include "core/Node.h"
#include "core/ResourceMgr.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "scene/ogre/OgreZoneLoader.h"
#include "support/OgreBenchEngine.h"

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
    void SkipDrawing() override {}
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

// The configuration `configFile` holds, the rendering engine's window and the
// graphics manager over it, loading drop zones as the program does.
struct CZoneBenchGraphics
{
    explicit CZoneBenchGraphics(const std::string& configFile)
        : m_Config(xml::LoadXmlFile(configFile)->GetChild("sds")), m_Application(m_Config), m_Engine(m_Config),
          m_Graphics(m_Engine.m_Window, m_Engine.m_Level, &m_Application)
    {
        wrappers::UseOgreZoneLoader(m_Graphics);
    }

    sds::CResourceMgr m_Resources;
    xml::CNodePtr m_Config;
    CBenchApplication m_Application;
    COgreBenchEngine m_Engine;
    wrappers::COgreGfxMgr m_Graphics;
};
