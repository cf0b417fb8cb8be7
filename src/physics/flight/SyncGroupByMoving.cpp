#include "physics/flight/SyncGroupByMoving.h"

#include "physics/sdk/IActor.h"

namespace physics::PhyJumperStates {

CSyncGroupByMoving::CSyncGroupByMoving(sdk::IActor& leader, sdk::IActor& follower)
    : m_Leader(leader), m_Follower(follower)
{
}

void CSyncGroupByMoving::Sync()
{
    m_Follower.SetGroupPose(m_Leader.GetGlobalPosition(), m_Leader.GetGlobalOrientation());
    m_Follower.SetGroupVelocity(m_Leader.GetLinearVelocity(), m_Leader.GetAngularVelocity());
}

} // namespace physics::PhyJumperStates
