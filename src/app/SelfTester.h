#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <boost/signals2/connection.hpp>

#include "app/EventRecorderTmpl.h"
#include "core/Node.h"
#include "core/services/Events.h"

namespace sds {
namespace test {

// Records every raw input event with its time into a file ("RecordEvents"), or
// plays such a file back into the event manager as if the devices had produced
// it ("PlayEvents"), so that a session can be repeated without a user.
class CSelfTester
{
public:
    // Milliseconds; the wall clock unless a test gives its own.
    typedef std::function<std::uint64_t()> CClock;

    struct CEventInOutAnalog
    {
        float m_Time; // seconds since the tester started
        CAnalogEvent m_Event;
    };

    struct CEventInOutDiscrete
    {
        float m_Time;
        CDiscreteEvent m_Event;
    };

    // Records the discrete and analog events; the file is written when the
    // tester goes.
    explicit CSelfTester(const std::string& fileName, const CClock& clock = CClock());
    // Plays a recording: a parsed file or its "RecordedEvents" element. When
    // everything is played the program ends as after a normal exit.
    explicit CSelfTester(const xml::CNodePtr& recording, const CClock& clock = CClock());
    ~CSelfTester();

    CSelfTester(const CSelfTester&) = delete;
    CSelfTester& operator=(const CSelfTester&) = delete;

    // The "RecordedEvents" element of what was recorded.
    xml::CNodePtr ToXml() const;

    const CEventRecorderTmpl<CEventInOutAnalog>& GetAnalog() const { return m_Analog; }
    const CEventRecorderTmpl<CEventInOutDiscrete>& GetDiscrete() const { return m_Discrete; }
    bool IsPlaying() const { return m_Playing; }

private:
    float GetTime() const;
    void OnDiscrete(const CDiscreteEvent& event);
    void OnAnalog(const CAnalogEvent& event);
    // Fires the events that are due, analog ones first.
    void OnFrame(const CFrameEvent& event);
    void Save() const;

    boost::signals2::scoped_connection m_DiscreteConnection;
    boost::signals2::scoped_connection m_AnalogConnection;
    boost::signals2::scoped_connection m_FrameConnection;
    CClock m_Clock;
    std::uint64_t m_Start;
    CEventRecorderTmpl<CEventInOutAnalog> m_Analog;
    CEventRecorderTmpl<CEventInOutDiscrete> m_Discrete;
    std::string m_FileName;
    bool m_Playing;
    // Frames that began with nothing left to play.
    unsigned m_IdleFrames;
};

} // namespace test
} // namespace sds
