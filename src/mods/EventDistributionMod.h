#pragma once

#include <functional>

#include <boost/signals2/connection.hpp>

#include "core/SingletonTmpl.h"
#include "core/services/Events.h"
#include "mods/ILevelMod.h"

namespace sds {

// Delivers the named events of the input bindings during a jump: camera codes
// (44 to 77) to the camera unless the menus are up, jumper codes (2 to 41) to
// the jumper manager while the mod is not paused. Nothing else reaches them.
class CEventDistributionMod : public ILevelMod, public CSingletonTmpl<CEventDistributionMod>
{
public:
    // Whether the engine's current state is menu mode; throws when the engine has no state.
    typedef std::function<bool()> CMenuModeQuery;

    explicit CEventDistributionMod(const CMenuModeQuery& isMenuModeCurrent);
    ~CEventDistributionMod() override;

    void Pause() override { m_Enabled = false; }
    void Resume() override { m_Enabled = true; }

    void OnAnalogEvent(const CInternalEvent& event);
    void OnDiscreteEvent(const CInternalEvent& event);

private:
    // True when the event was the camera's: it went to the camera.
    bool RouteToCamera(const CInternalEvent& event) const;
    bool IsForJumper(const CInternalEvent& event) const;

    CMenuModeQuery m_IsMenuModeCurrent;
    boost::signals2::scoped_connection m_DiscreteConnection;
    boost::signals2::scoped_connection m_AnalogConnection;
    bool m_Enabled = true;
};

} // namespace sds
