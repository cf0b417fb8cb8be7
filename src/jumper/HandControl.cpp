#include "jumper/HandControl.h"

#include <algorithm>

#include "core/services/IApplication.h"
#include "graphics/IAnimation.h"
#include "core/services/EventCodes.h"
#include "jumper/ICanopy.h"
#include "jumper/IContainer.h"
#include "jumper/Jumper.h"

namespace sds::JumperStates {

namespace {

bool Contains(const std::vector<std::int32_t>& codes, std::int32_t code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The steering sensitivity of the user's settings; a fresh user has none
// saved and gets the settings screen's default.
float ReadSensitivity()
{
    const xml::CNodePtr& settings = IApplication::GetSingleton()->GetSettings();
    if (!settings || !settings->HasChild("Mouse"))
        return 0.5f;
    return settings->GetChild("Mouse")->GetAttribute<float>("InputsSensitivity", 0.5f);
}

} // namespace

CHandControl::CHandControl(CJumper* jumper, bool left, CAnimationBlender* blender)
    : m_Jumper(jumper),
      m_Blender(blender),
      m_ReachStowed(jumper->ReadBodyAnimation(left ? "LeftReachStowed" : "RightReachStowed")),
      m_Unstow(jumper->ReadBodyAnimation(left ? "LeftUnstow" : "RightUnstow")),
      m_ReleaseSpeed(jumper->GetConfig()->GetChild("Animation")->GetAttribute("ReleaseSpeed")->GetValue<float>()),
      m_Sensitivity(ReadSensitivity())
{
    namespace E = EventCodes;
    const std::int32_t turn = left ? E::TurnLeft : E::TurnRight;
    const std::int32_t turnToggle = left ? E::TurnLeftToggle : E::TurnRightToggle;
    const std::int32_t turnFront = left ? E::TurnLeftFrontRiser : E::TurnRightFrontRiser;
    const std::int32_t turnRear = left ? E::TurnLeftRearRiser : E::TurnRightRearRiser;
    const std::int32_t takeToggle = left ? E::ControlLeftToggle : E::ControlRightToggle;
    const std::int32_t takeFront = left ? E::ControlLeftFrontRiser : E::ControlRightFrontRiser;
    const std::int32_t takeRear = left ? E::ControlLeftRearRiser : E::ControlRightRearRiser;

    const CContainerPtr rig = jumper->GetContainer();
    const CCanopyPtr canopy = rig->GetCanopy();
    IContainer* r = rig.get();
    const std::string side = left ? "Left" : "Right";

    CControl& toggle = m_Controls[TOGGLE];
    toggle.m_BodyAnim = jumper->ReadBodyAnimation(side + "ToggleTurn");
    toggle.m_CanopyAnim = left ? canopy->GetLeftToggleTurnAnimation() : canopy->GetRightToggleTurnAnimation();
    toggle.m_ActiveCode = turnToggle;
    toggle.m_SelectCodes = {turnToggle, takeToggle};
    toggle.m_TurnCodes = {turn, turnToggle};
    toggle.m_SwitchCodes = {turnRear, turnFront, takeRear, takeFront};
    toggle.m_Take = left ? std::function<void()>([r] { r->TakeLeftToggle(); }) : [r] { r->TakeRightToggle(); };
    // No operation stows a toggle again: letting go of it lets go of the rear riser.
    toggle.m_Release = left ? std::function<void()>([r] { r->ReleaseLeftRearRiser(); })
                            : [r] { r->ReleaseRightRearRiser(); };

    CControl& front = m_Controls[FRONT_RISER];
    front.m_BodyAnim = jumper->ReadBodyAnimation(side + "FrontRiserTurn");
    front.m_CanopyAnim =
        left ? canopy->GetLeftFrontRiserTurnAnimation() : canopy->GetRightFrontRiserTurnAnimation();
    front.m_ActiveCode = turnFront;
    front.m_SelectCodes = {turnFront, takeFront};
    front.m_TurnCodes = {turn, turnFront};
    front.m_SwitchCodes = {turnToggle, turnRear, takeToggle, takeRear};
    front.m_Take = left ? std::function<void()>([r] { r->GrabLeftFrontRiser(); }) : [r] { r->GrabRightFrontRiser(); };
    front.m_Release =
        left ? std::function<void()>([r] { r->ReleaseLeftFrontRiser(); }) : [r] { r->ReleaseRightFrontRiser(); };

    CControl& rear = m_Controls[REAR_RISER];
    rear.m_BodyAnim = jumper->ReadBodyAnimation(side + "RearRiserTurn");
    rear.m_CanopyAnim = left ? canopy->GetLeftRearRiserTurnAnimation() : canopy->GetRightRearRiserTurnAnimation();
    rear.m_ActiveCode = turnRear;
    rear.m_SelectCodes = {turnRear, takeRear};
    rear.m_TurnCodes = {turn, turnRear};
    rear.m_SwitchCodes = {turnToggle, turnFront, takeToggle, takeFront};
    rear.m_Take = left ? std::function<void()>([r] { r->GrabLeftRearRiser(); }) : [r] { r->GrabRightRearRiser(); };
    rear.m_Release =
        left ? std::function<void()>([r] { r->ReleaseLeftRearRiser(); }) : [r] { r->ReleaseRightRearRiser(); };

    for (CControl& control : m_Controls)
        control.m_Speed = control.m_BodyAnim->GetSpeed();
    StartControl(REAR_RISER);
}

CHandControl::~CHandControl()
{
    // Whatever the arm was doing, it goes back down under the jumper's blender.
    for (const CAnimationPtr& animation : {m_Controls[TOGGLE].m_BodyAnim, m_Controls[FRONT_RISER].m_BodyAnim,
                                           m_Controls[REAR_RISER].m_BodyAnim, m_ReachStowed, m_Unstow})
        if (animation->IsEnabled())
            m_Blender->FadeOut(animation);
    CAnimationBlender* jumperBlender = m_Jumper->GetAnimationBlender();
    for (const CAnimationPtr& animation : m_Blender->GetFadingOut())
        jumperBlender->FadeOut(animation);
}

void CHandControl::Update(const CTiming& timing)
{
    // The hand's fades advance twice a frame: a reach takes half the transition time.
    m_Blender->Update(timing);
    m_Blender->Update(timing);
    UpdatePhase();
}

void CHandControl::UpdatePhase()
{
    CControl& control = Current();
    switch (m_Phase) {
    case REACHING:
        if (control.m_BodyAnim->GetWeight() >= 1.0f) {
            control.m_Take();
            EnterControlling();
        }
        break;
    case REACHING_STOWED:
        if (m_ReachStowed->GetWeight() >= 1.0f) {
            m_Blender->FadeOut(m_ReachStowed);
            control.m_Take();
            EnterPhase(UNSTOWING);
        }
        break;
    case UNSTOWING:
        if (m_Unstow->GetRelativePosition() >= 1.0f) {
            m_Blender->FadeOut(m_Unstow);
            m_Blender->FadeIn(control.m_BodyAnim);
            m_Blender->Start();
            EnterControlling();
        }
        break;
    case CONTROLLING:
        control.m_CanopyAnim->SetRelativePosition(control.m_BodyAnim->GetRelativePosition());
        break;
    case RELEASING:
        m_Blender->FadeOut(control.m_BodyAnim);
        control.m_Release();
        Select(m_PendingCode);
        break;
    }
}

void CHandControl::Select(std::int32_t code)
{
    for (int index = 0; index < 3; ++index)
        if (Contains(m_Controls[index].m_SelectCodes, code)) {
            StartControl(static_cast<EControl>(index));
            return;
        }
}

void CHandControl::StartControl(EControl control)
{
    m_Active = control;
    if (control == TOGGLE && m_Stowed) {
        m_Stowed = false;
        EnterReaching(m_ReachStowed);
        m_Phase = REACHING_STOWED;
    } else {
        EnterReaching(Current().m_BodyAnim);
        m_Phase = REACHING;
    }
}

void CHandControl::EnterReaching(const CAnimationPtr& animation)
{
    animation->SetWeight(0.0f);
    m_Blender->FadeIn(animation);
    m_Blender->Start();
}

void CHandControl::EnterPhase(EPhase phase)
{
    m_Phase = phase;
    CControl& control = Current();
    if (phase == UNSTOWING) {
        // The canopy's toggle runs back from its stowed setting.
        m_Unstow->SetAutoUpdate(true);
        control.m_CanopyAnim->SetAutoUpdate(true);
        control.m_CanopyAnim->SetSpeed(-control.m_CanopyAnim->GetSpeed());
        m_Blender->FadeIn(m_Unstow);
        m_Blender->Start();
    } else if (phase == RELEASING) {
        for (const CAnimationPtr& animation : {control.m_BodyAnim, control.m_CanopyAnim}) {
            animation->SetAutoUpdate(true);
            animation->SetSpeed(m_ReleaseSpeed);
        }
    }
}

void CHandControl::EnterControlling()
{
    m_Phase = CONTROLLING;
    CControl& control = Current();
    control.m_CanopyAnim->SetAutoUpdate(false);
    // A turn key held through the reach pulls at once.
    for (std::int32_t code : control.m_TurnCodes)
        if (m_Jumper->IsEventHeld(code)) {
            control.m_BodyAnim->SetSpeed(control.m_Speed);
            control.m_BodyAnim->SetAutoUpdate(true);
            break;
        }
}

void CHandControl::OnDiscreteEvent(const CInternalEvent& event)
{
    if (m_Phase != CONTROLLING)
        return;
    CControl& control = Current();
    if (Contains(control.m_TurnCodes, event.Code)) {
        control.m_BodyAnim->SetSpeed(event.On ? control.m_Speed : -control.m_Speed);
        control.m_BodyAnim->SetAutoUpdate(true);
    }
    if (Contains(control.m_SwitchCodes, event.Code)) {
        m_PendingCode = event.Code;
        EnterPhase(RELEASING);
    }
}

void CHandControl::OnAnalogEvent(const CInternalEvent& event)
{
    if (m_Phase != CONTROLLING)
        return;
    CControl& control = Current();
    if (!Contains(control.m_TurnCodes, event.Code))
        return;
    control.m_BodyAnim->SetAutoUpdate(false);
    const float pull = control.m_BodyAnim->GetRelativePosition() + m_Sensitivity * event.Change;
    control.m_BodyAnim->SetRelativePosition(std::clamp(pull, 0.0f, 1.0f));
}

std::int32_t CHandControl::GetActiveControl() const
{
    return m_Controls[m_Active].m_ActiveCode;
}

} // namespace sds::JumperStates
