#include "physics/WindAffected.h"

#include "physics/PhyMgr.h"

namespace physics {

void CWindAffected::AddWind(const sds::CVector& wind)
{
    const std::uint64_t step = CPhyMgr::GetStepCount();
    if (step != m_Step)
    {
        m_Wind = sds::CVector::ZERO;
        m_Step = step;
    }
    m_Wind += wind;
}

sds::CVector CWindAffected::GetWind() const
{
    return m_Step == CPhyMgr::GetStepCount() ? m_Wind : sds::CVector::ZERO;
}

void CWindAffected::ResetWind() { m_Wind = sds::CVector::ZERO; }

} // namespace physics
