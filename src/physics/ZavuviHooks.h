#pragma once

#include <functional>
#include <memory>
#include <string>

#include "physics/zavuvi/Matrix.h"

namespace physics {
class CPhyObj;
namespace sdk {
class IJoint;
}
}

namespace Zavuvi {

class PhysicalObject;
struct PhysicsActor;
struct PhysicsJoint;
struct PhysicsLight;
struct PhysicsModel;
struct SkeletonData;

// Called for every actor built; the user pointer and number of the insertion follow.
typedef std::function<void(const std::shared_ptr<PhysicalObject>&, std::shared_ptr<physics::CPhyObj>,
                           const PhysicsActor*, void*, int)>
    ActorHook;
// Called for every joint record of a kind that exists, with the joint or null when the scene refused it.
typedef std::function<void(physics::sdk::IJoint*, const PhysicsJoint*, void*)> JointHook;
// Called for every skeleton model, with its new bone table and the insertion pose.
typedef std::function<void(const std::shared_ptr<PhysicalObject>&, const std::string&, const PhysicsModel*, void*,
                           const std::shared_ptr<SkeletonData>&, const Vector3&, const Matrix&)>
    SkeletonHook;
// Called for every model of a built actor: its index in the object's model list
// and the owning actor's bone name.
typedef std::function<void(const std::shared_ptr<PhysicalObject>&, const std::string&, const PhysicsModel*, int,
                           const std::string&)>
    ModelHook;
typedef std::function<void(const std::shared_ptr<PhysicalObject>&, const PhysicsLight*, int)> LightHook;

// The program-wide hooks that every insertion calls.
struct CHooks
{
    ActorHook m_Actor;
    JointHook m_Joint;
    SkeletonHook m_Skeleton;
    ModelHook m_Model;
    LightHook m_Light;
};

// `owner` marks who set the hooks: only the same owner clears them, so a store
// that goes leaves a newer store's hooks alone.
void SetHooks(const CHooks& hooks, const void* owner);
void ClearHooks(const void* owner);
const CHooks& GetHooks();

} // namespace Zavuvi
