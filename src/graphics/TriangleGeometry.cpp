#include "graphics/TriangleGeometry.h"

#include <algorithm>
#include <cmath>

namespace sds {

namespace {

// A unit vector square to the direction; +y when there is no direction.
CVector Across(const CVector& d)
{
    const float length = d.Length();
    if (!(length > 0.0f) || !std::isfinite(length))
        return CVector::UNIT_Y;
    const float x = std::fabs(d.x), y = std::fabs(d.y), z = std::fabs(d.z);
    const CVector& leastAligned = (x <= y && x <= z) ? CVector::UNIT_X : (y <= z ? CVector::UNIT_Y : CVector::UNIT_Z);
    CVector across = d.Cross(leastAligned);
    across.Normalize();
    return across;
}

} // namespace

CTriangleGeometry::CTriangleGeometry(const CVector& a, const CVector& b, const CVector& c)
    : m_Corners{a, b, c}
{
    const CVector ab = b - a;
    const CVector bc = c - b;
    const CVector ca = a - c;
    m_Normal = ab.Cross(bc);
    const float length = m_Normal.Length();
    // Relative to the edges, so that tiny and huge triangles are judged alike.
    const float scale = std::max({ab.Dot(ab), bc.Dot(bc), ca.Dot(ca)});
    if (std::isfinite(length) && length > 1e-6f * scale && length > 0.0f) {
        m_Normal = m_Normal / length;
    } else {
        const CVector& longest = ab.Dot(ab) >= bc.Dot(bc) ? (ab.Dot(ab) >= ca.Dot(ca) ? ab : ca)
                                                          : (bc.Dot(bc) >= ca.Dot(ca) ? bc : ca);
        m_Normal = Across(longest);
    }
    m_Bounds.Reset(a);
    m_Bounds.Merge(b);
    m_Bounds.Merge(c);
}

} // namespace sds
