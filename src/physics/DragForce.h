#pragma once

#include "physics/ForceAtLocalPos.h"
#include "physics/WindAffected.h"

namespace physics {

// Aerodynamic drag at a point of a body: against the point's velocity through
// the air, 0.5 x density x "Cd" x "Area" x speed squared, changing its size by
// at most "MaxChange" from one step to the next and at most "MaxMagnitude";
// then times the scale of the call.
class CDragForce : public CForceAtLocalPos, public CWindAffected
{
public:
    explicit CDragForce(const xml::CNodePtr& node);

    void Apply(sdk::IActor& actor, float scale) override;

    float GetArea() const { return m_Area; }
    void SetArea(float area) { m_Area = area; }
    float GetDensity() const { return m_Rho; }
    float GetCd() const { return m_Cd; }
    float GetMaxMagnitude() const { return m_MaxMagnitude; }
    // The size of the last drag before its scale.
    float GetMagnitude() const { return m_Magnitude; }

private:
    float m_Rho;
    float m_Cd;
    float m_Area;
    float m_MaxMagnitude;
    // Kept unscaled, so that the limits hold whatever scale a caller gives.
    float m_Magnitude = 0.0f;
};

} // namespace physics
