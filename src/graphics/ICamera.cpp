#include "graphics/ICamera.h"

#include <stdexcept>

namespace sds {

void ICamera::CheckDirection(unsigned direction)
{
    if (direction >= MOVING_MAX)
        throw std::out_of_range("invalid bitset<N> position");
}

void ICamera::CheckCorner(unsigned corner)
{
    if (corner >= CORNERS_MAX)
        throw std::out_of_range("The view has no corner " + std::to_string(corner) + "; corners are 0 to 7");
}

bool ICamera::IsWellInside(const CVector& point, const CVector& minimum, const CVector& maximum)
{
    const float margin = 0.1f;
    return minimum.x + margin <= point.x && point.x <= maximum.x - margin && minimum.y + margin <= point.y &&
           point.y <= maximum.y - margin && minimum.z + margin <= point.z && point.z <= maximum.z - margin;
}

} // namespace sds
