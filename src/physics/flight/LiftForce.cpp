#include "physics/flight/LiftForce.h"

#include <cmath>

#include "physics/PhyMgr.h"
#include "physics/sdk/IActor.h"

namespace physics {

namespace {

const float PI = 3.14159265358979f;

sds::CVector Normalised(sds::CVector v)
{
    v.Normalize();
    return v;
}

bool IsFinite(const sds::CVector& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The same angle within (-pi, pi].
float Wrapped(float angle)
{
    if (angle > PI)
        return angle - 2.0f * PI;
    if (angle <= -PI)
        return angle + 2.0f * PI;
    return angle;
}

} // namespace

CLiftForce::CLiftForce(const xml::CNodePtr& element, const xml::CNodePtr& svg)
    : CLocalForceAtLocalPos(element),
      m_Rho(element->GetAttribute<float>("Rho", 0.0f)),
      m_BaseSw(element->GetAttribute("Sw")->GetValue<float>()),
      m_Sw(m_BaseSw),
      m_AspectRatio(element->GetAttribute("AspectRatio")->GetValue<float>()),
      m_SweepAngle(element->GetAttribute("SweepAngle")->GetValue<float>()),
      m_Trim(element->GetAttribute("Trim")->GetValue<float>()),
      m_MaxLift(element->GetAttribute("MaxLift")->GetValue<float>()),
      m_Coefficient(element->GetChild("LiftCoefficient"), svg, [](float) { return true; })
{
}

void CLiftForce::Apply(sdk::IActor& actor, float scale)
{
    const sds::CQuaternion orientation = actor.GetGlobalOrientation();
    const sds::CVector position = actor.GetGlobalPosition();
    m_AirVelocity = actor.GetLocalPointVelocity(m_Position) - GetWind();
    CPhyMgr* world = CPhyMgr::GetSingleton();
    if (world)
        m_Rho = world->GetAirDensity(position.y);
    ResetWind();
    m_WorldPosition = orientation * m_Position + position;

    if (!IsFinite(m_AirVelocity) || !std::isfinite(m_Rho))
    {
        // A broken wind source or air table: no lift rather than a poisoned body.
        if (world && !m_ReportedBadAir)
            world->LogError("Lift force: the air velocity or density is not a number; no lift");
        m_ReportedBadAir = true;
        m_Force = sds::CVector::ZERO;
        return;
    }

    const sds::CVector forward = Normalised(orientation * sds::CVector::UNIT_X);
    m_WorldUp = Normalised(orientation * m_UpDirection);
    const sds::CVector span = forward.Cross(m_WorldUp);
    const float cosTrim = std::cos(m_Trim);
    const float sinTrim = std::sin(m_Trim);
    const sds::CVector chord = Normalised(forward * cosTrim - m_WorldUp * sinTrim);

    const float speed = m_AirVelocity.Length();
    const sds::CVector flow = speed != 0.0f ? m_AirVelocity / speed : m_AirVelocity;
    const sds::CVector projected = span.Cross(flow.Cross(span));
    const float angle = std::atan2(m_WorldUp.Dot(chord), forward.Dot(chord)) -
                        std::atan2(m_WorldUp.Dot(projected), forward.Dot(projected));
    m_AngleOfAttack = std::isnan(angle) ? 0.0f : Wrapped(angle);

    float lift = 0.5f * m_Rho * m_Sw * m_Coefficient.GetValue(m_AngleOfAttack) * speed * speed;
    if (lift > m_MaxLift)
        lift = m_MaxLift;
    // Lift stands across the air the cell meets (in the plane of its chord and
    // up, on its up side), so that the glide is set by lift against drag and
    // the canopy hangs from its lift as from a pendulum's pivot. The trim only
    // turns the chord: it sets the angle of attack, not the lift's direction.
    sds::CVector across = m_WorldUp;
    if (const float along = projected.Length(); along > 1e-6f)
    {
        const sds::CVector flowInPlane = projected / along;
        across = Normalised(m_WorldUp - flowInPlane * m_WorldUp.Dot(flowInPlane));
    }
    m_Force = orientation.Inverse() * across * (lift * scale);
    actor.AddLocalForceAtLocalPos(m_Force, m_Position, true);
}

} // namespace physics
