#include "physics/WindMgr.h"

#include "physics/ScriptWindRegion.h"
#include "physics/WindRegion.h"

namespace physics {

std::shared_ptr<IWindRegion> CWindMgr::CreateRegion(const xml::CNodePtr& node)
{
    if (node->HasChild("Function"))
        return std::make_shared<CScriptWindRegion>(node, m_MaxWindStrength);
    return std::make_shared<CWindRegion>(node);
}

sds::CVector CWindMgr::GetWind(const sds::CVector& position)
{
    sds::CVector sum = sds::CVector::ZERO;
    for (const auto& region : m_Regions)
        sum += region->GetWind(position);
    if (sum.Length() > m_MaxWindStrength)
    {
        sum.Normalize();
        sum *= m_MaxWindStrength;
    }
    return sum;
}

void CWindMgr::Update(const sds::CTiming& timing)
{
    for (const auto& region : m_Regions)
        region->Update(timing);
}

void CWindMgr::LoadRegions(const xml::CNodePtr& wind)
{
    m_Regions.clear();
    if (!wind || !wind->GetAttribute<bool>("Enabled", false) || !wind->HasChild("Region"))
        return;
    for (auto it = wind->GetChildrenBegin("Region"); it != wind->GetChildrenEnd("Region"); ++it)
        m_Regions.push_back(CreateRegion(it->second));
}

} // namespace physics
