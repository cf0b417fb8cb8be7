#pragma once

#include <memory>

#include "physics/flight/SyncJoint.h"

namespace physics {

namespace sdk {
class IActor;
}

namespace PhyJumperStates {

// Every step puts the follower where the leader is, turned as it is and moving
// as it does; the follower keeps its own spin. Both actors outlive the sync.
class CSyncByMoving : public CSyncJoint
{
public:
    CSyncByMoving(sdk::IActor& leader, sdk::IActor& follower);
    static std::shared_ptr<sds::ISyncObj> Create(sdk::IActor& leader, sdk::IActor& follower);

    void Sync() override;

private:
    sdk::IActor& m_Leader;
    sdk::IActor& m_Follower;
};

} // namespace PhyJumperStates
} // namespace physics
