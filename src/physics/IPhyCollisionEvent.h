#pragma once

#include <cstdint>

#include "core/Vector.h"

namespace physics {

// One contact point of a touch that has just begun, and the materials of the
// two touching shapes, the smaller index first. Which body is which is told
// by the material pair.
struct IPhyCollisionEvent
{
    sds::CVector m_Point;
    std::uint16_t m_FirstMaterial = 0;
    std::uint16_t m_SecondMaterial = 0;
};

} // namespace physics
