#include "physics/zavuvi/PhysicalObject.h"

#include <algorithm>

#include "physics/PhyMgr.h"
#include "physics/sdk/IScene.h"

namespace Zavuvi {

PhysicalObject::PhysicalObject(std::shared_ptr<const PhysicsEntity> entity)
    : m_Entity(std::move(entity)),
      m_Scene(physics::CPhyMgr::GetSingleton() ? &physics::CPhyMgr::GetSingleton()->GetScene() : nullptr)
{
}

PhysicalObject::~PhysicalObject()
{
    if (SceneIsAlive())
        for (physics::sdk::IJoint* joint : m_Joints)
            m_Scene->ReleaseJoint(*joint);
    m_Joints.clear();
    m_Models.clear();
    m_Actors.clear();
    m_Skeletons.clear();
}

bool PhysicalObject::SceneIsAlive() const
{
    const physics::CPhyMgr* world = physics::CPhyMgr::GetSingleton();
    return world && world->HasScene(m_Scene);
}

void PhysicalObject::ReleaseJoint(physics::sdk::IJoint* joint)
{
    auto found = std::find(m_Joints.begin(), m_Joints.end(), joint);
    if (found == m_Joints.end())
        return;
    m_Joints.erase(found);
    if (SceneIsAlive())
        m_Scene->ReleaseJoint(*joint);
}

} // namespace Zavuvi
