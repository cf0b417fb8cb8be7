#include "physics/flight/PhyJumperState.h"

#include "physics/flight/PhyJumper.h"
#include "physics/flight/SyncByMoving.h"

namespace physics::PhyJumperStates {

void CPhyJumperState::SetCollisionCallback(const CPhyObj::CCollisionCallback& callback)
{
    if (CPhyObj* body = GetBody())
        body->SetCollisionCallback(callback);
}

void CPhyJumperState::Sync()
{
    if (m_Sync)
        m_Sync->Sync();
}

sdk::IActor* CPhyJumperState::GetCurrentActor() const
{
    const CPhyObj* current = m_Owner->GetCurrentBody();
    return current ? current->GetActor() : nullptr;
}

void CPhyJumperState::FollowCurrentBody()
{
    sdk::IActor* leader = GetCurrentActor();
    sdk::IActor* follower = GetBody()->GetActor();
    m_Sync = leader && follower && leader != follower ? CSyncByMoving::Create(*leader, *follower) : nullptr;
}

} // namespace physics::PhyJumperStates
