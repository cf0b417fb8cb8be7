#include "jumper/HangingOutOfPlaneState.h"

#include "core/ILogMgr.h"
#include "graphics/IGfxMgr.h"
#include "core/services/EventCodes.h"
#include "jumper/ExitPlaneState.h"
#include "jumper/GfxObjectConfig.h"
#include "jumper/Jumper.h"
#include "jumper/FreeFallState.h"
#include "physics/IPhyJumper.h"

namespace sds::JumperStates {

CHangingOutOfPlaneState::CHangingOutOfPlaneState(CJumper* jumper, const xml::CNodePtr& config)
    : CJumperState(jumper),
      m_ClimbingOut(jumper->ReadBodyAnimation("ClimbingOut")),
      m_Hanging(jumper->ReadBodyAnimation("HangingOutOfPlane")),
      m_InPlanePosition(xml::ParseVector(config->GetAttribute("InPlanePosition")->GetValue())),
      m_PhyExit(jumper->GetPhyJumper()->GetExitState())
{
    ParseOrientation(config->GetAttribute("InPlaneOrientation")->GetValue(), m_InPlaneOrientation);
}

void CHangingOutOfPlaneState::Enter()
{
    ILogMgr::GetSingleton()->LogMessage("HangingOutOfPlaneState");
    CAnimationBlender* blender = GetJumper()->GetAnimationBlender();
    blender->FadeIn(m_Hanging);
    m_Hanging->SetAutoUpdate(true);
    m_Hanging->SetLoop(true);
    blender->Start();
    GetJumper()->PushInputMode("HangingOutOfPlane");
    GetJumper()->GetPhyJumper()->SwitchToExitState();
    m_PrevPos = GetJumper()->GetBodyObj()->GetWorldPos();
}

void CHangingOutOfPlaneState::OnUpdate(const CTiming& timing)
{
    m_PrevPos = FollowWithExitBody(*GetJumper(), *m_PhyExit, m_PrevPos, timing);
}

void CHangingOutOfPlaneState::Exit()
{
    GetJumper()->GetAnimationBlender()->FadeOut(m_Hanging);
    // The jumper leaves the aircraft where it hangs.
    const CGfxObjPtr body = GetJumper()->GetBodyObj();
    const CVector pos = body->GetWorldPos();
    IGfxMgr::GetSingleton()->GetRootObject()->AddChild(body);
    body->SetPos(pos);
    body->UpdateTransform();
    GetJumper()->PopInputMode();
}

void CHangingOutOfPlaneState::OnDiscreteEvent(const CInternalEvent& event)
{
    if (event.Code == EventCodes::LetGoFromPlane && !event.On)
        GetJumper()->ChangeState(GetJumper()->GetFreeFallState());
}

} // namespace sds::JumperStates
