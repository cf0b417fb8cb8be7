#pragma once

#include <cstdint>
#include <memory>

#include <boost/noncopyable.hpp>

#include "core/Timing.h"
#include "core/services/Events.h"
#include "graphics/IGfxObj.h"
#include "jumper/AnimationBlender.h"
#include "jumper/HandControl.h"

namespace sds {
class CJumper;
}

namespace sds::JumperStates {

// The two hands under the open canopy; both see every event. The pulls are
// the canopy's turn animations' positions, 0 to 1.
class CCanopyRideInputs : private boost::noncopyable
{
public:
    explicit CCanopyRideInputs(CJumper* jumper);
    // The arms and the idle pose fade out; the canopy's full-flight animation stops.
    virtual ~CCanopyRideInputs();

    virtual void OnAnalogEvent(const CInternalEvent& event);
    virtual void OnDiscreteEvent(const CInternalEvent& event);
    void Update(const CTiming& timing);

    float GetLeftToggle() const;
    float GetRightToggle() const;
    float GetLeftRearRiser() const;
    float GetRightRearRiser() const;
    float GetLeftFrontRiser() const;
    float GetRightFrontRiser() const;
    std::int32_t GetLeftHandControl() const { return m_LeftHand->GetActiveControl(); }
    std::int32_t GetRightHandControl() const { return m_RightHand->GetActiveControl(); }

private:
    CJumper* m_Jumper;
    CAnimationPtr m_IdleCanopyRide;
    CAnimationBlender m_LeftBlender;
    CAnimationBlender m_RightBlender;
    std::unique_ptr<CHandControl> m_LeftHand;
    std::unique_ptr<CHandControl> m_RightHand;
};

} // namespace sds::JumperStates
