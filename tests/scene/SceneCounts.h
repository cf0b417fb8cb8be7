#pragma once

#include <ostream>
#include <tuple>

#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSkeletonManager.h>
#include <OGRE/OgreTextureManager.h>

// What a scene holds, to compare before a load and after its teardown.
struct CSceneCounts
{
    std::size_t m_Nodes = 0;
    std::size_t m_Entities = 0;
    std::size_t m_Lights = 0;
    std::size_t m_BillboardSets = 0;
    std::size_t m_ParticleSystems = 0;
    std::size_t m_ManualObjects = 0;
    std::size_t m_TerrainLocations = 0;

    explicit CSceneCounts(Ogre::SceneManager* scene)
    {
        m_Nodes = CountNodes(*scene->getRootSceneNode());
        m_Entities = Count(scene, "Entity");
        m_Lights = Count(scene, "Light");
        m_BillboardSets = Count(scene, "BillboardSet");
        m_ParticleSystems = Count(scene, "ParticleSystem");
        m_ManualObjects = Count(scene, "ManualObject");
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        m_TerrainLocations = groups.resourceGroupExists("Terrain") ? groups.listResourceLocations("Terrain")->size() : 0;
    }

    auto Tie() const
    {
        return std::tie(m_Nodes, m_Entities, m_Lights, m_BillboardSets, m_ParticleSystems, m_ManualObjects,
                        m_TerrainLocations);
    }
    bool operator==(const CSceneCounts& o) const { return Tie() == o.Tie(); }

private:
    // The nodes that hold the rendering camera are the camera's business, not the scene's.
    static std::size_t CountNodes(const Ogre::Node& node)
    {
        if (const auto* scene = dynamic_cast<const Ogre::SceneNode*>(&node)) {
            for (const Ogre::MovableObject* object : scene->getAttachedObjects())
                if (object->getMovableType() == "Camera")
                    return 0;
        }
        std::size_t count = 1;
        for (const Ogre::Node* child : node.getChildren())
            count += CountNodes(*child);
        return count;
    }
    static std::size_t Count(Ogre::SceneManager* scene, const char* type)
    {
        return scene->getMovableObjects(type).size();
    }
};

inline std::ostream& operator<<(std::ostream& out, const CSceneCounts& c)
{
    return out << "nodes " << c.m_Nodes << ", entities " << c.m_Entities << ", lights " << c.m_Lights
               << ", billboard sets " << c.m_BillboardSets << ", particle systems " << c.m_ParticleSystems
               << ", manual objects " << c.m_ManualObjects << ", Terrain locations " << c.m_TerrainLocations;
}

// How many resources the managers hold, to see that loads leave none behind.
struct CResourceCounts
{
    std::size_t m_Meshes = Count(Ogre::MeshManager::getSingleton());
    std::size_t m_Materials = Count(Ogre::MaterialManager::getSingleton());
    std::size_t m_Textures = Count(Ogre::TextureManager::getSingleton());
    std::size_t m_Skeletons = Count(Ogre::SkeletonManager::getSingleton());

    static std::size_t Count(Ogre::ResourceManager& manager)
    {
        std::size_t count = 0;
        for (auto it = manager.getResourceIterator(); it.hasMoreElements(); it.moveNext())
            ++count;
        return count;
    }
};
