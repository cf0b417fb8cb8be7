#pragma once

#include <map>
#include <memory>

#include <OGRE/OgreSceneManager.h>

#include "scene/TileKey.h"
#include "scene/ogre/EntityCache.h"
#include "scene/ogre/paging/PageLoader.h"

namespace wrappers {

// A page loader over tiles of type T kept by their grid key; a page of the
// pager shows the tile of the same key.
template <class T>
class CTileLoader : public Forests::PageLoader
{
public:
    // `kind`: 1 for the terrain, 2 for surface objects.
    CTileLoader(Ogre::SceneManager* sceneMgr, int kind, std::shared_ptr<CEntityCache> entities)
        : m_SceneMgr(sceneMgr), m_Kind(kind), m_Entities(std::move(entities))
    {
    }

    const std::map<sds::CTileKey, T>& GetTiles() const { return m_Tiles; }
    int GetKind() const { return m_Kind; }

protected:
    // Places the tile's content on the page being loaded.
    virtual void LoadTile(const sds::CTileKey& key, const T& tile) = 0;

    const T* FindTile(const sds::CTileKey& key) const
    {
        const auto found = m_Tiles.find(key);
        return found == m_Tiles.end() ? nullptr : &found->second;
    }

    Ogre::SceneManager* m_SceneMgr;
    int m_Kind;
    std::map<sds::CTileKey, T> m_Tiles;
    std::shared_ptr<CEntityCache> m_Entities;
};

} // namespace wrappers
