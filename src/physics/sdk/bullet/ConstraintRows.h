#pragma once

#include <BulletDynamics/ConstraintSolver/btTypedConstraint.h>

#include "physics/sdk/bullet/BulletActor.h"

namespace physics::sdk {

// The frame of one side of a joint: the actor's, or the world's without one.
inline btTransform SidePose(const CBulletActor* actor)
{
    return actor ? actor->GetActorTransform() : btTransform::getIdentity();
}

// Writes row `row` of a constraint: the rate along `direction` of `pointB` carried
// by body B, less that of `pointA` carried by body A, is held at or above `rhs`
// within the impulse bounds [low, high]; the impulse pushes B along the
// direction and A against it.
inline void WriteRow(btTypedConstraint::btConstraintInfo2* info, int row, const btVector3& direction,
                     const btVector3& pointA, const btVector3& pointB, const btVector3& centreA,
                     const btVector3& centreB, btScalar rhs, btScalar low, btScalar high)
{
    const int i = row * info->rowskip;
    const btVector3 armA = (pointA - centreA).cross(direction);
    const btVector3 armB = (pointB - centreB).cross(direction);
    for (int k = 0; k < 3; ++k)
    {
        info->m_J1linearAxis[i + k] = -direction[k];
        info->m_J1angularAxis[i + k] = -armA[k];
        info->m_J2linearAxis[i + k] = direction[k];
        info->m_J2angularAxis[i + k] = armB[k];
    }
    info->m_constraintError[i] = rhs;
    info->m_lowerLimit[i] = low;
    info->m_upperLimit[i] = high;
}

// The right-hand side of a one-sided row whose gap `gap` must stay at or above 0:
// closes an overlap at the error-reduction rate, allows closing a gap within one step.
inline btScalar OneSidedRhs(const btTypedConstraint::btConstraintInfo2* info, btScalar gap)
{
    return gap < 0 ? -gap * info->fps * info->erp : -gap * info->fps;
}

} // namespace physics::sdk
