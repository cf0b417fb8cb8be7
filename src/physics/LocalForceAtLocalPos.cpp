#include "physics/LocalForceAtLocalPos.h"

#include "physics/sdk/IActor.h"

namespace physics {

void CLocalForceAtLocalPos::Apply(sdk::IActor& actor, float scale)
{
    actor.AddLocalForceAtLocalPos(m_Force * scale, m_Position, true);
}

void CLocalForceAtLocalPos::Draw(sdk::IActor& actor) const
{
    const sds::CQuaternion orientation = actor.GetGlobalOrientation();
    DrawForce(actor, orientation * m_Force, orientation * m_Position);
}

} // namespace physics
