#pragma once

#include "core/Vector.h"

namespace physics {

// The air velocity gathered for a force since it last acted.
class CWindAffected
{
public:
    void AddWind(const sds::CVector& wind) { m_Wind += wind; }
    const sds::CVector& GetWind() const { return m_Wind; }
    void ResetWind() { m_Wind = sds::CVector::ZERO; }

private:
    sds::CVector m_Wind;
};

} // namespace physics
