#pragma once

#include "physics/flight/SyncJoint.h"

namespace physics {

namespace sdk {
class IActor;
}

namespace PhyJumperStates {

// Every step puts the follower where the leader is, turned as it is, and
// carries what is jointed to the follower (a canopy's cells) along as one rigid
// piece, all moving as the leader does. Both actors outlive the sync.
class CSyncGroupByMoving : public CSyncJoint
{
public:
    CSyncGroupByMoving(sdk::IActor& leader, sdk::IActor& follower);

    void Sync() override;

private:
    sdk::IActor& m_Leader;
    sdk::IActor& m_Follower;
};

} // namespace PhyJumperStates
} // namespace physics
