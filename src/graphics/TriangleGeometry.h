#pragma once

#include "core/BoundingBox.h"
#include "core/Vector.h"

namespace sds {

// The one flat triangle of a triangle object, from its three corners.
struct CTriangleGeometry
{
    CTriangleGeometry(const CVector& a, const CVector& b, const CVector& c);

    CVector m_Corners[3];
    // normalise((B − A) × (C − B)); corners on one line (or on one point) have
    // no such normal and get a unit normal across the line instead.
    CVector m_Normal;
    CBoundingBox m_Bounds;
};

} // namespace sds
