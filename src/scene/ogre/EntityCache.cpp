#include "scene/ogre/EntityCache.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreResourceGroupManager.h>

#include "core/ILogMgr.h"

namespace wrappers {

CEntityCache::~CEntityCache()
{
    for (const auto& entry : m_Entities)
        m_SceneMgr->destroyEntity(entry.second);
}

Ogre::Entity* CEntityCache::Get(const std::string& mesh)
{
    const auto found = m_Entities.find(mesh);
    if (found != m_Entities.end())
        return found->second;
    if (m_Missing.count(mesh))
        return nullptr;
    std::string failure;
    // A mesh made in memory, or one a resource group's folders hold.
    if (!Ogre::MeshManager::getSingleton().resourceExists(mesh) &&
        !Ogre::ResourceGroupManager::getSingleton().resourceExistsInAnyGroup(mesh)) {
        failure = "Mesh not found: " + mesh;
    } else {
        try {
            Ogre::Entity* entity = m_SceneMgr->createEntity(mesh + ".entity", mesh);
            m_Entities[mesh] = entity;
            return entity;
        } catch (const Ogre::Exception& e) {
            failure = "Mesh could not be loaded: " + mesh + ": " + e.getDescription();
        }
    }
    m_Missing.insert(mesh);
    if (sds::ILogMgr* log = sds::ILogMgr::GetSingleton())
        log->LogError(failure);
    return nullptr;
}

} // namespace wrappers
