#include "app/SelfTester.h"

#include "core/Helpers.h"
#include "core/ILogMgr.h"
#include "core/WallClock.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"
#include "core/services/IEventMgr.h"

namespace sds {
namespace test {

namespace {

const char* const ROOT_NAME = "RecordedEvents";
const char* const EVENT_NAME = "Event";
// The program ends on the frame that finds nothing to play for the third time.
const unsigned IDLE_FRAMES_BEFORE_END = 3;

CVector ToVector(const float (&v)[3])
{
    return CVector(v[0], v[1], v[2]);
}

void FromVector(const CVector& v, float (&out)[3])
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

void Write(xml::CNode& node, const CSelfTester::CEventInOutAnalog& item)
{
    node.AddAttribute("Time", ToString(item.m_Time));
    node.AddAttribute("Source", ToString(item.m_Event.Source));
    node.AddAttribute("Id", ToString(item.m_Event.Type));
    node.AddAttribute("Pos", ToVector(item.m_Event.Pos));
    node.AddAttribute("Rel", ToVector(item.m_Event.Rel));
}

void Write(xml::CNode& node, const CSelfTester::CEventInOutDiscrete& item)
{
    node.AddAttribute("Time", ToString(item.m_Time));
    node.AddAttribute("Source", ToString(item.m_Event.Source));
    node.AddAttribute("Id", ToString(item.m_Event.Type));
    node.AddAttribute("Key", ToString(item.m_Event.Key));
    node.AddAttribute("Char", ToString(static_cast<int>(static_cast<unsigned char>(item.m_Event.Char))));
}

template <class T>
T Attribute(const xml::CNode& node, const char* name)
{
    return node.GetAttribute(name)->GetValue<T>();
}

void Read(const xml::CNode& node, CSelfTester::CEventInOutAnalog& item)
{
    item.m_Time = Attribute<float>(node, "Time");
    item.m_Event.Source = Attribute<int>(node, "Source");
    item.m_Event.Type = Attribute<int>(node, "Id");
    FromVector(Attribute<CVector>(node, "Pos"), item.m_Event.Pos);
    FromVector(Attribute<CVector>(node, "Rel"), item.m_Event.Rel);
}

void Read(const xml::CNode& node, CSelfTester::CEventInOutDiscrete& item)
{
    item.m_Time = Attribute<float>(node, "Time");
    item.m_Event.Source = Attribute<int>(node, "Source");
    item.m_Event.Type = Attribute<int>(node, "Id");
    item.m_Event.Key = Attribute<int>(node, "Key");
    item.m_Event.Char = static_cast<char>(Attribute<int>(node, "Char"));
}

template <class T>
void WriteRecorder(xml::CNode& root, const CEventRecorderTmpl<T>& recorder)
{
    const xml::CNodePtr parent = root.AddChild(recorder.GetName());
    // Elements of one name keep the order they were added in.
    for (const T& item : recorder.m_Events)
        Write(*parent->AddChild(EVENT_NAME), item);
}

template <class T>
void ReadRecorder(const xml::CNode& root, CEventRecorderTmpl<T>& recorder)
{
    xml::ForEachChild(*root.GetChild(recorder.GetName()), EVENT_NAME, [&recorder](const xml::CNodePtr& event) {
        T item;
        Read(*event, item);
        recorder.m_Events.push_back(item);
    });
}

} // namespace

CSelfTester::CSelfTester(const std::string& fileName, const CClock& clock)
    : m_Clock(clock ? clock : CClock(GetWallClockMs)), m_Start(m_Clock()), m_Analog("Analog"),
      m_Discrete("Discrete"), m_FileName(fileName), m_Playing(false), m_IdleFrames(0)
{
    IEventMgr* events = IEventMgr::GetSingleton();
    m_DiscreteConnection = events->ConnectDiscreteEvent([this](const CDiscreteEvent& e) { OnDiscrete(e); });
    m_AnalogConnection = events->ConnectAnalogEvent([this](const CAnalogEvent& e) { OnAnalog(e); });
    ILogMgr::GetSingleton()->LogMessage("CSelfTester: Recording events");
}

CSelfTester::CSelfTester(const xml::CNodePtr& recording, const CClock& clock)
    : m_Clock(clock ? clock : CClock(GetWallClockMs)), m_Start(0), m_Analog("Analog"), m_Discrete("Discrete"),
      m_Playing(true), m_IdleFrames(0)
{
    const xml::CNodePtr root = recording->GetName() == ROOT_NAME ? recording : recording->GetChild(ROOT_NAME);
    ReadRecorder(*root, m_Analog);
    ReadRecorder(*root, m_Discrete);
    m_FrameConnection = IEventMgr::GetSingleton()->ConnectFrameEvent([this](const CFrameEvent& e) { OnFrame(e); });
    ILogMgr::GetSingleton()->LogMessage("CSelfTester: Playing events");
    m_Start = m_Clock();
}

CSelfTester::~CSelfTester()
{
    m_DiscreteConnection.disconnect();
    m_AnalogConnection.disconnect();
    m_FrameConnection.disconnect();
    if (!m_FileName.empty())
        Save();
}

xml::CNodePtr CSelfTester::ToXml() const
{
    const xml::CNodePtr root(new xml::CNode(ROOT_NAME, false));
    WriteRecorder(*root, m_Discrete);
    WriteRecorder(*root, m_Analog);
    return root;
}

float CSelfTester::GetTime() const
{
    return static_cast<float>((m_Clock() - m_Start) / 1000.0);
}

void CSelfTester::OnDiscrete(const CDiscreteEvent& event)
{
    m_Discrete.m_Events.push_back({GetTime(), event});
}

void CSelfTester::OnAnalog(const CAnalogEvent& event)
{
    m_Analog.m_Events.push_back({GetTime(), event});
}

void CSelfTester::OnFrame(const CFrameEvent&)
{
    if (m_Analog.m_Events.empty() && m_Discrete.m_Events.empty()) {
        ++m_IdleFrames;
        if (m_IdleFrames == 1)
            ILogMgr::GetSingleton()->LogMessage("CSelfTester: All events are played");
        // The end of a recording is a normal end of the program.
        if (m_IdleFrames == IDLE_FRAMES_BEFORE_END) {
            ILogMgr::GetSingleton()->LogMessage("CSelfTester: No more events to play, ending the program");
            IApplication::GetSingleton()->Quit();
        }
        return;
    }

    const float now = GetTime();
    IEventMgr* events = IEventMgr::GetSingleton();
    while (!m_Analog.m_Events.empty() && m_Analog.m_Events.front().m_Time <= now) {
        const CAnalogEvent event = m_Analog.m_Events.front().m_Event;
        m_Analog.m_Events.pop_front();
        events->FireAnalogEvent(event);
    }
    while (!m_Discrete.m_Events.empty() && m_Discrete.m_Events.front().m_Time <= now) {
        const CDiscreteEvent event = m_Discrete.m_Events.front().m_Event;
        m_Discrete.m_Events.pop_front();
        events->FireDiscreteEvent(event);
    }
}

void CSelfTester::Save() const
{
    ILogMgr::GetSingleton()->LogMessage("CSelfTester: Saving recorded data");
    if (!xml::SaveXmlFile(m_FileName, ToXml()))
        ILogMgr::GetSingleton()->LogError("CSelfTester: The recorded events could not be written to " + m_FileName);
}

} // namespace test
} // namespace sds
