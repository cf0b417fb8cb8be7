#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include <boost/signals2/connection.hpp>
#include <boost/signals2/shared_connection_block.hpp>

#include "core/SingletonTmpl.h"
#include "core/services/Events.h"
#include "mods/ILevelMod.h"

namespace sds {

// Makes one hand's controls drive both hands: every left or right control event
// is copied to the other hand, and "next_canopy_control_type" switches both
// hands together, no faster than the configured switch delay.
class CEventCopyMod : public ILevelMod, public CSingletonTmpl<CEventCopyMod>
{
public:
    // Milliseconds of wall-clock time; tests pass their own clock.
    typedef std::function<std::uint64_t()> CClock;

    CEventCopyMod();
    explicit CEventCopyMod(const CClock& clock);
    ~CEventCopyMod() override;

    void Restart() override;
    void Pause() override;
    void Resume() override;

    void OnDiscreteEvent(const CInternalEvent& event);
    void OnAnalogEvent(const CInternalEvent& event);

    // The left-hand "control_…" code of the control type both hands use.
    std::int32_t GetControlCode() const { return m_ControlCode; }

private:
    void ReadSwitchDelay();

    std::map<std::int32_t, std::int32_t> m_CopyMap;
    CClock m_Clock;
    std::uint64_t m_LastSwitchMs;
    std::int32_t m_ControlCode;
    // Seconds; read from the configuration on the first discrete event.
    float m_SwitchDelay = 0.0f;
    bool m_SwitchDelayRead = false;
    boost::signals2::scoped_connection m_AnalogConnection;
    boost::signals2::scoped_connection m_DiscreteConnection;
    boost::signals2::shared_connection_block m_AnalogBlock;
    boost::signals2::shared_connection_block m_DiscreteBlock;
};

} // namespace sds
