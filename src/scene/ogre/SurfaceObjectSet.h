#pragma once

#include <memory>
#include <string>

#include <OGRE/OgreSceneManager.h>

#include "core/Node.h"
#include "scene/ogre/EntityCache.h"
#include "scene/ogre/SurfaceObjectsLoader.h"
#include "scene/ogre/paging/ImpostorTextures.h"
#include "scene/ogre/paging/MeshGeometryCache.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace wrappers {

// One set of surface objects of a zone: its placement loader, its pager and
// the pager's levels (each may be absent), and how it takes part in
// collision meshes.
struct CSurfaceObjectSet
{
    std::string m_Name;
    bool m_GenerateCollisions = true;
    // Declared before the pager, which refers to it, so that it goes last.
    std::shared_ptr<CSurfaceObjectsLoader> m_Loader;
    std::shared_ptr<Forests::PagedGeometry> m_Pager;
    Forests::GeometryPageManager* m_Static = nullptr;
    Forests::GeometryPageManager* m_Batched = nullptr;
    Forests::GeometryPageManager* m_Impostors = nullptr;
    float m_CollisionMeshesDist = 0;
};

// What the set-up of a set needs of its scene.
struct CSurfaceObjectsContext
{
    Ogre::SceneManager* m_SceneMgr = nullptr;
    // One of each per scene, for all its sets.
    std::shared_ptr<CEntityCache> m_Entities;
    std::shared_ptr<Forests::MeshGeometryCache> m_BatchGeometry;
    std::shared_ptr<Forests::ImpostorTextures> m_Impostors;
    bool m_UseShaders = true;
};

// Sets up the surface-object set of an "Object" element of a zone's
// "Terrain", whose placements are in path + zone name + "." + the Object's
// "Name" + ".so". Null when the set is skipped: nothing shown at this
// saturation or distance, or no such file (a warning).
std::shared_ptr<CSurfaceObjectSet> CreateSurfaceObjects(const xml::CNodePtr& object, const std::string& path,
                                                        const std::string& zoneName, float multiplier,
                                                        const CSurfaceObjectsContext& context);

} // namespace wrappers
