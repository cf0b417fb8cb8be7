#pragma once

#include <functional>
#include <string>

#include <boost/signals2/connection.hpp>

#include "core/SingletonTmpl.h"
#include "core/Vector.h"
#include "core/services/Events.h"

namespace sds {

// The synchronous publish-and-subscribe hub. Every Connect returns a connection
// that the subscriber keeps, usually in a boost::signals2::scoped_connection so
// that dropping it disconnects.
class IEventMgr : public CSingletonTmpl<IEventMgr>
{
public:
    typedef boost::signals2::connection CConnection;
    typedef std::function<void(const CInternalEvent&)> CInternalHandler;
    typedef std::function<void(const CFrameEvent&)> CFrameHandler;
    typedef std::function<void(const CGUIEvent&)> CGUIHandler;
    typedef std::function<void(const CAnalogEvent&)> CAnalogHandler;
    typedef std::function<void(const CDiscreteEvent&)> CDiscreteHandler;

    ~IEventMgr() override = default;

    virtual CConnection ConnectInternalEvent(const CInternalHandler& handler) = 0;
    virtual CConnection ConnectAnalogInternalEvent(const CInternalHandler& handler) = 0;
    virtual CConnection ConnectFrameEvent(const CFrameHandler& handler) = 0;
    // Only the key's Window counts.
    virtual CConnection ConnectGUIEvent(const CGUIEvent& key, const CGUIHandler& handler) = 0;
    virtual CConnection ConnectEvent(std::int32_t code, const CInternalHandler& handler) = 0;
    virtual CConnection ConnectAnalogEvent(const CAnalogHandler& handler) = 0;
    virtual CConnection ConnectDiscreteEvent(const CDiscreteHandler& handler) = 0;
    virtual CConnection ConnectAnyGUIEvent(const CGUIHandler& handler) = 0;

    // The handlers of the record's Code, when anybody subscribed to it.
    virtual void FireEvent(const CInternalEvent& event) = 0;
    virtual bool IsKeyDown(std::int32_t key) const = 0;
    virtual CVector GetMousePosition() const = 0;
    // The device id of a device name under a device type; a new name gets the
    // count of names already under that type.
    virtual std::int32_t GetEventCode(const std::string& deviceType, const std::string& deviceName) = 0;
    // The internal-event handlers, then FireEvent.
    virtual void FireInternalEvent(const CInternalEvent& event) = 0;
    virtual void FireAnalogInternalEvent(const CInternalEvent& event) = 0;
    // The any-window handlers, then those of the record's Window.
    virtual void FireGUIEvent(const CGUIEvent& event) = 0;
    virtual void FireDiscreteEvent(const CDiscreteEvent& event) = 0;
    virtual void FireAnalogEvent(const CAnalogEvent& event) = 0;
};

} // namespace sds
