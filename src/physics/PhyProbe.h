#pragma once

#include "physics/PhyMovingBody.h"

namespace physics {

class IWindMgr;

// A free body that tries the air model: it samples the wind where it is.
class CPhyProbe : public CPhyMovingBody
{
public:
    CPhyProbe(const xml::CNodePtr& gravity, const xml::CNodePtr& drag, IWindMgr& windMgr);

    // The probe asks the wind manager itself every step, in a region or not.
    void ApplyWind(IWindMgr&) override {}
    void Update(const sds::CTiming& timing) override;

private:
    IWindMgr& m_WindMgr;
};

} // namespace physics
