#pragma once

#include <cstdint>

#include "core/Vector.h"

namespace physics {

// The air velocity gathered for a force during one physics step. Wind that the
// force has not used by the time the next step begins is forgotten, so that a
// body left out of the updates for a while does not meet all of it at once.
class CWindAffected
{
public:
    void AddWind(const sds::CVector& wind);
    // The wind gathered in the present step.
    sds::CVector GetWind() const;
    void ResetWind();

private:
    sds::CVector m_Wind;
    std::uint64_t m_Step = 0; // the world's step count when it was gathered
};

} // namespace physics
