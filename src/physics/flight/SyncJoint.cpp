#include "physics/flight/SyncJoint.h"

#include "physics/PhyMgr.h"

namespace physics {

CSyncJoint::CSyncJoint() : m_World(CPhyMgr::GetSingleton() ? CPhyMgr::GetSingleton()->GetSerial() : 0) {}

bool CSyncJoint::IsWorldAlive() const
{
    return CPhyMgr::GetLiveWorld(m_World) != nullptr;
}

} // namespace physics
