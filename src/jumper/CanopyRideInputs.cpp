#include "jumper/CanopyRideInputs.h"

#include "graphics/IAnimation.h"
#include "jumper/ICanopy.h"
#include "jumper/IContainer.h"
#include "jumper/Jumper.h"

namespace sds::JumperStates {

namespace {

float TransitionTime(const CJumper& jumper)
{
    return jumper.GetConfig()->GetChild("Animation")->GetAttribute("TransitionTime")->GetValue<float>();
}

} // namespace

CCanopyRideInputs::CCanopyRideInputs(CJumper* jumper)
    : m_Jumper(jumper),
      m_IdleCanopyRide(jumper->ReadBodyAnimation("IdleCanopyRide")),
      m_LeftBlender(TransitionTime(*jumper)),
      m_RightBlender(TransitionTime(*jumper))
{
    m_IdleCanopyRide->SetAutoUpdate(true);
    m_IdleCanopyRide->SetLoop(true);
    m_LeftHand = std::make_unique<CHandControl>(jumper, true, &m_LeftBlender);
    m_RightHand = std::make_unique<CHandControl>(jumper, false, &m_RightBlender);
    jumper->GetAnimationBlender()->FadeIn(m_IdleCanopyRide);
    jumper->GetAnimationBlender()->Start();
}

CCanopyRideInputs::~CCanopyRideInputs()
{
    m_Jumper->GetAnimationBlender()->FadeOut(m_IdleCanopyRide);
    m_Jumper->GetContainer()->GetCanopy()->GetFullFlightAnimation()->SetAutoUpdate(false);
    m_LeftHand.reset();
    m_RightHand.reset();
}

void CCanopyRideInputs::OnAnalogEvent(const CInternalEvent& event)
{
    m_LeftHand->OnAnalogEvent(event);
    m_RightHand->OnAnalogEvent(event);
}

void CCanopyRideInputs::OnDiscreteEvent(const CInternalEvent& event)
{
    m_LeftHand->OnDiscreteEvent(event);
    m_RightHand->OnDiscreteEvent(event);
}

void CCanopyRideInputs::Update(const CTiming& timing)
{
    m_LeftHand->Update(timing);
    m_RightHand->Update(timing);
}

float CCanopyRideInputs::GetLeftToggle() const
{
    return m_Jumper->GetContainer()->GetCanopy()->GetLeftToggleTurnAnimation()->GetRelativePosition();
}

float CCanopyRideInputs::GetRightToggle() const
{
    return m_Jumper->GetContainer()->GetCanopy()->GetRightToggleTurnAnimation()->GetRelativePosition();
}

float CCanopyRideInputs::GetLeftRearRiser() const
{
    return m_Jumper->GetContainer()->GetCanopy()->GetLeftRearRiserTurnAnimation()->GetRelativePosition();
}

float CCanopyRideInputs::GetRightRearRiser() const
{
    return m_Jumper->GetContainer()->GetCanopy()->GetRightRearRiserTurnAnimation()->GetRelativePosition();
}

float CCanopyRideInputs::GetLeftFrontRiser() const
{
    return m_Jumper->GetContainer()->GetCanopy()->GetLeftFrontRiserTurnAnimation()->GetRelativePosition();
}

float CCanopyRideInputs::GetRightFrontRiser() const
{
    return m_Jumper->GetContainer()->GetCanopy()->GetRightFrontRiserTurnAnimation()->GetRelativePosition();
}

} // namespace sds::JumperStates
