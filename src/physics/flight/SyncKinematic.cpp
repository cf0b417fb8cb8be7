#include "physics/flight/SyncKinematic.h"

#include "physics/sdk/IActor.h"

namespace physics {

CSyncKinematic::CSyncKinematic(sdk::IActor& leader, sdk::IActor& follower) : m_Leader(leader), m_Follower(follower) {}

void CSyncKinematic::Sync()
{
    m_Follower.MoveGlobalPosition(m_Leader.GetGlobalPosition());
    m_Follower.MoveGlobalOrientation(m_Leader.GetGlobalOrientation());
}

} // namespace physics
