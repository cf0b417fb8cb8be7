#pragma once

#include "physics/flight/SyncJoint.h"

namespace physics {

namespace sdk {
class IActor;
}

// Every step moves the kinematic follower to the leader's pose. The follower
// arrives with the velocity of the move, so it pushes what it meets on the way.
// Both actors outlive the sync.
class CSyncKinematic : public CSyncJoint
{
public:
    CSyncKinematic(sdk::IActor& leader, sdk::IActor& follower);

    void Sync() override;

private:
    sdk::IActor& m_Leader;
    sdk::IActor& m_Follower;
};

} // namespace physics
