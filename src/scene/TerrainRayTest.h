#pragma once

#include <map>
#include <memory>
#include <vector>

#include "core/services/TriangleMesh.h"
#include "graphics/ITerrainRayTest.h"
#include "scene/TileKey.h"

namespace sds {

// Where a ray first meets the terrain tiles that are loaded: exact hits on
// their triangles, both faces. The tiles come and go with their pages; each
// is split into columns of triangles so that a ray tests only the few it
// passes through.
class CTerrainRayTest : public ITerrainRayTest
{
public:
    // Replaces what the tile held; the meshes are in world space.
    void AddTile(const CTileKey& key, const std::vector<std::shared_ptr<CTriangleMesh>>& meshes);
    void RemoveTile(const CTileKey& key);
    std::size_t GetTileCount() const { return m_Tiles.size(); }

    std::optional<CHit> RayTest(const CVector& origin, const CVector& direction) const override;

private:
    struct CBox
    {
        CVector m_Min = CVector::MAX_POSITIVE;
        CVector m_Max = CVector::MAX_NEGATIVE;

        void Merge(const CVector& p);
        // The ray's parameter range inside the box, when it meets it before `limit`.
        bool Meets(const CVector& origin, const CVector& inverse, float limit) const;
    };
    struct CTriangle
    {
        CVector m_A, m_B, m_C;
    };
    struct CColumn
    {
        CBox m_Box;
        std::vector<CTriangle> m_Triangles;
    };
    struct CTile
    {
        CBox m_Box;
        std::vector<CColumn> m_Columns;
    };

    static const int kColumns = 8;

    std::map<CTileKey, CTile> m_Tiles;
};

} // namespace sds
