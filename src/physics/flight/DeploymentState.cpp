#include "physics/flight/DeploymentState.h"

#include "physics/IWindMgr.h"
#include "physics/flight/JumperBox.h"
#include "physics/flight/JumperConfig.h"
#include "physics/sdk/IActor.h"

namespace physics::PhyJumperStates {

CDeploymentState::CDeploymentState(CPhyJumper* owner, const xml::CNodePtr& phyJumper)
    : CPhyJumperState(owner),
      CPhyMovingBody(GetNamedChild(GetJumperState(phyJumper, "FreeFall"), "ForceGravity", "Gravity"),
                     GetNamedChild(GetJumperState(phyJumper, "FreeFall"), "ForceDrag", "Body")),
      m_PilotChuteDrag(
          GetNamedChild(GetJumperState(phyJumper, "CanopyRide")->GetChild("PilotChute"), "ForceDrag", "PilotChute")),
      m_CanopyOutDrag(GetNamedChild(GetJumperState(phyJumper, "Deployment"), "ForceDrag", "CanopyOut")),
      m_SliderDownDrag(GetNamedChild(GetJumperState(phyJumper, "Deployment"), "ForceDrag", "SliderDown")),
      m_ActiveStageForce(&m_PilotChuteDrag)
{
    BuildJumperBody(*this, phyJumper);
    m_Gravity.SetForce(m_Gravity.GetForce() * GetActor()->GetMass());
    FollowCurrentBody();
}

CDeploymentState::~CDeploymentState()
{
    m_Sync.reset();
}

void CDeploymentState::NextStage()
{
    switch (m_StageCounter)
    {
    case 0: m_StageCounter = 1; break;
    case 1:
        m_ActiveStageForce = &m_CanopyOutDrag;
        m_StageCounter = 2;
        break;
    default: m_ActiveStageForce = &m_SliderDownDrag; break;
    }
}

void CDeploymentState::ApplyWind(IWindMgr& source)
{
    if (const sdk::IActor* actor = GetActor())
    {
        const sds::CVector wind = source.GetWind(actor->GetGlobalPosition());
        m_Drag.AddWind(wind);
        m_ActiveStageForce->AddWind(wind);
    }
}

void CDeploymentState::OnUpdate(const sds::CTiming& timing)
{
    CPhyMovingBody::Update(BodyStep(timing));
    if (sdk::IActor* actor = GetActor())
        m_ActiveStageForce->Apply(*actor, 1.0f);
}

void CDeploymentState::Enter()
{
    m_Sync.reset();
    EnableCollision(true);
    m_StageCounter = 0;
    m_ActiveStageForce = &m_PilotChuteDrag;
}

void CDeploymentState::Exit()
{
    EnableCollision(false);
    FollowCurrentBody();
}

void CDeploymentState::DrawForces()
{
    CPhyMovingBody::DrawForces();
    if (sdk::IActor* actor = GetActor())
        m_ActiveStageForce->Draw(*actor);
}

} // namespace physics::PhyJumperStates
