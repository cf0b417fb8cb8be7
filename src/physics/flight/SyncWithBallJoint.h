#pragma once

#include "core/Node.h"
#include "physics/flight/SyncJoint.h"
#include "physics/sdk/JointDesc.h"

namespace physics {

namespace sdk {
class IActor;
class IJoint;
class IScene;
}

// Hangs the follower from the leader by a ball joint at the element's "Point"
// (in the leader's frame) that does not twist, and keeps the follower on the
// side of the plane through that point that "Normal" (in the leader's frame)
// points to. The joint goes with the sync; both actors outlive it.
class CSyncWithBallJoint : public CSyncJoint
{
public:
    // Throws xml::CNoNodeException without "Normal" or "Point", and CPhyException
    // when the scene refuses the joint.
    CSyncWithBallJoint(sdk::IActor& leader, sdk::IActor& follower, const xml::CNodePtr& limitPlane);
    ~CSyncWithBallJoint() override;
    CSyncWithBallJoint(const CSyncWithBallJoint&) = delete;
    CSyncWithBallJoint& operator=(const CSyncWithBallJoint&) = delete;

    void Sync() override {}

    static sdk::CJointDesc MakeBallJoint(sdk::IActor& leader, sdk::IActor& follower, const sds::CVector& worldAnchor,
                                         const sds::CVector& worldAxis);
    sdk::IJoint& GetJoint() const { return m_Joint; }

private:
    sdk::IScene& m_Scene;
    sdk::IJoint& m_Joint;
};

} // namespace physics
