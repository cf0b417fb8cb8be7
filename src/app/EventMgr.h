#pragma once

#include <map>
#include <memory>
#include <string>

#include <boost/signals2/signal.hpp>

#include "core/services/IEventMgr.h"

namespace sds {

// The event hub over boost signals2: every Fire runs its handlers at once, in
// the order they were connected. A subscriber pauses a handler without losing
// its place with a boost::signals2::shared_connection_block on its connection.
// The device queries are left to the frame listener, which owns the devices.
class CEventMgr : public IEventMgr
{
public:
    // Reads the mouse device names from the configuration's "Devices" of "Type"
    // "Mouse".
    CEventMgr();
    ~CEventMgr() override;

    CConnection ConnectInternalEvent(const CInternalHandler& handler) override;
    CConnection ConnectAnalogInternalEvent(const CInternalHandler& handler) override;
    CConnection ConnectFrameEvent(const CFrameHandler& handler) override;
    CConnection ConnectGUIEvent(const CGUIEvent& key, const CGUIHandler& handler) override;
    CConnection ConnectEvent(std::int32_t code, const CInternalHandler& handler) override;
    CConnection ConnectAnalogEvent(const CAnalogHandler& handler) override;
    CConnection ConnectDiscreteEvent(const CDiscreteHandler& handler) override;
    CConnection ConnectAnyGUIEvent(const CGUIHandler& handler) override;

    void FireEvent(const CInternalEvent& event) override;
    std::int32_t GetEventCode(const std::string& deviceType, const std::string& deviceName) override;
    void FireInternalEvent(const CInternalEvent& event) override;
    void FireAnalogInternalEvent(const CInternalEvent& event) override;
    void FireGUIEvent(const CGUIEvent& event) override;
    void FireDiscreteEvent(const CDiscreteEvent& event) override;
    void FireAnalogEvent(const CAnalogEvent& event) override;

    // Once a frame, from the frame listener.
    void FireFrameEvent(const CFrameEvent& event);

private:
    template <class Record>
    using CSignal = boost::signals2::signal<void(const Record&)>;

    // Device type -> device name -> id.
    std::map<std::string, std::map<std::string, std::int32_t>> m_Devices;
    CSignal<CInternalEvent> m_InternalEvent;
    CSignal<CInternalEvent> m_AnalogInternalEvent;
    CSignal<CFrameEvent> m_FrameEvent;
    CSignal<CDiscreteEvent> m_DiscreteEvent;
    CSignal<CAnalogEvent> m_AnalogEvent;
    CSignal<CGUIEvent> m_AnyGUIEvent;
    // Created on the first subscription and kept, even when emptied again.
    std::map<std::int32_t, std::shared_ptr<CSignal<CInternalEvent>>> m_CodeEvents;
    std::map<std::string, std::shared_ptr<CSignal<CGUIEvent>>> m_WindowEvents;
};

} // namespace sds
