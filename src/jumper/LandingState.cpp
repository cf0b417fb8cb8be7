#include "jumper/LandingState.h"

#include "jumper/ICanopy.h"
#include "jumper/IContainer.h"
#include "jumper/IJumpEndDisplay.h"
#include "jumper/ILandingCamera.h"
#include "jumper/IPilotChute.h"
#include "jumper/Jumper.h"
#include "jumper/DoneState.h"
#include "jumper/RagDollObj.h"
#include "physics/IPhyJumper.h"
#include "physics/flight/ICanopyRideState.h"
#include "physics/flight/ILandingState.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/PhyPilotChute.h"

namespace sds::JumperStates {

CLandingState::CLandingState(CJumper* jumper)
    : CJumperState(jumper),
      m_LandingConfig(jumper->GetConfig()->GetChild("JumperStates")->GetChild("Landing")),
      m_PhyLanding(jumper->GetPhyJumper()->GetLandingState())
{
    m_Delay = m_LandingConfig->GetAttribute("BeforeStatisticsDelay")->GetValue<float>();
    m_EntryClock = jumper->NowMs();
}

CLandingState::~CLandingState() = default;

void CLandingState::Enter()
{
    CJumper& jumper = *GetJumper();
    const CContainerPtr rig = jumper.GetContainer();
    m_BodyRagDoll = std::make_shared<CRagDollObj>(jumper.GetGfxObj(), m_PhyLanding->GetJumperRagDoll(), !m_StandUp);
    m_CanopyRagDoll =
        std::make_shared<CRagDollObj>(rig->GetCanopy()->GetGfxObj(), m_PhyLanding->GetCanopyRagDoll(), true);
    if (const std::shared_ptr<physics::CPhyPilotChute> pilotChute =
            jumper.GetPhyJumper()->GetCanopyRideState()->GetPilotChute())
        m_PilotChuteRagDoll =
            std::make_shared<CRagDollObj>(rig->GetPilotChute()->GetGfxObj(), pilotChute->GetRagDoll(), true);
    m_PhyLanding->SetLandingMode(m_StandUp ? 1 : 0);
    jumper.GetPhyJumper()->SwitchToLandingState();
    m_EntryClock = jumper.NowMs();
    if (m_LandingConfig->HasChild("Camera"))
        SetLandingCamera(m_LandingConfig->GetChild("Camera"));
    if (IJumpEndDisplay* display = jumper.GetLinks().JumpEnd)
        if (display->ShowsLandingComment())
            display->ShowCenterMessage(jumper.GetCollisionJudge()->GetMessage());
}

void CLandingState::OnUpdate(const CTiming& timing)
{
    m_BodyRagDoll->Update(timing);
    if (m_CanopyRagDoll)
        m_CanopyRagDoll->Update(timing);
    if (m_PilotChuteRagDoll)
        m_PilotChuteRagDoll->Update(timing);
    const double seconds = static_cast<double>(GetJumper()->NowMs() - m_EntryClock) / 1000.0;
    if (seconds > m_Delay) {
        CJumper& jumper = *GetJumper();
        jumper.ChangeState(jumper.GetDoneState());
        if (IJumpEndDisplay* display = jumper.GetLinks().JumpEnd)
            display->ShowTrajectory(true, "");
    }
}

void CLandingState::Exit()
{
    m_BodyRagDoll.reset();
    m_PilotChuteRagDoll.reset();
    m_CanopyRagDoll.reset();
}

void CLandingState::SetLandingCamera(const xml::CNodePtr& camera)
{
    if (ILandingCamera* landingCamera = GetJumper()->GetLinks().LandingCamera)
        landingCamera->SetLandingCamera(camera);
}

} // namespace sds::JumperStates
