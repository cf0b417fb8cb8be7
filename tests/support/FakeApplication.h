#pragma once

#include "core/services/IApplication.h"

// An application service for tests: holds a configuration and a settings tree.
class CFakeApplication : public sds::IApplication
{
public:
    explicit CFakeApplication(const xml::CNodePtr& config = xml::CNodePtr(new xml::CNode("sds", false)),
                              const xml::CNodePtr& settings = xml::CNodePtr(new xml::CNode("Settings", false)))
        : m_Config(config), m_Settings(settings)
    {
    }

    xml::CNodePtr& GetConfig() override { return m_Config; }
    xml::CNodePtr& GetSettings() override { return m_Settings; }
    void Run() override {}
    void Quit() override { m_QuitCalled = true; }
    void Restart() override
    {
        m_RestartCalled = true;
        Quit();
    }
    void SetIcon(int iconId) override { m_Icon = iconId; }
    void SetFullscreen(bool fullScreen, unsigned width, unsigned height) override
    {
        m_FullScreen = fullScreen;
        m_Width = width;
        m_Height = height;
    }
    unsigned GetWindowWidth() const override { return m_Width; }
    unsigned GetWindowHeight() const override { return m_Height; }
    bool IsFullScreen() const override { return m_FullScreen; }
    void UpdateWindow() override { ++m_WindowUpdates; }
    void SkipDrawing() override { ++m_SkippedDrawings; }
    void SetMouseGrab(bool grab) override { m_MouseGrabbed = grab; }

    xml::CNodePtr m_Config;
    xml::CNodePtr m_Settings;
    bool m_QuitCalled = false;
    bool m_RestartCalled = false;
    bool m_FullScreen = false;
    unsigned m_Width = 1024;
    unsigned m_Height = 768;
    int m_Icon = 0;
    int m_WindowUpdates = 0;
    int m_SkippedDrawings = 0;
    bool m_MouseGrabbed = false;
};
