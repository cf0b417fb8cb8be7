#pragma once

#include "core/Node.h"
#include "physics/LocalForceAtLocalPos.h"
#include "physics/WindAffected.h"
#include "physics/flight/BezierFunc.h"

namespace physics {

// The lift of one canopy cell: 0.5 x density x Sw x CL x V squared, with CL
// looked up by the angle of attack, across the air the cell meets, at most
// "MaxLift". The trim tilts the chord forward and so lowers the angle of
// attack. The cell sets the trim (risers) and the area Sw (toggle) between
// steps; the lift knows nothing of inputs.
class CLiftForce : public CLocalForceAtLocalPos, public CWindAffected
{
public:
    // The "ForceLift" element: beside the keys of every force "Sw", "AspectRatio",
    // "SweepAngle", "Trim", "MaxLift" and "Rho" (optional), and the child
    // "LiftCoefficient" naming its curve in the document `svg`.
    CLiftForce(const xml::CNodePtr& element, const xml::CNodePtr& svg);

    // Pushes the cell `actor` for the next step; `scale` is the cell's lift scale.
    void Apply(sdk::IActor& actor, float scale) override;

    float GetBaseSw() const { return m_BaseSw; }
    float GetSw() const { return m_Sw; }
    void SetSw(float sw) { m_Sw = sw; }
    float GetTrim() const { return m_Trim; }
    void SetTrim(float trim) { m_Trim = trim; }
    float GetMaxLift() const { return m_MaxLift; }
    float GetAspectRatio() const { return m_AspectRatio; }
    float GetSweepAngle() const { return m_SweepAngle; }
    float GetDensity() const { return m_Rho; }
    // In the actor's frame; set by the cell.
    const sds::CVector& GetUpDirection() const { return m_UpDirection; }
    void SetUpDirection(const sds::CVector& up) { m_UpDirection = up; }

    // What the last step found: the angle of attack (radians, within -pi to pi),
    // the air velocity of the point (world), the cell's up axis (world) and
    // the world point the lift acted at.
    float GetAngleOfAttack() const { return m_AngleOfAttack; }
    const sds::CVector& GetAirVelocity() const { return m_AirVelocity; }
    const sds::CVector& GetWorldUp() const { return m_WorldUp; }
    const sds::CVector& GetWorldPosition() const { return m_WorldPosition; }
    sds::CBezierFunc& GetCoefficientCurve() { return m_Coefficient; }
    const sds::CBezierFunc& GetCoefficientCurve() const { return m_Coefficient; }

private:
    float m_Rho;
    float m_BaseSw;
    float m_Sw;
    float m_AspectRatio;
    float m_AngleOfAttack = 0.0f;
    float m_SweepAngle;
    float m_Trim;
    float m_MaxLift;
    sds::CVector m_UpDirection;
    sds::CVector m_WorldPosition;
    sds::CVector m_AirVelocity;
    sds::CVector m_WorldUp;
    sds::CBezierFunc m_Coefficient;
    bool m_ReportedBadAir = false;
};

} // namespace physics
