#pragma once

#include "core/Vector.h"

namespace sds {

// Axis-aligned box, minimum then maximum.
class CBoundingBox
{
public:
    CVector m_Min;
    CVector m_Max;
    bool m_Empty = true;

    CVector GetCenter() const { return (m_Min + m_Max) * 0.5f; }

    void Reset(const CVector& point)
    {
        m_Min = m_Max = point;
        m_Empty = false;
    }

    void Merge(const CVector& point);
};

} // namespace sds
