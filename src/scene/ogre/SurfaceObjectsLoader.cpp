#include "scene/ogre/SurfaceObjectsLoader.h"

#include "core/Exception.h"
#include "core/Helpers.h"
#include "core/ILogMgr.h"

namespace wrappers {

namespace {

void LogInfo(const std::string& text)
{
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogMessage(text);
}

} // namespace

CSurfaceObjectsLoader::CSurfaceObjectsLoader(Ogre::SceneManager* sceneMgr, const std::string& fileName,
                                             float saturation, int kind, bool logInfo,
                                             std::shared_ptr<CEntityCache> entities)
    : CTileLoader<CSurfaceObjectsTile>(sceneMgr, kind, std::move(entities)), m_Saturation(saturation),
      m_Stream(fileName, std::ios::binary), m_LogInfo(logInfo)
{
    if (!m_Stream)
        throw sds::CException("Could not open file: " + fileName);
    m_File.reset(new sds::CPlacementFile(m_Stream, fileName));
    if (m_LogInfo)
        LogInfo(fileName + " has " + sds::ToString(static_cast<unsigned>(m_File->GetTileCount())) +
                " tiles with size = " + sds::VectorToString(m_File->GetTileSize()));
    for (const sds::CPlacementTile& tile : m_File->GetTiles()) {
        if (m_LogInfo)
            LogInfo(fileName + " " + sds::ToString(tile.m_Key.x) + "," + sds::ToString(tile.m_Key.z) + " has " +
                    sds::ToString(static_cast<unsigned>(tile.m_Groups)) + " objects");
        m_Tiles[tile.m_Key] = tile;
    }
}

void CSurfaceObjectsLoader::loadPage(Forests::PageInfo& page)
{
    const sds::CTileKey key{page.xIndex, page.zIndex};
    const CSurfaceObjectsTile* tile = FindTile(key);
    if (!tile)
        return;
    if (m_LogInfo)
        LogInfo("Loading tile " + sds::ToString(key.x) + "," + sds::ToString(key.z));
    LoadTile(key, *tile);
}

void CSurfaceObjectsLoader::LoadTile(const sds::CTileKey&, const CSurfaceObjectsTile& tile)
{
    for (const sds::CPlacementGroup& group : m_File->ReadTile(tile)) {
        if (m_LogInfo)
            LogInfo(group.m_Mesh + " has " + sds::ToString(static_cast<unsigned>(group.m_Placements.size())) +
                    " placements");
        Ogre::Entity* entity = m_Entities->Get(group.m_Mesh);
        if (!entity)
            continue;
        for (const sds::CPlacement& placement : group.m_Placements) {
            if (!(sds::GetRandomUnit() < m_Saturation))
                continue;
            const Ogre::Vector3 position(tile.m_Origin.x + placement.x, tile.m_Origin.y + placement.y,
                                         tile.m_Origin.z + placement.z);
            addEntity(entity, position, Ogre::Quaternion(Ogre::Degree(placement.m_Yaw), Ogre::Vector3::UNIT_Y),
                      Ogre::Vector3(placement.m_Scale), Ogre::ColourValue::White);
        }
    }
}

} // namespace wrappers
