#include "scene/ogre/TerrainLoader.h"

#include <algorithm>

#include "scene/ogre/MeshToTriangles.h"

namespace wrappers {

CTerrainLoader::CTerrainLoader(Ogre::SceneManager* sceneMgr, const xml::CNodePtr& tiles, int kind,
                               std::shared_ptr<CEntityCache> entities, std::shared_ptr<sds::CTerrainRayTest> rayTest)
    : CTileLoader<CTerrainTile>(sceneMgr, kind, std::move(entities)), m_RayTest(std::move(rayTest))
{
    const std::string prefix = tiles->GetAttribute("Name")->GetValue() + ".";
    xml::ForEachChild(*tiles, "Tile", [&](const xml::CNodePtr& tile) {
        const std::string name = tile->GetAttribute("Name")->GetValue();
        const sds::CTileKey key = sds::ParseTileName(name);
        m_MaxX = std::max(m_MaxX, key.x);
        m_MaxZ = std::max(m_MaxZ, key.z);
        m_Tiles[key] = CTerrainTile{prefix + name + ".0.mesh", xml::ParseVector(tile->GetAttribute("Pos")->GetValue())};
    });
}

void CTerrainLoader::loadPage(Forests::PageInfo& page)
{
    if (page.xIndex > m_MaxX || page.zIndex > m_MaxZ)
        return;
    const sds::CTileKey key{page.xIndex, page.zIndex};
    if (const CTerrainTile* tile = FindTile(key))
        LoadTile(key, *tile);
}

void CTerrainLoader::unloadPage(Forests::PageInfo& page)
{
    if (m_RayTest)
        m_RayTest->RemoveTile(sds::CTileKey{page.xIndex, page.zIndex});
}

void CTerrainLoader::LoadTile(const sds::CTileKey& key, const CTerrainTile& tile)
{
    Ogre::Entity* entity = m_Entities->Get(tile.m_Mesh);
    if (!entity)
        return;
    const Ogre::Vector3 position(tile.m_Position.x, tile.m_Position.y, tile.m_Position.z);
    addEntity(entity, position, Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE, Ogre::ColourValue::White);
    if (m_RayTest) {
        CTriangleMeshes triangles;
        MeshToTriangles(*entity->getMesh(), triangles, position, Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE);
        m_RayTest->AddTile(key, triangles);
    }
}

} // namespace wrappers
