#pragma once

#include <vector>

#include "physics/flight/SyncJoint.h"

namespace physics {

class CPhyRagDoll;

// Parks a rag doll while another body stands in for it: its actors are welded
// to the root at their rest pose, collide with nothing, have no gravity and
// stand still, so the parked doll costs next to nothing. Whoever owns it moves
// it through its root. When the sync ends every actor gets back the gravity it
// had and the doll gets its own joints back at the pose it is in, colliding
// again. The rag doll outlives the sync.
class CSyncRagDollExternally : public CSyncJoint
{
public:
    explicit CSyncRagDollExternally(CPhyRagDoll& ragDoll);
    ~CSyncRagDollExternally() override;

    void Sync() override {}

protected:
    // Gives every actor back the gravity it had when the doll was parked; once.
    void RestoreGravity();

    CPhyRagDoll& m_RagDoll;

private:
    std::vector<bool> m_HadGravity; // by actor index
    bool m_GravityRestored = false;
};

} // namespace physics
