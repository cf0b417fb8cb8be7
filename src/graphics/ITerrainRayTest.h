#pragma once

#include <memory>
#include <optional>

#include "core/Vector.h"

namespace sds {

// Where a ray meets the level's terrain. The scene manager's own ray queries
// know nothing of the paged terrain, so the drop zone registers one of these
// with the graphics manager while it lives; picking and the distance queries
// merge its hit with theirs.
class ITerrainRayTest
{
public:
    struct CHit
    {
        CVector m_Point;
        float m_Distance = 0.0f;  // along the unit direction
    };

    virtual ~ITerrainRayTest() = default;

    // The nearest terrain point along the ray (direction of any non-zero
    // length), or none.
    virtual std::optional<CHit> RayTest(const CVector& origin, const CVector& direction) const = 0;
};

typedef std::shared_ptr<const ITerrainRayTest> CTerrainRayTestPtr;

} // namespace sds
