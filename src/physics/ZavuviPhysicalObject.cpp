#include "physics/ZavuviPhysicalObject.h"

#include <algorithm>

#include "physics/PhyMgr.h"
#include "physics/sdk/IScene.h"

namespace Zavuvi {

PhysicalObject::PhysicalObject(std::shared_ptr<const PhysicsEntity> entity)
    : m_Entity(std::move(entity)),
      m_World(physics::CPhyMgr::GetSingleton() ? physics::CPhyMgr::GetSingleton()->GetSerial() : 0)
{
}

PhysicalObject::~PhysicalObject()
{
    if (physics::CPhyMgr* world = physics::CPhyMgr::GetLiveWorld(m_World))
        for (physics::sdk::IJoint* joint : m_Joints)
            world->GetScene().ReleaseJoint(*joint);
    m_Joints.clear();
    m_Models.clear();
    m_Actors.clear();
    m_Skeletons.clear();
}

void PhysicalObject::ReleaseJoint(physics::sdk::IJoint* joint)
{
    auto found = std::find(m_Joints.begin(), m_Joints.end(), joint);
    if (found == m_Joints.end())
        return;
    m_Joints.erase(found);
    if (physics::CPhyMgr* world = physics::CPhyMgr::GetLiveWorld(m_World))
        world->GetScene().ReleaseJoint(*joint);
}

} // namespace Zavuvi
