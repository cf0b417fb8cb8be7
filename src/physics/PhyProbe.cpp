#include "physics/PhyProbe.h"

#include "physics/sdk/IActor.h"

namespace physics {

CPhyProbe::CPhyProbe(const xml::CNodePtr& gravity, const xml::CNodePtr& drag, IWindMgr& windMgr)
    : CPhyMovingBody(gravity, drag), m_WindMgr(windMgr)
{
}

void CPhyProbe::Update(const sds::CTiming&)
{
    if (!GetActor())
        return;
    CPhyMovingBody::ApplyWind(m_WindMgr);
    ApplyForces(*GetActor());
}

} // namespace physics
