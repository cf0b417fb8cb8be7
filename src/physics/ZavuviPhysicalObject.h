#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "physics/ZavuviActor.h"
#include "physics/ZavuviSkeletonData.h"
#include "physics/zavuvi/Matrix.h"

namespace physics::sdk {
class IJoint;
}

namespace Zavuvi {

class PhysicsEntity;

// A model or light of an actor, placed relative to it.
struct ModelInstance
{
    int m_Index = -1; // in the object's model list
    std::shared_ptr<ZavuviActor> m_Actor; // empty when the actor has no shapes
    Vector3 m_RelativePosition;
    Matrix m_RelativeRotation;
    // Where it was put, for a model without an actor to follow.
    Vector3 m_Position;
    Matrix m_Rotation;
    bool m_IsLight = false;
};

// One insertion of a file into the scene: its joints, actors, models and
// skeletons. Going, it releases its joints and then its actors.
class PhysicalObject
{
public:
    explicit PhysicalObject(std::shared_ptr<const PhysicsEntity> entity);
    ~PhysicalObject();
    PhysicalObject(const PhysicalObject&) = delete;
    PhysicalObject& operator=(const PhysicalObject&) = delete;

    const PhysicsEntity& GetEntity() const { return *m_Entity; }
    const std::shared_ptr<const PhysicsEntity>& GetEntityPtr() const { return m_Entity; }

    // Releases the joint from the scene (while the scene lives) and drops it from the list.
    void ReleaseJoint(physics::sdk::IJoint* joint);

    std::vector<physics::sdk::IJoint*> m_Joints;
    std::vector<std::shared_ptr<ZavuviActor>> m_Actors; // one slot per file actor; empty where none was built
    std::vector<ModelInstance> m_Models;
    std::vector<std::shared_ptr<SkeletonData>> m_Skeletons;

private:
    std::shared_ptr<const PhysicsEntity> m_Entity;
    std::uint64_t m_World; // the serial of the world it was inserted into
};

} // namespace Zavuvi
