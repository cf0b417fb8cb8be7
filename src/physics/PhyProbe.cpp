#include "physics/PhyProbe.h"

#include "physics/IWindMgr.h"
#include "physics/sdk/IActor.h"

namespace physics {

CPhyProbe::CPhyProbe(const xml::CNodePtr& gravity, const xml::CNodePtr& drag, IWindMgr& windMgr)
    : CPhyMovingBody(gravity, drag), m_WindMgr(windMgr)
{
}

void CPhyProbe::OnTrigger(sdk::IShape& triggerShape, sdk::IShape& otherShape, std::uint32_t status)
{
    CPhyObj::OnTrigger(triggerShape, otherShape, status);
}

void CPhyProbe::Update(const sds::CTiming&)
{
    if (!GetActor())
        return;
    m_Drag.AddWind(m_WindMgr.GetWind(GetActor()->GetGlobalPosition()));
    ApplyForces(*GetActor());
}

} // namespace physics
