#include "physics/flight/VelocityVector.h"

#include "physics/sdk/IActor.h"

namespace physics {

CVelocityVector::CVelocityVector(const xml::CNodePtr& node) : CForceAtLocalPos(node)
{
    m_Color.v[0] = m_Color.v[1] = m_Color.v[2] = m_Color.v[3] = 1.0f;
}

void CVelocityVector::Apply(sdk::IActor& actor, float)
{
    m_Force = actor.GetLocalPointVelocity(m_Position) * 10.0f;
}

} // namespace physics
