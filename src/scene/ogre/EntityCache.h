#pragma once

#include <map>
#include <set>
#include <string>

#include <OGRE/OgreSceneManager.h>

namespace wrappers {

// The entities the tile loaders of one scene place on their pages: one per
// mesh, named after the mesh with ".entity", shared by every loader of the
// scene so that two sets of surface objects may use one mesh. The entities
// hang under no node; the pages copy them.
class CEntityCache
{
public:
    explicit CEntityCache(Ogre::SceneManager* sceneMgr) : m_SceneMgr(sceneMgr) {}
    ~CEntityCache();
    CEntityCache(const CEntityCache&) = delete;
    CEntityCache& operator=(const CEntityCache&) = delete;

    // The mesh's entity, made on first use; null, with one error in the log,
    // when no resource group has the mesh or it cannot be loaded.
    Ogre::Entity* Get(const std::string& mesh);
    std::size_t GetSize() const { return m_Entities.size(); }

private:
    Ogre::SceneManager* m_SceneMgr;
    std::map<std::string, Ogre::Entity*> m_Entities;
    std::set<std::string> m_Missing;
};

} // namespace wrappers
