#include "physics/flight/TestState.h"

#include "physics/flight/JumperBox.h"
#include "physics/flight/JumperConfig.h"

namespace physics::PhyJumperStates {

CTestState::CTestState(CPhyJumper* owner, const xml::CNodePtr& phyJumper)
    : CPhyJumperState(owner),
      CPhyMovingBody(GetNamedChild(GetJumperState(phyJumper, "Test"), "ForceGravity", "Gravity"),
                     GetNamedChild(GetJumperState(phyJumper, "Test"), "ForceDrag", "Body"))
{
    BuildJumperBody(*this, phyJumper);
}

void CTestState::OnUpdate(const sds::CTiming& timing)
{
    CPhyMovingBody::Update(BodyStep(timing));
}

} // namespace physics::PhyJumperStates
