#include "physics/PhyMovingBody.h"

#include "physics/IWindRegion.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IShape.h"

namespace physics {

CPhyMovingBody::CPhyMovingBody(const xml::CNodePtr& gravity, const xml::CNodePtr& drag)
    : m_Gravity(gravity), m_Drag(drag)
{
}

void CPhyMovingBody::OnTrigger(sdk::IShape& triggerShape, sdk::IShape&, std::uint32_t)
{
    auto* region = dynamic_cast<IWindRegion*>(triggerShape.GetActor().GetUserData());
    if (region && GetActor())
        m_Drag.AddWind(region->GetWind(GetActor()->GetGlobalPosition()));
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
