#pragma once

#include <map>

#include "core/Vector.h"

namespace sds {

// A function of one variable held as an ordered table: looked up with the
// table's end values outside it and straight lines in between. Kept by value
// in the forces and cells that use it.
class CInterpolator
{
public:
    virtual ~CInterpolator() = default;

    // Also kept as the last value.
    virtual float GetValue(float x);
    float GetLastValue() const { return m_LastValue; }
    const std::map<float, float>& GetTable() const { return m_Table; }
    // The corners of the output axes: x is the argument, z the value.
    const CVector& GetMin() const { return m_Min; }
    const CVector& GetMax() const { return m_Max; }

protected:
    std::map<float, float> m_Table;
    CVector m_Max;
    CVector m_Min;
    float m_LastValue = 0.0f;
};

} // namespace sds
