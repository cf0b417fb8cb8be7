#include "physics/flight/FreeFallState.h"

#include "physics/flight/JumperBox.h"
#include "physics/flight/JumperConfig.h"
#include "physics/sdk/IActor.h"

namespace physics::PhyJumperStates {

CFreeFallState::CFreeFallState(CPhyJumper* owner, const xml::CNodePtr& phyJumper)
    : CPhyJumperState(owner),
      CPhyMovingBody(GetNamedChild(GetJumperState(phyJumper, "FreeFall"), "ForceGravity", "Gravity"),
                     GetNamedChild(GetJumperState(phyJumper, "FreeFall"), "ForceDrag", "Body"))
{
    BuildJumperBody(*this, phyJumper);
    m_Gravity.SetForce(m_Gravity.GetForce() * GetActor()->GetMass());
    FollowCurrentBody();
}

CFreeFallState::~CFreeFallState()
{
    m_Sync.reset();
}

void CFreeFallState::OnUpdate(const sds::CTiming& timing)
{
    CPhyMovingBody::Update(BodyStep(timing));
}

void CFreeFallState::Enter()
{
    m_Sync.reset();
    EnableCollision(true);
}

void CFreeFallState::Exit()
{
    EnableCollision(false);
    FollowCurrentBody();
}

} // namespace physics::PhyJumperStates
