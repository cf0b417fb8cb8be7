#include "physics/sdk/JointDesc.h"

#include <cmath>

#include "physics/sdk/IActor.h"

namespace physics::sdk {

namespace {

// The point or direction in the actor's frame; the world's frame without an actor.
sds::CVector ToActorFrame(const IActor* actor, const sds::CVector& world, bool isPoint)
{
    if (!actor)
        return world;
    const sds::CQuaternion inverse = actor->GetGlobalOrientation().Inverse();
    return inverse * (isPoint ? world - actor->GetGlobalPosition() : world);
}

// A unit vector square to `axis`.
sds::CVector AnyNormal(const sds::CVector& axis)
{
    const sds::CVector other = std::fabs(axis.x) < 0.9f ? sds::CVector::UNIT_X : sds::CVector::UNIT_Y;
    sds::CVector normal = axis.Cross(other);
    normal.Normalize();
    return normal;
}

} // namespace

void CJointDesc::SetGlobalAnchor(const sds::CVector& worldAnchor)
{
    for (int i = 0; i < 2; ++i)
        m_LocalAnchor[i] = ToActorFrame(m_Actors[i], worldAnchor, true);
}

void CJointDesc::SetGlobalAxis(const sds::CVector& worldAxis)
{
    sds::CVector axis = worldAxis;
    axis.Normalize();
    const sds::CVector normal = AnyNormal(axis);
    for (int i = 0; i < 2; ++i)
    {
        m_LocalAxis[i] = ToActorFrame(m_Actors[i], axis, false);
        m_LocalNormal[i] = ToActorFrame(m_Actors[i], normal, false);
    }
}

} // namespace physics::sdk
