// The self tester: a session recorded into a file plays back as the same
// events at the same times, and the end of a recording ends the program.

#include <gtest/gtest.h>

#include "AppFixture.h"
#include "app/SelfTester.h"
#include "core/XmlFile.h"
#include "support/TempDir.h"

using namespace sds;
using test::CSelfTester;

namespace {

class SelfTesterTest : public CAppFixture
{
protected:
    SelfTesterTest()
    {
        m_Connections.emplace_back(
            m_Events->ConnectDiscreteEvent([this](const CDiscreteEvent& e) { m_Heard.push_back(Describe(e)); }));
        m_Connections.emplace_back(
            m_Events->ConnectAnalogEvent([this](const CAnalogEvent& e) { m_Heard.push_back(Describe(e)); }));
    }

    CSelfTester::CClock Clock()
    {
        return [this] { return m_Now; };
    }

    static std::string Describe(const CDiscreteEvent& e)
    {
        return "key " + std::to_string(e.Type) + " " + std::to_string(e.Key) + " '" + std::string(1, e.Char) +
               "' from " + std::to_string(e.Source);
    }
    static std::string Describe(const CAnalogEvent& e)
    {
        char text[128];
        std::snprintf(text, sizeof(text), "move %d to %.3f,%.3f,%.1f by %.3f,%.3f,%.1f from %d", e.Type, e.Pos[0],
                      e.Pos[1], e.Pos[2], e.Rel[0], e.Rel[1], e.Rel[2], e.Source);
        return text;
    }

    void Key(std::int32_t type, std::int32_t key, char c, std::int32_t source = 0)
    {
        CDiscreteEvent event;
        event.Type = type;
        event.Key = key;
        event.Char = c;
        event.Source = source;
        m_Events->FireDiscreteEvent(event);
    }

    void Move(float x, float y, float dx, float dy)
    {
        CAnalogEvent event;
        event.Pos[0] = x;
        event.Pos[1] = y;
        event.Rel[0] = dx;
        event.Rel[1] = dy;
        m_Events->FireAnalogEvent(event);
    }

    void Frame(std::uint64_t milliseconds)
    {
        m_Now += milliseconds;
        CFrameEvent frame;
        frame.TimeSinceLastFrame = milliseconds / 1000.0f;
        m_Events->FireFrameEvent(frame);
    }

    // A session: a key, the pointer moved twice, a click, at known times.
    void RecordSession(const std::string& file)
    {
        CSelfTester recorder(file, Clock());
        EXPECT_TRUE(m_Log.Has("CSelfTester: Recording events"));
        m_Now += 100;
        Key(EVENT_KEY_PRESSED, 57, ' ', 3);
        Key(EVENT_KEY_RELEASED, 57, ' ', 3);
        m_Now += 400;
        Move(0.5f, 0.625f, 0.0f, 0.125f);
        m_Now += 20;
        Move(0.75f, 0.625f, 0.25f, 0.0f);
        Key(EVENT_KEY_PRESSED, MOUSE_BUTTON_KEY_BASE, ' ');
        m_Now += 80;
        Key(EVENT_KEY_RELEASED, MOUSE_BUTTON_KEY_BASE, ' ');
    }

    std::uint64_t m_Now = 5000;
    std::vector<std::string> m_Heard;
    CTempDir m_Dir;
};

} // namespace

