#include "scene/TerrainRayTest.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sds {

namespace {

const float kInfinity = std::numeric_limits<float>::infinity();
// A ray along the edge two triangles share must meet one of them however the
// rounding falls.
const float kEdgeTolerance = 1e-5f;

// The distance along the ray to the triangle, both faces, or infinity.
float HitDistance(const CVector& origin, const CVector& direction, const CVector& a, const CVector& b, const CVector& c)
{
    const CVector ab = b - a;
    const CVector ac = c - a;
    const CVector p = direction.Cross(ac);
    const float determinant = ab.Dot(p);
    if (std::fabs(determinant) < 1e-12f)
        return kInfinity;
    const float inverse = 1.0f / determinant;
    const CVector t = origin - a;
    const float u = t.Dot(p) * inverse;
    if (u < -kEdgeTolerance || u > 1.0f + kEdgeTolerance)
        return kInfinity;
    const CVector q = t.Cross(ab);
    const float v = direction.Dot(q) * inverse;
    if (v < -kEdgeTolerance || u + v > 1.0f + kEdgeTolerance)
        return kInfinity;
    const float distance = ac.Dot(q) * inverse;
    return distance >= 0.0f ? distance : kInfinity;
}

} // namespace

void CTerrainRayTest::CBox::Merge(const CVector& p)
{
    m_Min = CVector(std::min(m_Min.x, p.x), std::min(m_Min.y, p.y), std::min(m_Min.z, p.z));
    m_Max = CVector(std::max(m_Max.x, p.x), std::max(m_Max.y, p.y), std::max(m_Max.z, p.z));
}

bool CTerrainRayTest::CBox::Meets(const CVector& origin, const CVector& inverse, float limit) const
{
    float near = 0.0f;
    float far = limit;
    const float o[3] = {origin.x, origin.y, origin.z};
    const float inv[3] = {inverse.x, inverse.y, inverse.z};
    const float low[3] = {m_Min.x, m_Min.y, m_Min.z};
    const float high[3] = {m_Max.x, m_Max.y, m_Max.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (std::isinf(inv[axis])) {
            // Parallel to this slab: inside it or never.
            if (o[axis] < low[axis] || o[axis] > high[axis])
                return false;
            continue;
        }
        float t0 = (low[axis] - o[axis]) * inv[axis];
        float t1 = (high[axis] - o[axis]) * inv[axis];
        if (t0 > t1)
            std::swap(t0, t1);
        near = std::max(near, t0);
        far = std::min(far, t1);
        if (near > far)
            return false;
    }
    return true;
}

void CTerrainRayTest::AddTile(const CTileKey& key, const std::vector<std::shared_ptr<CTriangleMesh>>& meshes)
{
    CTile tile;
    std::vector<CTriangle> triangles;
    for (const auto& mesh : meshes) {
        for (std::size_t i = 0; i + 2 < mesh->m_Indices.size(); i += 3) {
            const std::uint32_t a = mesh->m_Indices[i], b = mesh->m_Indices[i + 1], c = mesh->m_Indices[i + 2];
            if (a >= mesh->m_Vertices.size() || b >= mesh->m_Vertices.size() || c >= mesh->m_Vertices.size())
                continue;
            triangles.push_back({mesh->m_Vertices[a], mesh->m_Vertices[b], mesh->m_Vertices[c]});
            for (const CVector& p : {mesh->m_Vertices[a], mesh->m_Vertices[b], mesh->m_Vertices[c]})
                tile.m_Box.Merge(p);
        }
    }
    if (triangles.empty()) {
        m_Tiles.erase(key);
        return;
    }
    // Each triangle goes into every column its footprint touches.
    tile.m_Columns.resize(kColumns * kColumns);
    const float width = std::max(tile.m_Box.m_Max.x - tile.m_Box.m_Min.x, 1e-6f) / kColumns;
    const float depth = std::max(tile.m_Box.m_Max.z - tile.m_Box.m_Min.z, 1e-6f) / kColumns;
    auto column = [](float value, float origin, float size) {
        return std::clamp(static_cast<int>((value - origin) / size), 0, kColumns - 1);
    };
    for (const CTriangle& t : triangles) {
        const float lowX = std::min({t.m_A.x, t.m_B.x, t.m_C.x}), highX = std::max({t.m_A.x, t.m_B.x, t.m_C.x});
        const float lowZ = std::min({t.m_A.z, t.m_B.z, t.m_C.z}), highZ = std::max({t.m_A.z, t.m_B.z, t.m_C.z});
        for (int cx = column(lowX, tile.m_Box.m_Min.x, width); cx <= column(highX, tile.m_Box.m_Min.x, width); ++cx) {
            for (int cz = column(lowZ, tile.m_Box.m_Min.z, depth); cz <= column(highZ, tile.m_Box.m_Min.z, depth); ++cz) {
                CColumn& target = tile.m_Columns[cx * kColumns + cz];
                target.m_Triangles.push_back(t);
                for (const CVector& p : {t.m_A, t.m_B, t.m_C})
                    target.m_Box.Merge(p);
            }
        }
    }
    m_Tiles[key] = std::move(tile);
}

void CTerrainRayTest::RemoveTile(const CTileKey& key)
{
    m_Tiles.erase(key);
}

std::optional<ITerrainRayTest::CHit> CTerrainRayTest::RayTest(const CVector& origin, const CVector& direction) const
{
    const float length = direction.Length();
    if (!(length > 0.0f) || !std::isfinite(length))
        return std::nullopt;
    const CVector unit = direction / length;
    const CVector inverse(1.0f / unit.x, 1.0f / unit.y, 1.0f / unit.z);
    float nearest = kInfinity;
    for (const auto& entry : m_Tiles) {
        const CTile& tile = entry.second;
        if (!tile.m_Box.Meets(origin, inverse, nearest))
            continue;
        for (const CColumn& column : tile.m_Columns) {
            if (column.m_Triangles.empty() || !column.m_Box.Meets(origin, inverse, nearest))
                continue;
            for (const CTriangle& t : column.m_Triangles)
                nearest = std::min(nearest, HitDistance(origin, unit, t.m_A, t.m_B, t.m_C));
        }
    }
    if (nearest == kInfinity)
        return std::nullopt;
    return CHit{origin + unit * nearest, nearest};
}

} // namespace sds
