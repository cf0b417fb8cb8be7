#pragma once

#include <map>
#include <memory>
#include <set>

#include <boost/signals2/signal.hpp>

#include "core/services/IEventMgr.h"

// An event service for tests of subscribers: plain signals, with the frame event
// and the device queries driven by the test.
class CFakeEventMgr : public sds::IEventMgr
{
public:
    CConnection ConnectInternalEvent(const CInternalHandler& h) override { return m_Internal.connect(h); }
    CConnection ConnectAnalogInternalEvent(const CInternalHandler& h) override { return m_AnalogInternal.connect(h); }
    CConnection ConnectFrameEvent(const CFrameHandler& h) override { return m_Frame.connect(h); }
    CConnection ConnectGUIEvent(const sds::CGUIEvent& key, const CGUIHandler& h) override
    {
        auto& signal = m_Windows[key.Window];
        if (!signal)
            signal = std::make_shared<boost::signals2::signal<void(const sds::CGUIEvent&)>>();
        return signal->connect(h);
    }
    CConnection ConnectEvent(std::int32_t code, const CInternalHandler& h) override
    {
        auto& signal = m_Codes[code];
        if (!signal)
            signal = std::make_shared<boost::signals2::signal<void(const sds::CInternalEvent&)>>();
        return signal->connect(h);
    }
    CConnection ConnectAnalogEvent(const CAnalogHandler& h) override { return m_Analog.connect(h); }
    CConnection ConnectDiscreteEvent(const CDiscreteHandler& h) override { return m_Discrete.connect(h); }
    CConnection ConnectAnyGUIEvent(const CGUIHandler& h) override { return m_AnyGUI.connect(h); }

    void FireEvent(const sds::CInternalEvent& e) override
    {
        auto found = m_Codes.find(e.Code);
        if (found != m_Codes.end())
            (*found->second)(e);
    }
    bool IsKeyDown(std::int32_t key) const override { return m_KeysDown.count(key) != 0; }
    sds::CVector GetMousePosition() const override { return m_MousePosition; }
    std::int32_t GetEventCode(const std::string& type, const std::string& name) override
    {
        auto& names = m_Devices[type];
        auto found = names.find(name);
        if (found != names.end())
            return found->second;
        const std::int32_t id = static_cast<std::int32_t>(names.size());
        names[name] = id;
        return id;
    }
    void FireInternalEvent(const sds::CInternalEvent& e) override
    {
        m_Internal(e);
        FireEvent(e);
    }
    void FireAnalogInternalEvent(const sds::CInternalEvent& e) override
    {
        m_AnalogInternal(e);
        FireEvent(e);
    }
    void FireGUIEvent(const sds::CGUIEvent& e) override
    {
        m_AnyGUI(e);
        auto found = m_Windows.find(e.Window);
        if (found != m_Windows.end())
            (*found->second)(e);
    }
    void FireDiscreteEvent(const sds::CDiscreteEvent& e) override { m_Discrete(e); }
    void FireAnalogEvent(const sds::CAnalogEvent& e) override { m_Analog(e); }

    // Test drivers.
    void FireFrame(float seconds)
    {
        sds::CFrameEvent e;
        e.TimeSinceLastEvent = e.TimeSinceLastFrame = seconds;
        m_Frame(e);
    }

    std::set<std::int32_t> m_KeysDown;
    sds::CVector m_MousePosition;

private:
    boost::signals2::signal<void(const sds::CInternalEvent&)> m_Internal;
    boost::signals2::signal<void(const sds::CInternalEvent&)> m_AnalogInternal;
    boost::signals2::signal<void(const sds::CFrameEvent&)> m_Frame;
    boost::signals2::signal<void(const sds::CAnalogEvent&)> m_Analog;
    boost::signals2::signal<void(const sds::CDiscreteEvent&)> m_Discrete;
    boost::signals2::signal<void(const sds::CGUIEvent&)> m_AnyGUI;
    std::map<std::int32_t, std::shared_ptr<boost::signals2::signal<void(const sds::CInternalEvent&)>>> m_Codes;
    std::map<std::string, std::shared_ptr<boost::signals2::signal<void(const sds::CGUIEvent&)>>> m_Windows;
    std::map<std::string, std::map<std::string, std::int32_t>> m_Devices;
};
