#include "core/BoundingBox.h"

#include <algorithm>

namespace sds {

void CBoundingBox::Merge(const CVector& point)
{
    if (m_Empty) {
        Reset(point);
        return;
    }
    m_Min = {std::min(m_Min.x, point.x), std::min(m_Min.y, point.y), std::min(m_Min.z, point.z)};
    m_Max = {std::max(m_Max.x, point.x), std::max(m_Max.y, point.y), std::max(m_Max.z, point.z)};
}

} // namespace sds
