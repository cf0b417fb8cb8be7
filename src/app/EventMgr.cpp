#include "app/EventMgr.h"

#include "app/EventNames.h"
#include "core/Exception.h"
#include "core/ILogMgr.h"
#include "core/XmlFile.h"
#include "core/services/IApplication.h"

namespace sds {

namespace {

const char* const MOUSE_DEVICE_TYPE = "Mouse";

template <class Key, class Signal, class Handler>
IEventMgr::CConnection ConnectKeyed(std::map<Key, std::shared_ptr<Signal>>& signals, const Key& key,
                                    const Handler& handler)
{
    std::shared_ptr<Signal>& signal = signals[key];
    if (!signal)
        signal = std::make_shared<Signal>();
    return signal->connect(handler);
}

template <class Key, class Signal, class Record>
void FireKeyed(const std::map<Key, std::shared_ptr<Signal>>& signals, const Key& key, const Record& record)
{
    const auto found = signals.find(key);
    if (found == signals.end())
        return;
    // A handler may subscribe to other keys meanwhile; keep this list alive.
    const std::shared_ptr<Signal> signal = found->second;
    (*signal)(record);
}

} // namespace

CEventMgr::CEventMgr()
{
    IApplication* application = IApplication::GetSingleton();
    SDS_ASSERT(application && "The application must exist before the event manager");

    const xml::CNodePtr devices = application->GetConfig()->GetChildById("Devices", MOUSE_DEVICE_TYPE, "Type");
    if (devices->HasChild("Device")) {
        const auto end = devices->GetChildrenEnd("Device");
        for (auto it = devices->GetChildrenBegin("Device"); it != end; ++it) {
            const std::string name = TrimBlanks(it->second->GetValue());
            if (name.empty())
                continue;
            m_Devices[MOUSE_DEVICE_TYPE][xml::UnescapeName(name)] = it->second->GetAttribute("Id")->GetValue<int>();
        }
    }
    ILogMgr::GetSingleton()->LogMessage("Event Manager is created");
}

CEventMgr::~CEventMgr()
{
    ILogMgr::GetSingleton()->LogMessage("Event Manager is destroyed");
}

IEventMgr::CConnection CEventMgr::ConnectInternalEvent(const CInternalHandler& handler)
{
    return m_InternalEvent.connect(handler);
}

IEventMgr::CConnection CEventMgr::ConnectAnalogInternalEvent(const CInternalHandler& handler)
{
    return m_AnalogInternalEvent.connect(handler);
}

IEventMgr::CConnection CEventMgr::ConnectFrameEvent(const CFrameHandler& handler)
{
    return m_FrameEvent.connect(handler);
}

IEventMgr::CConnection CEventMgr::ConnectGUIEvent(const CGUIEvent& key, const CGUIHandler& handler)
{
    return ConnectKeyed(m_WindowEvents, key.Window, handler);
}

IEventMgr::CConnection CEventMgr::ConnectEvent(std::int32_t code, const CInternalHandler& handler)
{
    return ConnectKeyed(m_CodeEvents, code, handler);
}

IEventMgr::CConnection CEventMgr::ConnectAnalogEvent(const CAnalogHandler& handler)
{
    return m_AnalogEvent.connect(handler);
}

IEventMgr::CConnection CEventMgr::ConnectDiscreteEvent(const CDiscreteHandler& handler)
{
    return m_DiscreteEvent.connect(handler);
}

IEventMgr::CConnection CEventMgr::ConnectAnyGUIEvent(const CGUIHandler& handler)
{
    return m_AnyGUIEvent.connect(handler);
}

void CEventMgr::FireEvent(const CInternalEvent& event)
{
    FireKeyed(m_CodeEvents, event.Code, event);
}

std::int32_t CEventMgr::GetEventCode(const std::string& deviceType, const std::string& deviceName)
{
    std::map<std::string, std::int32_t>& names = m_Devices[deviceType];
    const auto found = names.find(deviceName);
    if (found != names.end())
        return found->second;
    const std::int32_t id = static_cast<std::int32_t>(names.size());
    names[deviceName] = id;
    return id;
}

void CEventMgr::FireInternalEvent(const CInternalEvent& event)
{
    m_InternalEvent(event);
    FireEvent(event);
}

void CEventMgr::FireAnalogInternalEvent(const CInternalEvent& event)
{
    m_AnalogInternalEvent(event);
    FireEvent(event);
}

void CEventMgr::FireGUIEvent(const CGUIEvent& event)
{
    m_AnyGUIEvent(event);
    FireKeyed(m_WindowEvents, event.Window, event);
}

void CEventMgr::FireDiscreteEvent(const CDiscreteEvent& event)
{
    m_DiscreteEvent(event);
}

void CEventMgr::FireAnalogEvent(const CAnalogEvent& event)
{
    m_AnalogEvent(event);
}

void CEventMgr::FireFrameEvent(const CFrameEvent& event)
{
    m_FrameEvent(event);
}

} // namespace sds
