#pragma once

#include "core/Node.h"
#include "core/Vector.h"

namespace physics {

class CPhyObj;

// Gives `owner` a dynamic box actor at `position`, out of the SDK's gravity:
// "Shape" gives "Dimensions" (full sizes), "Position" (in the actor's frame) and
// "Mass"; "Actor" gives "LinearDamping", "AngularDamping", "InitialVelocity" and
// "BodyFlag" and "ActorFlag" children named by "Name".
void CreateBoxActor(CPhyObj& owner, const xml::CNodePtr& shape, const xml::CNodePtr& actor,
                    const sds::CVector& position);

} // namespace physics
