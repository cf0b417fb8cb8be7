#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/EventMgr.h"
#include "core/XmlFile.h"
#include "support/CapturingLogMgr.h"
#include "support/FakeApplication.h"
#include "support/MessageCapture.h"

// The real event manager, with the device queries a frame listener would add.
class CTestEventMgr : public sds::CEventMgr
{
public:
    bool IsKeyDown(std::int32_t) const override { return false; }
    sds::CVector GetMousePosition() const override { return m_MousePosition; }

    // Where the pointer is (x and y from 0 to 1 across the window, z the wheel).
    sds::CVector m_MousePosition;
};

// The document element of XML text.
inline xml::CNodePtr ParseElement(const std::string& text, const std::string& name = "test.xml")
{
    CMessageCapture quiet;
    const xml::CNodePtr root = xml::LoadXmlFromMemory(text, name);
    return root->GetChildren().begin()->second;
}

// A configuration with the mouse devices the event manager needs.
inline xml::CNodePtr MakeConfig(const std::string& extra = "")
{
    return ParseElement("<sds><Devices Type=\"Mouse\"><Device Id=\"0\"></Device></Devices>"
                        "<Jumper><Constant Name=\"SwitchDelay\" Value=\"0.4\"/></Jumper>" +
                        extra + "</sds>");
}

// Log, application and event manager, created and released in program order.
class CAppFixture : public ::testing::Test
{
protected:
    CAppFixture() : m_App(MakeConfig()) { m_Events.reset(new CTestEventMgr); }

    // Collects the named events the bindings and mods fire.
    void RecordNamedEvents()
    {
        m_Connections.emplace_back(m_Events->ConnectInternalEvent(
            [this](const sds::CInternalEvent& e) { m_Discrete.push_back(e); }));
        m_Connections.emplace_back(m_Events->ConnectAnalogInternalEvent(
            [this](const sds::CInternalEvent& e) { m_Analog.push_back(e); }));
    }

    std::vector<std::string> Warnings() const
    {
        std::vector<std::string> warnings;
        for (const std::string& line : m_Log.m_Lines)
            if (line.compare(0, 9, "Warning: ") == 0)
                warnings.push_back(line);
        return warnings;
    }

    CCapturingLogMgr m_Log;
    CFakeApplication m_App;
    std::unique_ptr<CTestEventMgr> m_Events;
    std::vector<boost::signals2::scoped_connection> m_Connections;
    std::vector<sds::CInternalEvent> m_Discrete;
    std::vector<sds::CInternalEvent> m_Analog;
};
