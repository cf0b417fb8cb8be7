#include "physics/ForceAtLocalPos.h"

#include "physics/sdk/IActor.h"

namespace physics {

void CForceAtLocalPos::Apply(sdk::IActor& actor, float scale)
{
    actor.AddForceAtLocalPos(m_Force * scale, m_Position, true);
}

void CForceAtLocalPos::Draw(sdk::IActor& actor) const
{
    DrawForce(actor, m_Force, actor.GetGlobalOrientation() * m_Position);
}

} // namespace physics
