#include "physics/flight/SyncRagDollByMoving.h"

#include "physics/PhyObj.h"
#include "physics/PhyRagDoll.h"
#include "physics/sdk/IActor.h"

namespace physics {

CSyncRagDollByMoving::CSyncRagDollByMoving(CPhyRagDoll& ragDoll, sdk::IActor* leader, const sds::CVector& offset)
    : CSyncRagDollExternally(ragDoll), m_Leader(leader), m_Offset(offset)
{
}

CSyncRagDollByMoving::~CSyncRagDollByMoving()
{
    if (!m_Leader || !IsWorldAlive())
        return;
    RestoreGravity();
    const sds::CQuaternion orientation = m_Leader->GetGlobalOrientation();
    sdk::IActor& root = *m_RagDoll.GetRootBone()->GetActor();
    root.SetGlobalPose(m_Leader->GetGlobalPosition() + orientation * m_Offset, orientation);
    m_RagDoll.SetLinearVelocity(m_Leader->GetLinearVelocity());
}

} // namespace physics
