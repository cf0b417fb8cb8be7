#pragma once

#include <functional>
#include <memory>

#include "core/Quaternion.h"
#include "physics/ZavuviHooks.h"
#include "physics/zavuvi/Matrix.h"

namespace Zavuvi {

class PhysicalObject;
class PhysicsEntity;
struct PhysicsJoint;

// Builds the file's skeletons, actors and joints in the physics world's scene,
// the file's frame carried to `position` and `orientation`. The per-call hooks,
// when set, take the place of the program-wide actor and joint hooks. Throws
// std::runtime_error "physEntity was not loaded before insert was called" for
// no entity and CPhyException "Could not create an actor" when the scene
// refuses an actor; what was built by then is released. Shapes the scene
// cannot take (a mesh that does not cook, a size that is not positive) are
// left out with a warning.
std::shared_ptr<PhysicalObject> Insert(const std::shared_ptr<const PhysicsEntity>& entity, const Vector3& position,
                                       const sds::CQuaternion& orientation, const ActorHook& actorHook = nullptr,
                                       const JointHook& jointHook = nullptr, void* user = nullptr, int userValue = 0);

// Moves every built actor of the object to its place in the file carried to
// position P and rotation R.
void Place(PhysicalObject& object, const Vector3& position, const Matrix& rotation);

// Creates again, at the file's frame carried to P and R, the joints whose
// records `wanted` accepts (every one without it), and appends them to the
// object's joint list.
void CreateJoints(PhysicalObject& object, const Vector3& position, const Matrix& rotation,
                  const std::function<bool(const PhysicsJoint&)>& wanted = nullptr,
                  const JointHook& jointHook = nullptr, void* user = nullptr);

} // namespace Zavuvi
