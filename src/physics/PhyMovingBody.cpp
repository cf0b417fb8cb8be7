#include "physics/PhyMovingBody.h"

#include "physics/IWindMgr.h"
#include "physics/sdk/IActor.h"

namespace physics {

CPhyMovingBody::CPhyMovingBody(const xml::CNodePtr& gravity, const xml::CNodePtr& drag)
    : m_Gravity(gravity), m_Drag(drag)
{
}

void CPhyMovingBody::ApplyWind(IWindMgr& source)
{
    if (const sdk::IActor* actor = GetActor())
        m_Drag.AddWind(source.GetWind(actor->GetGlobalPosition()));
}

void CPhyMovingBody::ApplyForces(sdk::IActor& actor)
{
    m_Gravity.Apply(actor, 1.0f);
    m_Drag.Apply(actor, 1.0f);
}

void CPhyMovingBody::DrawForces()
{
    if (!GetActor())
        return;
    m_Gravity.Draw(*GetActor());
    m_Drag.Draw(*GetActor());
}

void CPhyMovingBody::Update(const sds::CTiming&)
{
    if (GetActor())
        ApplyForces(*GetActor());
}

} // namespace physics
