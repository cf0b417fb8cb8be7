#pragma once

#include <memory>

#include <OGRE/OgreRay.h>
#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneQuery.h>

#include "core/services/IApplication.h"
#include "graphics/IGfxMgr.h"

namespace wrappers {

// The graphics service over the level scene manager. The camera, dials, ropes,
// triangles, ribbon trails and drop-zone loading come with their own parts of
// the program; until then those operations say so with an exception.
class COgreGfxMgr : public sds::IGfxMgr
{
public:
    // Reads the configuration's "Scene": "AmbientColor" and the optional "Shadows".
    COgreGfxMgr(Ogre::RenderWindow* window, Ogre::SceneManager* sceneManager, sds::IApplication* application);
    ~COgreGfxMgr() override;

    // The singleton as this class; it must exist.
    static COgreGfxMgr& Get();

    // The zone loader makes the level's camera as it loads and destroys it as
    // it goes; until then GetCamera answers null.
    void CreateCamera();
    void DestroyCamera();

    sds::ICamera* GetCamera() override { return nullptr; }
    CObjectQueue& GetObjectQueue() override { return m_ObjectQueue; }
    std::shared_ptr<sds::IStaticGeometry> CreateStaticGeometry(const std::string& name) override;
    sds::CGfxObjPtr CreateRope(float length, float width, unsigned segments, const sds::CGfxObjPtr& parent) override;
    sds::CGfxObjPtr CreateBox(const sds::CVector& size) override;
    sds::CGfxObjPtr CreateSphere(float radius) override;
    sds::CGfxObjPtr CreateObject(const std::string& mesh, const sds::CGfxObjPtr& parent) override;
    sds::CGfxObjPtr CreateMeshObject(const std::string& mesh) override;
    sds::CGfxObjPtr CreateCube() override;
    sds::CGfxObjPtr CreatePlane(int xSegments, int ySegments, float uTile, float vTile) override;
    sds::CGfxObjPtr CreateTriangle(const sds::CVector& a, const sds::CVector& b, const sds::CVector& c,
                                   const sds::CFourFloats& colour) override;
    sds::COverlayedPtr CreateOverlayed(const std::string& name) override;
    void GetSurfaceObjectsAround(const sds::CVector& point, float reach, float budget) override;
    std::shared_ptr<sds::ILevelResourceLoader> LoadZone(const xml::CNodePtr& zone,
                                                          const sds::LoadingProgressCallback& progress) override;
    void ClearScene(const std::string& nodeName) override;
    void UpdateCamera(const sds::CTiming& timing) override;
    std::string QueryRenderTarget(const std::string& prefix, const std::string& suffix) override;
    sds::CGfxObjPtr GetRootObject() override { return m_RootObject; }
    void ShowOverlay(bool show) override;
    std::shared_ptr<sds::ILoadingProgressBar> CreateLoadingProgressBar(const std::string& overlayName) override;
    std::shared_ptr<sds::IDial> CreateDial(const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
                                             const xml::CNodePtr& needle) override;
    sds::CGfxObjPtr FindObject(const std::string& name) override;
    std::shared_ptr<sds::IRibbonTrail> CreateRibbonTrail(const xml::CNodePtr& config,
                                                           const sds::CGfxObjPtr& anchor) override;
    void CopyMaterial(const std::string& source, const std::string& target) override;
    void RemoveMaterial(const std::string& name) override;
    float GetDistanceBelow(const sds::CVector& point) override;
    float GetDistanceAlong(const sds::CVector& point, const sds::CVector& direction) override;

    // The position of the node of the nearest thing hit (relative to its
    // parent), or +infinity in all three components.
    Ogre::Vector3 CastRay(const sds::CVector& origin, const sds::CVector& direction);

    // A new object under the parent node named `name` showing `mesh` (see
    // sds::IGfxObj::CreateChild). A node name already in use throws.
    sds::CGfxObjPtr CreateGfxObj(Ogre::SceneNode* parentNode, const std::string& name, const std::string& mesh);
    // An entity of mesh base + suffix named entity name + ".Entity" (a unique
    // name when that is taken or empty); its query flags are 4.
    Ogre::Entity* CreateEntity(const std::string& entityName, const std::string& meshBase, const std::string& meshSuffix);
    void DestroyEntity(Ogre::Entity* entity);
    // Clears the level and render-to-texture scenes and makes a new root object.
    void ResetScene();
    // Live while the current scene stands: it expires when the scene is reset
    // or the manager goes, and everything made in that scene with it.
    std::weak_ptr<const bool> GetSceneToken() const { return m_Scene; }
    // The drop zone's "DistanceToTileForCollisionMultiplier".
    void SetTerrainCollisionMultiplier(float multiplier) { m_TerrainCollisionMultiplier = multiplier; }
    float GetTerrainCollisionMultiplier() const { return m_TerrainCollisionMultiplier; }
    Ogre::SceneManager* GetSceneManager() const { return m_pSceneManager; }
    Ogre::RenderWindow* GetRenderWindow() const { return m_pWindow; }

private:
    Ogre::SceneNode* CreateChildNode(Ogre::SceneNode* parent, const std::string& name);
    Ogre::MeshPtr CreatePlaneMesh(const std::string& name, int xSegments, int ySegments, float uTile, float vTile);
    void ApplyShadows(const xml::CNodePtr& shadows);

    sds::IApplication* m_pApplication;
    Ogre::SceneManager* m_pSceneManager;
    Ogre::RenderWindow* m_pWindow;
    Ogre::RaySceneQuery* m_pRayQuery = nullptr;
    Ogre::Ray m_Ray;
    CObjectQueue m_ObjectQueue;
    float m_TerrainCollisionMultiplier = 1.0f;
    sds::CGfxObjPtr m_RootObject;
    std::shared_ptr<const bool> m_Scene;
    unsigned m_BoxCount = 0;
    unsigned m_SphereCount = 0;
    unsigned m_PlaneCount = 0;
    unsigned m_MeshPlaneCount = 0;
};

} // namespace wrappers
