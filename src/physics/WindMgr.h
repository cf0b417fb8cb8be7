#pragma once

#include "physics/IWindMgr.h"

namespace physics {

// The world's wind: the sum of its regions' air velocities, no stronger than
// the largest wind strength.
class CWindMgr : public IWindMgr
{
public:
    explicit CWindMgr(float maxWindStrength) : m_MaxWindStrength(maxWindStrength) {}

    CRegions& GetRegions() override { return m_Regions; }
    std::shared_ptr<IWindRegion> CreateRegion(const xml::CNodePtr& node) override;
    sds::CVector GetWind(const sds::CVector& position) override;
    void Update(const sds::CTiming& timing) override;

    // Replaces the regions by those of a level's "Wind" element (when it is
    // "Enabled" and has "Region" children).
    void LoadRegions(const xml::CNodePtr& wind);
    float GetMaxWindStrength() const { return m_MaxWindStrength; }

private:
    CRegions m_Regions;
    float m_MaxWindStrength;
};

} // namespace physics
