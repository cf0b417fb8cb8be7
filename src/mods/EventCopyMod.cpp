#include "mods/EventCopyMod.h"

#include "core/WallClock.h"
#include "core/services/EventCodes.h"
#include "core/services/IApplication.h"
#include "core/services/IEventMgr.h"
#include "jumper/JumperMgr.h"

namespace sds {

namespace {

// Brakes, then front risers, then rear risers, then brakes again.
std::int32_t NextControlCode(std::int32_t code)
{
    switch (code) {
    case EventCodes::ControlLeftToggle:
        return EventCodes::ControlLeftFrontRiser;
    case EventCodes::ControlLeftFrontRiser:
        return EventCodes::ControlLeftRearRiser;
    case EventCodes::ControlLeftRearRiser:
        return EventCodes::ControlLeftToggle;
    default:
        return code;
    }
}

} // namespace

CEventCopyMod::CEventCopyMod() : CEventCopyMod(&GetWallClockMs) {}

CEventCopyMod::CEventCopyMod(const CClock& clock)
    : ILevelMod("EventCopy"), m_Clock(clock), m_LastSwitchMs(clock()), m_ControlCode(EventCodes::ControlLeftToggle)
{
    // Each left-hand code 2, 4, ... 16 and its right-hand partner one above.
    for (std::int32_t left = 2; left <= 16; left += 2) {
        m_CopyMap[left] = left + 1;
        m_CopyMap[left + 1] = left;
    }

    IEventMgr* events = IEventMgr::GetSingleton();
    m_AnalogConnection = events->ConnectAnalogInternalEvent([this](const CInternalEvent& e) { OnAnalogEvent(e); });
    m_DiscreteConnection = events->ConnectInternalEvent([this](const CInternalEvent& e) { OnDiscreteEvent(e); });
    m_AnalogBlock = boost::signals2::shared_connection_block(m_AnalogConnection, false);
    m_DiscreteBlock = boost::signals2::shared_connection_block(m_DiscreteConnection, false);
}

CEventCopyMod::~CEventCopyMod()
{
    m_AnalogConnection.disconnect();
    m_DiscreteConnection.disconnect();
    m_CopyMap.clear();
}

void CEventCopyMod::Restart()
{
    m_ControlCode = EventCodes::ControlLeftToggle;
    m_LastSwitchMs = m_Clock();
}

void CEventCopyMod::Pause()
{
    m_AnalogBlock.block();
    m_DiscreteBlock.block();
}

void CEventCopyMod::Resume()
{
    m_AnalogBlock.unblock();
    m_DiscreteBlock.unblock();
}

void CEventCopyMod::ReadSwitchDelay()
{
    const xml::CNodePtr jumper = IApplication::GetSingleton()->GetConfig()->GetChild("Jumper");
    m_SwitchDelay =
        jumper->GetChildById("Constant", "SwitchDelay", "Name,Id")->GetAttribute("Value")->GetValue<float>();
    m_SwitchDelayRead = true;
}

void CEventCopyMod::OnDiscreteEvent(const CInternalEvent& event)
{
    if (!m_SwitchDelayRead)
        ReadSwitchDelay();

    const auto partner = m_CopyMap.find(event.Code);
    if (partner != m_CopyMap.end()) {
        CInternalEvent copy = event;
        copy.Code = partner->second;
        if (CJumperMgr* jumpers = CJumperMgr::GetSingleton())
            jumpers->ForwardEvent(copy);
        IEventMgr::GetSingleton()->FireEvent(copy);
        return;
    }

    if (event.Code != EventCodes::NextCanopyControlType || !event.On)
        return;
    const std::uint64_t now = m_Clock();
    const double elapsed = static_cast<double>(now - m_LastSwitchMs) / 1000.0;
    if (!(m_SwitchDelay < elapsed))
        return;
    m_LastSwitchMs = now;
    m_ControlCode = NextControlCode(m_ControlCode);

    CInternalEvent switched = event;
    switched.Code = m_ControlCode;
    IEventMgr* events = IEventMgr::GetSingleton();
    events->FireInternalEvent(switched);
    events->FireEvent(switched);
}

void CEventCopyMod::OnAnalogEvent(const CInternalEvent& event)
{
    const auto partner = m_CopyMap.find(event.Code);
    if (partner == m_CopyMap.end())
        return;
    CInternalEvent copy = event;
    copy.Code = partner->second;
    if (CJumperMgr* jumpers = CJumperMgr::GetSingleton())
        jumpers->ForwardAnalogEvent(copy);
}

} // namespace sds
