#include "physics/flight/SyncByMoving.h"

#include "physics/sdk/IActor.h"

namespace physics::PhyJumperStates {

CSyncByMoving::CSyncByMoving(sdk::IActor& leader, sdk::IActor& follower) : m_Leader(leader), m_Follower(follower) {}

std::shared_ptr<sds::ISyncObj> CSyncByMoving::Create(sdk::IActor& leader, sdk::IActor& follower)
{
    return std::make_shared<CSyncByMoving>(leader, follower);
}

void CSyncByMoving::Sync()
{
    m_Follower.SetGlobalPose(m_Leader.GetGlobalPosition(), m_Leader.GetGlobalOrientation());
    m_Follower.SetLinearVelocity(m_Leader.GetLinearVelocity());
}

} // namespace physics::PhyJumperStates
