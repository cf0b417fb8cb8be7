#pragma once

#include <deque>
#include <list>
#include <memory>
#include <string>

#include <OGRE/OgreBillboardSet.h>
#include <OGRE/OgreLight.h>
#include <OGRE/OgreParticleSystem.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreStaticGeometry.h>

#include "core/Node.h"
#include "core/services/LoadingProgressCallback.h"
#include "graphics/IGfxMgr.h"
#include "scene/TerrainRayTest.h"
#include "scene/ogre/EntityCache.h"
#include "scene/ogre/SkyBox.h"
#include "scene/ogre/SurfaceObjectSet.h"
#include "scene/ogre/TerrainLoader.h"
#include "scene/ogre/paging/FrameBudget.h"
#include "scene/ogre/paging/PagedGeometry.h"

namespace wrappers {

// The rendering-engine objects of a drop zone's scene element: ambient
// light, the zone's folders as resource locations of the group "Terrain",
// fog, the scene's own sky, planes, named nodes with their lights, entities,
// particle systems and billboard sets, one static batch of the nodes marked
// static, and the paged terrain with its surface objects. All is made in the
// constructor and removed by the destructor; a constructor that fails removes
// what it made before it rethrows.
class CDotScene
{
public:
    // `useSceneSky`: the scene's "SkyDome", "SkyBox" and "SunLight" apply (no
    // sky of the zone loader's own). Progress runs from `progressStart` over
    // `progressRange`.
    CDotScene(sds::IGfxMgr* gfxMgr, const xml::CNodePtr& scene, bool useSceneSky, float progressStart,
              float progressRange, const sds::LoadingProgressCallback& progress);
    virtual ~CDotScene();
    CDotScene(const CDotScene&) = delete;
    CDotScene& operator=(const CDotScene&) = delete;

    // The terrain pager and each surface-object pager, sharing the budget
    // (none: all their work now). Each frame another pager goes first, so
    // that none waits for ever behind the others' work.
    void UpdatePagers(Forests::FrameBudget* budget = nullptr);
    // The pages the pagers still have to build ahead or release.
    std::size_t GetPendingPages() const;
    std::shared_ptr<Forests::PagedGeometry> GetTerrainPager() const { return m_PagedGeometry; }
    Forests::GeometryPageManager* GetTerrainDetailLevel() const { return m_TerrainDetailLevel; }
    const std::list<std::shared_ptr<CSurfaceObjectSet>>& GetSurfaceObjects() const { return m_SurfaceObjects; }
    Ogre::SceneManager* GetSceneManager() const { return m_SceneMgr; }

private:
    void Load(const xml::CNodePtr& scene, bool useSceneSky, float progressStart, float progressRange,
              const sds::LoadingProgressCallback& progress);
    void TearDown();

    void LoadNode(const xml::CNodePtr& node);
    Ogre::Light* LoadLight(const xml::CNodePtr& light, Ogre::SceneManager* sceneMgr);
    void LoadPlane(const xml::CNodePtr& plane);
    void LoadBillboardSet(const xml::CNodePtr& element, Ogre::SceneNode* node);
    void LoadTerrain(const xml::CNodePtr& terrain, float progressStart, float progressRange,
                     const sds::LoadingProgressCallback& progress);
    void SetSkyDome(const xml::CNodePtr& dome, bool enable);
    // Lets go of the plane under the terrain with its node and mesh.
    void ReleaseUnderGroundPlane();

    std::deque<Ogre::Light*> m_Lights;
    std::deque<Ogre::SceneNode*> m_SceneNodes;
    std::deque<Ogre::BillboardSet*> m_BillboardSets;
    std::deque<Ogre::Entity*> m_Entities;
    std::deque<Ogre::ParticleSystem*> m_ParticleSystems;
    // The meshes of the scene's planes, removed with them.
    std::list<std::string> m_PlaneMeshes;
    Ogre::StaticGeometry* m_StaticGeometry = nullptr;
    Ogre::SceneManager* m_SceneMgr;
    xml::CNodePtr m_SkyDome;
    xml::CNodePtr m_Terrain;
    std::shared_ptr<CTerrainLoader> m_TerrainLoader;
    std::list<std::string> m_ResourceLocations;
    sds::IGfxMgr* m_GfxMgr;
    std::shared_ptr<CSkyBox> m_SkyBox;
    std::list<std::shared_ptr<CSurfaceObjectSet>> m_SurfaceObjects;
    std::shared_ptr<Forests::PagedGeometry> m_PagedGeometry;
    Forests::GeometryPageManager* m_TerrainDetailLevel = nullptr;
    std::size_t m_FirstPager = 0;
    sds::CGfxObjPtr m_UnderGroundPlane;
    std::string m_UnderGroundMesh;
    // One entity per mesh for every tile loader of the scene.
    std::shared_ptr<CEntityCache> m_TileEntities;
    // Registered with the graphics manager while the scene stands.
    std::shared_ptr<sds::CTerrainRayTest> m_TerrainRayTest;
};

} // namespace wrappers
