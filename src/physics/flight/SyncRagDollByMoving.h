#pragma once

#include "core/Vector.h"
#include "physics/flight/SyncRagDollExternally.h"

namespace physics {

namespace sdk {
class IActor;
}

// A parked rag doll that, when the sync ends, takes over from its leader: its
// root goes to the leader's pose moved by `offset` (in the leader's frame), and
// every actor moves with the leader's velocity. Without a leader it is let go
// where it is. The leader outlives the sync.
class CSyncRagDollByMoving : public CSyncRagDollExternally
{
public:
    CSyncRagDollByMoving(CPhyRagDoll& ragDoll, sdk::IActor* leader, const sds::CVector& offset);
    ~CSyncRagDollByMoving() override;

private:
    sdk::IActor* m_Leader;
    sds::CVector m_Offset;
};

} // namespace physics
