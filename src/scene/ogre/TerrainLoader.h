#pragma once

#include <climits>
#include <memory>
#include <string>

#include "core/Node.h"
#include "core/Vector.h"
#include "scene/TerrainRayTest.h"
#include "scene/ogre/TileLoader.h"

namespace wrappers {

// One terrain tile: its mesh and where the mesh stands.
struct CTerrainTile
{
    std::string m_Mesh;
    sds::CVector m_Position;
};

// Places the terrain tile of a page's grid key on that page, and keeps the
// ray test's copy of the loaded tiles.
class CTerrainLoader : public CTileLoader<CTerrainTile>
{
public:
    // Reads the "Tile" children of the tiles document ("Name" "X.Z", "Pos");
    // the mesh of a tile is the document's "Name" + "." + the tile name + ".0.mesh".
    CTerrainLoader(Ogre::SceneManager* sceneMgr, const xml::CNodePtr& tiles, int kind,
                   std::shared_ptr<CEntityCache> entities, std::shared_ptr<sds::CTerrainRayTest> rayTest);

    void loadPage(Forests::PageInfo& page) override;
    void unloadPage(Forests::PageInfo& page) override;

    int GetMaxX() const { return m_MaxX; }
    int GetMaxZ() const { return m_MaxZ; }

protected:
    void LoadTile(const sds::CTileKey& key, const CTerrainTile& tile) override;

private:
    int m_MaxX = INT_MIN;
    int m_MaxZ = INT_MIN;
    std::shared_ptr<sds::CTerrainRayTest> m_RayTest;
};

} // namespace wrappers
