#pragma once

#include "physics/ForceAtLocalPos.h"
#include "physics/WindAffected.h"

namespace physics {

// Aerodynamic drag at a point of a body: against the point's velocity through
// the air, 0.5 x density x "Cd" x "Area" x speed squared, at most "MaxMagnitude",
// and changing its size by at most "MaxChange" from one step to the next.
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

private:
    float m_Rho;
    float m_Cd;
    float m_Area;
    float m_MaxMagnitude;
};

} // namespace physics
