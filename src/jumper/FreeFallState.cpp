#include "jumper/FreeFallState.h"

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "core/services/EventCodes.h"
#include "jumper/Jumper.h"
#include "jumper/ReachingMainState.h"
#include "physics/IPhyJumper.h"

namespace sds::JumperStates {

CFreeFallState::CAnimControl::CAnimControl(const CAnimationPtr* animation, std::vector<CAnimationPtr> fadeIn,
                                           std::vector<CAnimationPtr> fadeOut, CAnimationBlender* blender)
    : m_Animation(animation), m_FadeIn(std::move(fadeIn)), m_FadeOut(std::move(fadeOut)), m_Blender(blender)
{
}

void CFreeFallState::CAnimControl::Blend()
{
    if ((*m_Animation)->IsEnabled())
        return;
    for (const CAnimationPtr& animation : m_FadeIn)
        if (!animation->IsEnabled())
            m_Blender->FadeIn(animation);
    for (const CAnimationPtr& animation : m_FadeOut)
        if (animation->IsEnabled())
            m_Blender->FadeOut(animation);
    m_Blender->Start();
}

void CFreeFallState::CAnimControl::OnDiscreteEvent(const CInternalEvent& event)
{
    Blend();
    const CAnimationPtr& animation = *m_Animation;
    animation->SetAutoUpdate(true);
    const float speed = animation->GetSpeed();
    if ((event.On && speed < 0.0f) || (!event.On && speed > 0.0f))
        animation->SetSpeed(-speed);
}

void CFreeFallState::CAnimControl::OnAnalogEvent(const CInternalEvent& event)
{
    Blend();
    (*m_Animation)->SetRelativePosition(event.Value);
    (*m_Animation)->SetAutoUpdate(false);
}

CFreeFallState::CFreeFallState(CJumper* jumper, const CAnimationPtr& idleFreeFall)
    : CJumperState(jumper),
      m_RightArmTurnFF(jumper->ReadBodyAnimation("RightArmTurnFF")),
      m_LeftArmTurnFF(jumper->ReadBodyAnimation("LeftArmTurnFF")),
      m_ForwardFF(jumper->ReadBodyAnimation("ForwardFF")),
      m_BackwardFF(jumper->ReadBodyAnimation("BackwardFF")),
      m_SlideRightFF(jumper->ReadBodyAnimation("SlideRightFF")),
      m_SlideLeftFF(jumper->ReadBodyAnimation("SlideLeftFF")),
      m_Tracking(jumper->ReadBodyAnimation("Tracking")),
      m_IdleFreeFall(idleFreeFall)
{
    CAnimationBlender* blender = jumper->GetAnimationBlender();
    const CAnimationPtr& left = m_LeftArmTurnFF;
    const CAnimationPtr& right = m_RightArmTurnFF;
    const CAnimationPtr& forward = m_ForwardFF;
    const CAnimationPtr& back = m_BackwardFF;
    const CAnimationPtr& slideRight = m_SlideRightFF;
    const CAnimationPtr& slideLeft = m_SlideLeftFF;
    const CAnimationPtr& tracking = m_Tracking;
    const auto add = [&](std::int32_t code, const CAnimationPtr* animation, std::vector<CAnimationPtr> in,
                         std::vector<CAnimationPtr> out) {
        m_Controls.emplace(code, CAnimControl(animation, std::move(in), std::move(out), blender));
    };
    add(EventCodes::TurnLeft, &m_LeftArmTurnFF, {left, right}, {forward, back, slideRight, slideLeft, tracking});
    add(EventCodes::TurnRight, &m_RightArmTurnFF, {left, right}, {forward, back, slideRight, slideLeft, tracking});
    add(EventCodes::SlideLeft, &m_SlideLeftFF, {slideRight, slideLeft}, {left, right, forward, back, tracking});
    add(EventCodes::SlideRight, &m_SlideRightFF, {slideRight, slideLeft}, {left, right, forward, back, tracking});
    add(EventCodes::Forward, &m_ForwardFF, {left, right, forward}, {back, slideRight, slideLeft, tracking});
    add(EventCodes::Back, &m_BackwardFF, {back}, {left, right, forward, slideRight, slideLeft, tracking});
    add(EventCodes::Tracking, &m_Tracking, {tracking}, {left, right, forward, back, slideRight, slideLeft});
}

void CFreeFallState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("CFreeFallState");
    CAnimationBlender* blender = GetJumper()->GetAnimationBlender();
    blender->FadeIn(m_IdleFreeFall);
    blender->FadeIn(m_RightArmTurnFF);
    blender->FadeIn(m_LeftArmTurnFF);
    m_IdleFreeFall->SetAutoUpdate(true);
    m_IdleFreeFall->SetLoop(true);
    blender->Start();
    GetJumper()->PushInputMode("FreeFall");
    GetJumper()->GetPhyJumper()->SwitchToFreeFallState();
}

void CFreeFallState::OnUpdate(const CTiming&)
{
    GetJumper()->SyncToPhysics();
}

void CFreeFallState::Exit()
{
    CAnimationBlender* blender = GetJumper()->GetAnimationBlender();
    for (const CAnimationPtr* animation : {&m_LeftArmTurnFF, &m_RightArmTurnFF, &m_ForwardFF, &m_BackwardFF,
                                           &m_Tracking, &m_SlideLeftFF, &m_SlideRightFF})
        blender->FadeOut(*animation);
    GetJumper()->PopInputMode();
}

void CFreeFallState::OnDiscreteEvent(const CInternalEvent& event)
{
    const auto control = m_Controls.find(event.Code);
    if (control != m_Controls.end())
        control->second.OnDiscreteEvent(event);
    else if (event.Code == EventCodes::OpenCanopy && event.On)
        GetJumper()->ChangeState(GetJumper()->GetReachingMainState());
}

void CFreeFallState::OnAnalogEvent(const CInternalEvent& event)
{
    const auto control = m_Controls.find(event.Code);
    if (control != m_Controls.end())
        control->second.OnAnalogEvent(event);
}

} // namespace sds::JumperStates
