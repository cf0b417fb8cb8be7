#include "physics/DragForce.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "physics/PhyMgr.h"
#include "physics/sdk/IActor.h"

namespace physics {

CDragForce::CDragForce(const xml::CNodePtr& node)
    : CForceAtLocalPos(node),
      m_Rho(node->GetAttribute<float>("Rho", 0.0f)),
      m_Cd(node->GetAttribute("Cd")->GetValue<float>()),
      m_Area(node->GetAttribute("Area")->GetValue<float>()),
      m_MaxMagnitude(node->GetAttribute<float>("MaxMagnitude", FLT_MAX))
{
}

void CDragForce::Apply(sdk::IActor& actor, float scale)
{
    const sds::CVector airVelocity = actor.GetLocalPointVelocity(m_Position) - GetWind();
    CPhyMgr* world = CPhyMgr::GetSingleton();
    if (world)
        m_Rho = world->GetAirDensity(actor.GetGlobalPosition().y);

    sds::CVector direction = -airVelocity;
    const float speed = direction.Length();
    if (speed != 0.0f)
        direction = direction / speed;
    float magnitude = speed * speed * m_Rho * 0.5f * m_Cd * m_Area;

    if (!std::isfinite(magnitude) || !std::isfinite(speed))
    {
        if (world)
            world->LogError("Drag force magnitude is too large");
        m_Magnitude = 0.0f;
        m_Force = sds::CVector::ZERO;
    }
    else
    {
        // The size may change by "MaxChange" a step, so a drag that starts
        // large (a canopy opening at free-fall speed) builds up over a few steps.
        const float change = m_MaxChange >= 0.0f ? m_MaxChange : FLT_MAX;
        magnitude = std::clamp(magnitude, std::max(0.0f, m_Magnitude - change), m_Magnitude + change);
        m_Magnitude = std::min(magnitude, m_MaxMagnitude);
        m_Force = direction * (m_Magnitude * scale);
    }
    actor.AddForceAtLocalPos(m_Force, m_Position, true);
    ResetWind();
}

} // namespace physics
