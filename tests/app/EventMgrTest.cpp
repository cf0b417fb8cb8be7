#include <gtest/gtest.h>

#include <boost/signals2/shared_connection_block.hpp>

#include "AppFixture.h"

using namespace sds;

namespace {

CInternalEvent Named(std::int32_t code, bool on = true)
{
    CInternalEvent event;
    event.Code = code;
    event.On = on ? 1 : 0;
    return event;
}

} // namespace

TEST(EventMgrLifecycle, LogsAndPublishesItself)
{
    CCapturingLogMgr log;
    CFakeApplication app(MakeConfig());
    {
        CTestEventMgr events;
        EXPECT_EQ(&events, IEventMgr::GetSingleton());
        EXPECT_EQ(std::vector<std::string>{"Event Manager is created"}, log.m_Lines);
    }
    EXPECT_EQ(nullptr, IEventMgr::GetSingleton());
    EXPECT_EQ("Event Manager is destroyed", log.m_Lines.back());
}

TEST(EventMgrLifecycle, MouseDevicesComeFromTheConfiguration)
{
    CCapturingLogMgr log;
    CFakeApplication app(ParseElement("<sds><Devices Type=\"Keyboard\"/><Devices Type=\"Mouse\">"
                                      "<Device Id=\"4\">left_spc_hand</Device><Device Id=\"9\"></Device>"
                                      "</Devices></sds>"));
    CTestEventMgr events;
    // Name tokens are turned back into their characters.
    EXPECT_EQ(4, events.GetEventCode("Mouse", "left hand"));
    // A new name gets the count of names already under its type.
    EXPECT_EQ(1, events.GetEventCode("Mouse", "trackball"));
    EXPECT_EQ(1, events.GetEventCode("Mouse", "trackball"));
    EXPECT_EQ(0, events.GetEventCode("Joystick", "stick"));
    EXPECT_EQ(1, events.GetEventCode("Joystick", "pedals"));
    EXPECT_EQ(0, events.GetEventCode("Joystick", "stick"));
}

TEST(EventMgrLifecycle, BrokenDeviceConfigurationThrows)
{
    CCapturingLogMgr log;
    for (const char* config : {"<sds/>", "<sds><Devices Type=\"Mouse\"><Device>m</Device></Devices></sds>"}) {
        CFakeApplication app(ParseElement(config));
        EXPECT_THROW(CTestEventMgr(), xml::CNoNodeException) << config;
    }
}

class EventMgr : public CAppFixture
{
};

TEST_F(EventMgr, InternalEventsReachTheListThenTheirCode)
{
    std::vector<std::string> calls;
    auto all = m_Events->ConnectInternalEvent([&](const CInternalEvent& e) { calls.push_back("all" + std::to_string(e.Code)); });
    auto code = m_Events->ConnectEvent(27, [&](const CInternalEvent& e) { calls.push_back("27:" + std::to_string(e.On)); });
    auto analog = m_Events->ConnectAnalogInternalEvent([&](const CInternalEvent& e) { calls.push_back("analog"); });
    auto second = m_Events->ConnectEvent(27, [&](const CInternalEvent&) { calls.push_back("27 second"); });

    m_Events->FireInternalEvent(Named(27, false));
    EXPECT_EQ((std::vector<std::string>{"all27", "27:0", "27 second"}), calls);

    calls.clear();
    m_Events->FireAnalogInternalEvent(Named(27));
    EXPECT_EQ((std::vector<std::string>{"analog", "27:1", "27 second"}), calls);

    // Nobody listens to code 28.
    calls.clear();
    m_Events->FireEvent(Named(28));
    EXPECT_TRUE(calls.empty());
}

TEST_F(EventMgr, GUIEventsReachAnyWindowThenTheirWindow)
{
    std::vector<std::string> calls;
    auto any = m_Events->ConnectAnyGUIEvent([&](const CGUIEvent& e) { calls.push_back("any " + e.Window); });
    auto ok = m_Events->ConnectGUIEvent(CGUIEvent("wndMenu/btnOk"),
                                        [&](const CGUIEvent& e) { calls.push_back("ok " + std::to_string(e.Type)); });

    m_Events->FireGUIEvent(CGUIEvent("wndMenu/btnOk", EVENT_GUI, 1.5f));
    m_Events->FireGUIEvent(CGUIEvent("wndMenu/btnCancel"));
    EXPECT_EQ((std::vector<std::string>{"any wndMenu/btnOk", "ok 102", "any wndMenu/btnCancel"}), calls);
}

TEST_F(EventMgr, RawAndFrameEventsReachTheirLists)
{
    int discrete = 0, analog = 0;
    float frameTime = 0.0f;
    auto d = m_Events->ConnectDiscreteEvent([&](const CDiscreteEvent& e) { discrete += e.Key; });
    auto a = m_Events->ConnectAnalogEvent([&](const CAnalogEvent& e) { analog += e.Source + 1; });
    auto f = m_Events->ConnectFrameEvent([&](const CFrameEvent& e) { frameTime += e.TimeSinceLastFrame; });

    CDiscreteEvent key;
    key.Key = 57;
    m_Events->FireDiscreteEvent(key);
    m_Events->FireAnalogEvent(CAnalogEvent());
    CFrameEvent frame;
    frame.TimeSinceLastFrame = 0.25f;
    m_Events->FireFrameEvent(frame);
    EXPECT_EQ(57, discrete);
    EXPECT_EQ(1, analog);
    EXPECT_EQ(0.25f, frameTime);
}

TEST_F(EventMgr, BlockedAndDisconnectedHandlersAreSkipped)
{
    int calls = 0;
    boost::signals2::connection connection = m_Events->ConnectEvent(99, [&](const CInternalEvent&) { ++calls; });
    {
        boost::signals2::shared_connection_block block(connection);
        m_Events->FireInternalEvent(Named(99));
        EXPECT_EQ(0, calls);
    }
    m_Events->FireInternalEvent(Named(99));
    EXPECT_EQ(1, calls);

    connection.disconnect();
    m_Events->FireInternalEvent(Named(99));
    EXPECT_EQ(1, calls);
    // A list emptied again stays and takes new handlers.
    auto again = m_Events->ConnectEvent(99, [&](const CInternalEvent&) { calls += 10; });
    m_Events->FireEvent(Named(99));
    EXPECT_EQ(11, calls);
}

TEST_F(EventMgr, HandlerExceptionStopsTheFireAndReachesTheCaller)
{
    bool laterRan = false;
    auto failing = m_Events->ConnectEvent(5, [](const CInternalEvent&) { throw std::runtime_error("broken"); });
    auto later = m_Events->ConnectEvent(5, [&](const CInternalEvent&) { laterRan = true; });
    EXPECT_THROW(m_Events->FireEvent(Named(5)), std::runtime_error);
    EXPECT_FALSE(laterRan);
}

TEST_F(EventMgr, HandlersMaySubscribeAndUnsubscribeWhileFiring)
{
    std::vector<boost::signals2::scoped_connection> added;
    int newCode = 0;
    boost::signals2::connection self;
    self = m_Events->ConnectEvent(1, [&](const CInternalEvent&) {
        // Lists created meanwhile must not disturb the running one.
        for (int code = 200; code < 300; ++code)
            added.emplace_back(m_Events->ConnectEvent(code, [&](const CInternalEvent&) { ++newCode; }));
        self.disconnect();
    });
    m_Events->FireEvent(Named(1));
    m_Events->FireEvent(Named(1));
    m_Events->FireEvent(Named(250));
    EXPECT_EQ(100u, added.size());
    EXPECT_EQ(1, newCode);
}