TEST_F(SelfTesterTest, RecordingIsWrittenWhenTheTesterGoes)
{
    const std::string file = m_Dir.File("session.xml");
    RecordSession(file);
    EXPECT_TRUE(m_Log.Has("CSelfTester: Saving recorded data"));

    const xml::CNodePtr root = xml::LoadXmlFile(file)->GetChild("RecordedEvents");
    const xml::CNodePtr analog = root->GetChild("Analog");
    const xml::CNodePtr discrete = root->GetChild("Discrete");
    ASSERT_EQ(2u, analog->GetChildren().count("Event"));
    ASSERT_EQ(4u, discrete->GetChildren().count("Event"));
    const xml::CNodePtr move = analog->GetChild("Event");
    EXPECT_EQ("0.5", move->GetAttribute("Time")->GetValue());
    EXPECT_EQ("200", move->GetAttribute("Id")->GetValue());
    EXPECT_EQ("0.5,0.625,0", move->GetAttribute("Pos")->GetValue());
    EXPECT_EQ("0,0.125,0", move->GetAttribute("Rel")->GetValue());
    const xml::CNodePtr key = discrete->GetChild("Event");
    EXPECT_EQ("0.1", key->GetAttribute("Time")->GetValue());
    EXPECT_EQ("100", key->GetAttribute("Id")->GetValue());
    EXPECT_EQ("57", key->GetAttribute("Key")->GetValue());
    EXPECT_EQ("32", key->GetAttribute("Char")->GetValue());
    EXPECT_EQ("3", key->GetAttribute("Source")->GetValue());
}

TEST_F(SelfTesterTest, PlaybackFiresTheRecordedEventsWhenTheyAreDue)
{
    const std::string file = m_Dir.File("session.xml");
    RecordSession(file);
    const std::vector<std::string> recorded = m_Heard;
    m_Heard.clear();

    CSelfTester player(xml::LoadXmlFile(file), Clock());
    EXPECT_TRUE(m_Log.Has("CSelfTester: Playing events"));
    Frame(50);
    EXPECT_TRUE(m_Heard.empty()) << "nothing is due yet";
    Frame(60);
    EXPECT_EQ(2u, m_Heard.size()) << "the key's press and release";
    Frame(400);
    EXPECT_EQ(3u, m_Heard.size()) << "the first move";
    Frame(100);
    EXPECT_EQ(recorded, m_Heard);
    EXPECT_FALSE(m_App.m_QuitCalled);
}

TEST_F(SelfTesterTest, EventsDueInOneFrameFirePointerMovesFirst)
{
    CSelfTester player(ParseElement("<RecordedEvents>"
                                    "<Analog><Event Time=\"0.2\" Source=\"0\" Id=\"200\" Pos=\"0.5,0.5,0\" "
                                    "Rel=\"0.1,0,0\"/></Analog>"
                                    "<Discrete><Event Time=\"0.1\" Source=\"0\" Id=\"101\" Key=\"3840\" "
                                    "Char=\"32\"/></Discrete></RecordedEvents>"),
                       Clock());
    Frame(300);
    ASSERT_EQ(2u, m_Heard.size());
    EXPECT_EQ(0u, m_Heard[0].find("move 200")) << m_Heard[0];
    EXPECT_EQ("key 101 3840 ' ' from 0", m_Heard[1]);
}

TEST_F(SelfTesterTest, TheEndOfARecordingEndsTheProgramOnTheThirdIdleFrame)
{
    CSelfTester player(ParseElement("<RecordedEvents><Analog/><Discrete/></RecordedEvents>"), Clock());
    Frame(16);
    EXPECT_TRUE(m_Log.Has("CSelfTester: All events are played"));
    Frame(16);
    EXPECT_FALSE(m_App.m_QuitCalled);
    Frame(16);
    EXPECT_TRUE(m_App.m_QuitCalled);
    EXPECT_TRUE(m_Log.Has("CSelfTester: No more events to play, ending the program"));
}

TEST_F(SelfTesterTest, ARecordingWithoutItsPartsIsRefused)
{
    for (const char* text : {"<RecordedEvents><Analog/></RecordedEvents>",
                             "<RecordedEvents><Discrete/></RecordedEvents>", "<Recorded/>",
                             "<RecordedEvents><Analog/><Discrete><Event Time=\"1\"/></Discrete></RecordedEvents>"})
        EXPECT_ANY_THROW(CSelfTester player(ParseElement(text), Clock())) << text;
}
