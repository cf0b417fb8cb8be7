#include "graphics/RopeGeometry.h"

#include <cmath>

#include "core/Exception.h"
#include "core/Helpers.h"

namespace sds {

namespace {

// Each corner's normal points away from the axis, the way the sides face.
const float kNormal = 0.70710677f;

} // namespace

CRopeGeometry::CRopeGeometry(float length, float width, unsigned segments)
    : m_Length(length), m_Width(width), m_Segments(segments)
{
    if (segments == 0 || segments > kMaxSegments)
        throw CException("A rope has from 1 to " + ToString(kMaxSegments) + " segments, not " + ToString(segments));
    if (!std::isfinite(length) || !std::isfinite(width) || length < 0.0f || width < 0.0f)
        throw CException("A rope's length and width must be finite and not below 0, not " + ToString(length) +
                         " and " + ToString(width));
    const unsigned n = segments;
    const float step = length / static_cast<float>(n);
    const float h = width * 0.5f;

    const float corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
    const float normals[4][2] = {{-kNormal, -kNormal}, {kNormal, -kNormal}, {kNormal, kNormal}, {-kNormal, kNormal}};
    for (unsigned ring = 0; ring <= n; ++ring) {
        const float y = -static_cast<float>(ring) * step;
        for (int k = 0; k < 4; ++k) {
            m_Vertices.insert(m_Vertices.end(), {corners[k][0], y, corners[k][1], normals[k][0], 0.0f, normals[k][1]});
            m_TexCoords.insert(m_TexCoords.end(), {0.25f * static_cast<float>(k), static_cast<float>(ring)});
        }
    }

    for (unsigned s = 0; s < n; ++s) {
        const std::uint16_t b = static_cast<std::uint16_t>(4 * s);
        const std::uint16_t sides[8][3] = {{0, 1, 4}, {4, 1, 5}, {5, 1, 6}, {6, 1, 2},
                                           {2, 3, 6}, {6, 3, 7}, {7, 3, 0}, {0, 4, 7}};
        for (const auto& triangle : sides) {
            for (std::uint16_t corner : triangle)
                m_Indices.push_back(static_cast<std::uint16_t>(b + corner));
        }
    }
    const std::uint16_t last = static_cast<std::uint16_t>(4 * n);
    m_Indices.insert(m_Indices.end(), {0, 2, 1, 2, 0, 3});
    m_Indices.insert(m_Indices.end(), {last, static_cast<std::uint16_t>(last + 1), static_cast<std::uint16_t>(last + 2),
                                       static_cast<std::uint16_t>(last + 2), static_cast<std::uint16_t>(last + 3), last});

    m_Bones.push_back({"RootBone", -1, CVector()});
    m_Bones.push_back({"RopeBone1", 0, CVector()});
    for (unsigned k = 2; k <= n; ++k)
        m_Bones.push_back({"RopeBone" + ToString(k), 0, CVector(0.0f, -static_cast<float>(k - 1) * step, 0.0f)});
    m_Bones.push_back({"RopeBone" + ToString(n + 1), 0, CVector(0.0f, -step, 0.0f)});

    auto weigh = [this](unsigned ring, unsigned bone, float weight) {
        for (unsigned k = 0; k < 4; ++k)
            m_Weights.push_back({static_cast<std::uint16_t>(4 * ring + k), static_cast<std::uint16_t>(bone), weight});
    };
    weigh(0, 1, 1.0f);
    for (unsigned ring = 1; ring < n; ++ring) {
        weigh(ring, ring + 1, 0.5f);
        weigh(ring, ring, 0.5f);
    }
    weigh(n, n, 1.0f);

    m_Bounds.Reset(CVector(-h, -length, -h));
    m_Bounds.Merge(CVector(h, 0.0f, h));
    // The last ring hangs a segment below the bone it follows, and a corner of
    // the square lies h·√2 off the axis.
    m_BoneRadius = step + h * 1.4142136f;
}

} // namespace sds
