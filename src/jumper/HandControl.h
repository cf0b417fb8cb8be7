#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include <boost/noncopyable.hpp>

#include "core/Timing.h"
#include "core/services/Events.h"
#include "graphics/IGfxObj.h"
#include "jumper/AnimationBlender.h"

namespace sds {
class CJumper;
}

namespace sds::JumperStates {

// One hand under the open canopy. It works one control at a time, its toggle,
// front riser or rear riser: it reaches for it while the arm animation fades
// in, then steers with it (the canopy's turn animation of the same name copies
// the arm's position), and lets it run back when the hand goes to another
// control. A toggle starts stowed: the first reach for it unstows it. The hand
// begins by reaching for its rear riser.
class CHandControl : private boost::noncopyable
{
public:
    enum EControl { TOGGLE = 0, FRONT_RISER = 1, REAR_RISER = 2 };

    // `left` chooses the hand's codes, animations and rig actions. `blender`
    // is the arm's own, which the hand advances. Throws the XML layer's
    // exceptions for a missing animation record or "ReleaseSpeed".
    CHandControl(CJumper* jumper, bool left, CAnimationBlender* blender);
    // Fades the arm out; what is still fading goes on under the jumper's blender.
    ~CHandControl();

    void Update(const CTiming& timing);
    void OnDiscreteEvent(const CInternalEvent& event);
    void OnAnalogEvent(const CInternalEvent& event);
    // The turn code of the control the hand works, from the moment it goes for it.
    std::int32_t GetActiveControl() const;

private:
    enum EPhase { REACHING, REACHING_STOWED, UNSTOWING, CONTROLLING, RELEASING };

    struct CControl
    {
        CAnimationPtr m_BodyAnim;
        CAnimationPtr m_CanopyAnim;
        // The body animation's speed as configured: the pull's rate.
        float m_Speed = 0.0f;
        std::int32_t m_ActiveCode = 0;
        std::vector<std::int32_t> m_SelectCodes;
        std::vector<std::int32_t> m_TurnCodes;
        std::vector<std::int32_t> m_SwitchCodes;
        std::function<void()> m_Take;
        std::function<void()> m_Release;
    };

    void Select(std::int32_t code);
    void StartControl(EControl control);
    void EnterPhase(EPhase phase);
    void EnterReaching(const CAnimationPtr& animation);
    void EnterControlling();
    void UpdatePhase();
    CControl& Current() { return m_Controls[m_Active]; }

    CJumper* m_Jumper;
    CAnimationBlender* m_Blender;
    std::array<CControl, 3> m_Controls;
    CAnimationPtr m_ReachStowed;
    CAnimationPtr m_Unstow;
    float m_ReleaseSpeed;
    float m_Sensitivity;
    EControl m_Active = REAR_RISER;
    EPhase m_Phase = REACHING;
    bool m_Stowed = true;
    std::int32_t m_PendingCode = 0;
};

} // namespace sds::JumperStates
