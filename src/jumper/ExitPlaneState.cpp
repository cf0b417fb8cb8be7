#include "jumper/ExitPlaneState.h"

#include "core/ILogMgr.h"
#include "core/services/EventCodes.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/Jumper.h"
#include "jumper/HangingOutOfPlaneState.h"
#include "physics/IPhyJumper.h"
#include "physics/flight/IExitState.h"

namespace sds::JumperStates {

CVector FollowWithExitBody(CJumper& jumper, physics::PhyJumperStates::IExitState& exit, const CVector& prevPos,
                           const CTiming& timing)
{
    // The physical body has the drawn body's axes: free fall takes over from
    // this pose, and the drawn body follows free fall's without turning.
    const CVector pos = jumper.GetBodyObj()->GetWorldPos();
    const CVector velocity = timing.m_Elapsed > 0.00001f ? (pos - prevPos) / timing.m_Elapsed : CVector::ZERO;
    exit.SetPos(pos);
    exit.SetOrientation(jumper.GetBodyObj()->GetWorldOrientation());
    exit.SetVelocity(velocity);
    return pos;
}

CExitPlaneState::CExitPlaneState(CJumper* jumper, const CGfxObjPtr& parent, const xml::CNodePtr& config)
    : CJumperState(jumper),
      m_Parent(parent),
      m_Spotting(jumper->ReadBodyAnimation("Spotting")),
      m_InPlanePosition(xml::ParseVector(config->GetAttribute("InPlanePosition")->GetValue())),
      m_PhyExit(jumper->GetPhyJumper()->GetExitState())
{
    ParseOrientation(config->GetAttribute("InPlaneOrientation")->GetValue(), m_InPlaneOrientation);
}

void CExitPlaneState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("CExitPlaneState");
    const CGfxObjPtr body = GetJumper()->GetBodyObj();
    m_Parent->AddChild(body);
    body->SetOrientation(m_InPlaneOrientation);
    body->SetPos(m_InPlanePosition);
    body->UpdateTransform();
    m_Spotting->SetEnabled(true);
    GetJumper()->PushInputMode("ExitPlane");
    GetJumper()->GetPhyJumper()->SwitchToExitState();
    m_PrevPos = body->GetWorldPos();
}

void CExitPlaneState::OnUpdate(const CTiming& timing)
{
    m_PrevPos = FollowWithExitBody(*GetJumper(), *m_PhyExit, m_PrevPos, timing);
}

void CExitPlaneState::Exit()
{
    GetJumper()->GetAnimationBlender()->FadeOut(m_Spotting);
    GetJumper()->PopInputMode();
}

void CExitPlaneState::OnEvent(const CInternalEvent& event)
{
    if (event.Code == EventCodes::LetGoFromPlane && !event.On)
        GetJumper()->ChangeState(GetJumper()->GetHangingOutOfPlaneState());
}

} // namespace sds::JumperStates
