#include "jumper/CanopyRideState.h"

#include "core/ILogMgr.h"
#include "graphics/IAnimation.h"
#include "graphics/IGfxMgr.h"
#include "jumper/CanopyRideInputs.h"
#include "jumper/ICanopy.h"
#include "jumper/IContainer.h"
#include "jumper/IPilotChute.h"
#include "jumper/Jumper.h"
#include "jumper/RagDollObj.h"
#include "physics/IPhyJumper.h"
#include "physics/flight/ICanopyRideState.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/PhyPilotChute.h"

namespace sds::JumperStates {

namespace {

float FirstEnabled(const CAnimationPtr& first, const CAnimationPtr& second, const CAnimationPtr& third)
{
    for (const CAnimationPtr* animation : {&first, &second, &third})
        if ((*animation)->IsEnabled())
            return (*animation)->GetRelativePosition();
    return 0.0f;
}

} // namespace

CCanopyRideState::CCanopyRideState(CJumper* jumper)
    : CJumperState(jumper),
      m_PhyCanopyRide(jumper->GetPhyJumper()->GetCanopyRideState()),
      m_LeftToggleTurn(jumper->ReadBodyAnimation("LeftToggleTurn")),
      m_LeftRearRiserTurn(jumper->ReadBodyAnimation("LeftRearRiserTurn")),
      m_LeftFrontRiserTurn(jumper->ReadBodyAnimation("LeftFrontRiserTurn")),
      m_RightToggleTurn(jumper->ReadBodyAnimation("RightToggleTurn")),
      m_RightRearRiserTurn(jumper->ReadBodyAnimation("RightRearRiserTurn")),
      m_RightFrontRiserTurn(jumper->ReadBodyAnimation("RightFrontRiserTurn"))
{
}

CCanopyRideState::~CCanopyRideState() = default;

void CCanopyRideState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("CCanopyRideState");
    GetJumper()->OnCanopyOpened();
    m_Inputs = std::make_shared<CCanopyRideInputs>(GetJumper());
    const CContainerPtr rig = GetJumper()->GetContainer();
    IGfxMgr::GetSingleton()->GetRootObject()->AddChild(rig->GetCanopy()->GetGfxObj());
    GetJumper()->GetPhyJumper()->SwitchToCanopyRideState();
    if (const std::shared_ptr<physics::CPhyPilotChute> pilotChute = m_PhyCanopyRide->GetPilotChute()) {
        const CGfxObjPtr object = rig->GetPilotChute()->GetGfxObj();
        object->ResetOrientation();
        m_PilotChuteRagDoll = std::make_shared<CRagDollObj>(object, pilotChute->GetRagDoll(), true);
        m_PilotChuteRagDoll->PosePhysicsFromSkeleton();
    }
    SyncCanopyToPhysics();
    GetJumper()->PushInputMode("CanopyRide");
    m_LoggedHeight = kLoggedHeights + 1;
}

void CCanopyRideState::OnUpdate(const CTiming& timing)
{
    GetJumper()->SyncToPhysics();
    SyncCanopyToPhysics();
    if (m_PilotChuteRagDoll)
        m_PilotChuteRagDoll->Update(timing);
    m_Inputs->Update(timing);
    m_PhyCanopyRide->SetLeftToggle(m_Inputs->GetLeftToggle());
    m_PhyCanopyRide->SetRightToggle(m_Inputs->GetRightToggle());
    m_PhyCanopyRide->SetRightRearRiser(m_Inputs->GetRightRearRiser());
    m_PhyCanopyRide->SetLeftRearRiser(m_Inputs->GetLeftRearRiser());
    m_PhyCanopyRide->SetRightFrontRiser(m_Inputs->GetRightFrontRiser());
    m_PhyCanopyRide->SetLeftFrontRiser(m_Inputs->GetLeftFrontRiser());
    LogHeight();
}

void CCanopyRideState::LogHeight()
{
    // Each whole metre of the altimeter's height near the ground, once: the
    // log tells when the flare height comes, whatever the frame rate.
    const CJumper& jumper = *GetJumper();
    const float height = jumper.GetPos().y - jumper.GetLinks().AltimeterReference;
    while (m_LoggedHeight > 1 && height < static_cast<float>(m_LoggedHeight - 1)) {
        --m_LoggedHeight;
        ILogMgr::GetSingleton()->LogMessage("Under canopy at " + std::to_string(m_LoggedHeight) + " m");
    }
}

void CCanopyRideState::Exit()
{
    m_Inputs.reset();
    GetJumper()->PopInputMode();
}

void CCanopyRideState::OnAnalogEvent(const CInternalEvent& event)
{
    m_Inputs->OnAnalogEvent(event);
}

void CCanopyRideState::OnDiscreteEvent(const CInternalEvent& event)
{
    m_Inputs->OnDiscreteEvent(event);
}

std::int32_t CCanopyRideState::GetLeftHandControl() const
{
    return m_Inputs ? m_Inputs->GetLeftHandControl() : 0;
}

std::int32_t CCanopyRideState::GetRightHandControl() const
{
    return m_Inputs ? m_Inputs->GetRightHandControl() : 0;
}

void CCanopyRideState::SyncCanopyToPhysics()
{
    const CGfxObjPtr canopy = GetJumper()->GetContainer()->GetCanopy()->GetGfxObj();
    canopy->SetPos(m_PhyCanopyRide->GetCanopyPos());
    canopy->SetOrientation(m_PhyCanopyRide->GetCanopyOrientation());
    canopy->UpdateTransform();
}

float CCanopyRideState::GetLeftTurnValue() const
{
    return FirstEnabled(m_LeftToggleTurn, m_LeftRearRiserTurn, m_LeftFrontRiserTurn);
}

float CCanopyRideState::GetRightTurnValue() const
{
    return FirstEnabled(m_RightToggleTurn, m_RightRearRiserTurn, m_RightFrontRiserTurn);
}

} // namespace sds::JumperStates
