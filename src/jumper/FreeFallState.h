#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "graphics/IGfxObj.h"
#include "jumper/AnimationBlender.h"
#include "jumper/JumperState.h"

namespace sds::JumperStates {

// Free fall with body-position controls; pressing `open_canopy` (27) reaches
// for the main handle.
class CFreeFallState : public CJumperState
{
public:
    // One body position on one event code: it brings its group of poses into
    // the blend and sends the others out. A key plays the pose forward while
    // held and back when let go; an axis places it directly.
    class CAnimControl
    {
    public:
        CAnimControl(const CAnimationPtr* animation, std::vector<CAnimationPtr> fadeIn,
                     std::vector<CAnimationPtr> fadeOut, CAnimationBlender* blender);
        void OnDiscreteEvent(const CInternalEvent& event);
        void OnAnalogEvent(const CInternalEvent& event);

    private:
        // Brings this control's poses in unless its own pose is already in.
        void Blend();

        const CAnimationPtr* m_Animation;
        std::vector<CAnimationPtr> m_FadeIn;
        std::vector<CAnimationPtr> m_FadeOut;
        CAnimationBlender* m_Blender;
    };

    CFreeFallState(CJumper* jumper, const CAnimationPtr& idleFreeFall);

    void OnUpdate(const CTiming& timing) override;
    void Enter() override;
    void Exit() override;
    void OnAnalogEvent(const CInternalEvent& event) override;
    void OnDiscreteEvent(const CInternalEvent& event) override;

private:
    std::map<std::int32_t, CAnimControl> m_Controls;
    CAnimationPtr m_RightArmTurnFF;
    CAnimationPtr m_LeftArmTurnFF;
    CAnimationPtr m_ForwardFF;
    CAnimationPtr m_BackwardFF;
    CAnimationPtr m_SlideRightFF;
    CAnimationPtr m_SlideLeftFF;
    CAnimationPtr m_Tracking;
    CAnimationPtr m_IdleFreeFall;
};

} // namespace sds::JumperStates
