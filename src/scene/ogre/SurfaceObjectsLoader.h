#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "core/Vector.h"
#include "scene/PlacementFile.h"
#include "scene/ogre/TileLoader.h"

namespace wrappers {

// A tile of surface objects: its entry in the placement file's table (origin,
// number of mesh groups, where they begin).
typedef sds::CPlacementTile CSurfaceObjectsTile;

// Places the surface objects of a placement file (".so") on the pages of
// their tiles, each shown with the probability of the saturation. The file
// stays open; a tile's placements are read when its page loads.
class CSurfaceObjectsLoader : public CTileLoader<CSurfaceObjectsTile>
{
public:
    // A file that cannot be opened throws "Could not open file: " + name, one
    // with another header "Incorrect header: " + name.
    CSurfaceObjectsLoader(Ogre::SceneManager* sceneMgr, const std::string& fileName, float saturation, int kind,
                          bool logInfo, std::shared_ptr<CEntityCache> entities);

    void loadPage(Forests::PageInfo& page) override;

    const sds::CVector& GetFirstCorner() const { return m_File->GetFirstCorner(); }
    const sds::CVector& GetSecondCorner() const { return m_File->GetSecondCorner(); }
    const sds::CVector& GetTileSize() const { return m_File->GetTileSize(); }

protected:
    void LoadTile(const sds::CTileKey& key, const CSurfaceObjectsTile& tile) override;

private:
    float m_Saturation;
    std::ifstream m_Stream;
    std::unique_ptr<sds::CPlacementFile> m_File;
    bool m_LogInfo;
};

} // namespace wrappers
