#pragma once

#include <memory>

#include <OGRE/OgreRay.h>
#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneQuery.h>

#include "core/services/IApplication.h"
#include "graphics/IGfxMgr.h"
#include "graphics/IZoneGraphics.h"

namespace wrappers {

class COgreCamera;

// The graphics service over the level scene manager; dials live in the
// render-to-texture scene manager. Drop-zone loading comes with its own part
// of the program; until then it says so with an exception.
class COgreGfxMgr : public sds::IGfxMgr
{
public:
    // Reads the configuration's "Scene": "AmbientColor" and the optional "Shadows".
    COgreGfxMgr(Ogre::RenderWindow* window, Ogre::SceneManager* sceneManager, sds::IApplication* application);
    ~COgreGfxMgr() override;

    // The singleton as this class; it must exist.
    static COgreGfxMgr& Get();

    // The level scene's rendering camera, which the application makes, and the
    // node it hangs on while no level camera moves it.
    static constexpr const char* kRenderingCamera = "DefaultCamera";
    static constexpr const char* kRenderingCameraNode = "DefaultCameraNode";

    // The zone loader makes the level's camera as it loads and destroys it as
    // it goes; until then GetCamera answers null. The camera takes the scene's
    // "DefaultCamera" off its "DefaultCameraNode" and gives it back when it goes.
    void CreateCamera();
    void DestroyCamera();

    sds::ICamera* GetCamera() override;
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
    void GetSurfaceObjectsAround(const sds::CVector& point, float reach, float budget,
                                 const sds::CIsBaked& isBaked = sds::CIsBaked()) override;
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

    // The world position of the node of the nearest thing hit, or where the
    // terrain is hit when that is nearer; +infinity in all three components
    // when nothing is hit.
    Ogre::Vector3 CastRay(const sds::CVector& origin, const sds::CVector& direction);

    // A new object under the parent node named `name` showing `mesh` (see
    // sds::IGfxObj::CreateChild). A node name already in use throws.
    sds::CGfxObjPtr CreateGfxObj(Ogre::SceneNode* parentNode, const std::string& name, const std::string& mesh);
    // An entity of mesh base + suffix named entity name + ".Entity" (a unique
    // name when that is taken or empty); its query flags are 4.
    Ogre::Entity* CreateEntity(const std::string& entityName, const std::string& meshBase, const std::string& meshSuffix);
    void DestroyEntity(Ogre::Entity* entity);
    // Destroys the camera, clears the level and render-to-texture scenes and
    // makes a new root object; the scene's "DefaultCamera" is hung on a new
    // "DefaultCameraNode" where the old one stood.
    void ResetScene();
    // Live while the current scene stands: it expires when the scene is reset
    // or the manager goes, and everything made in that scene with it.
    std::weak_ptr<const bool> GetSceneToken() const { return m_Scene; }
    // What LoadZone builds the zone's graphics with; until one is given it throws.
    void SetZoneGraphicsFactory(sds::CZoneGraphicsFactory factory) { m_ZoneGraphicsFactory = std::move(factory); }
    // The drop zone's "DistanceToTileForCollisionMultiplier".
    void SetTerrainCollisionMultiplier(float multiplier) { m_TerrainCollisionMultiplier = multiplier; }
    float GetTerrainCollisionMultiplier() const { return m_TerrainCollisionMultiplier; }
    Ogre::SceneManager* GetSceneManager() const { return m_pSceneManager; }
    Ogre::RenderWindow* GetRenderWindow() const { return m_pWindow; }

private:
    Ogre::SceneNode* CreateChildNode(Ogre::SceneNode* parent, const std::string& name);
    Ogre::MeshPtr CreatePlaneMesh(const std::string& name, int xSegments, int ySegments, float uTile, float vTile);
    void ApplyShadows(const xml::CNodePtr& shadows);
    // Hangs the scene's "DefaultCamera" on "DefaultCameraNode" under the root,
    // making the node when it is missing.
    void ParkRenderingCamera();

    sds::IApplication* m_pApplication;
    Ogre::SceneManager* m_pSceneManager;
    Ogre::RenderWindow* m_pWindow;
    Ogre::RaySceneQuery* m_pRayQuery = nullptr;
    Ogre::Ray m_Ray;
    CObjectQueue m_ObjectQueue;
    sds::CZoneGraphicsFactory m_ZoneGraphicsFactory;
    // The last zone loaded; whoever called LoadZone owns it.
    std::weak_ptr<sds::IZoneGraphics> m_ZoneLoader;
    float m_TerrainCollisionMultiplier = 1.0f;
    std::shared_ptr<COgreCamera> m_Camera;
    sds::CGfxObjPtr m_RootObject;
    std::shared_ptr<const bool> m_Scene;
    unsigned m_BoxCount = 0;
    unsigned m_SphereCount = 0;
    unsigned m_PlaneCount = 0;
    unsigned m_MeshPlaneCount = 0;
    unsigned m_RopeCount = 0;
    unsigned m_TriangleCount = 0;
    // Each dial's small scene stands this far along x from the one before.
    float m_DialOffset = 0.0f;
};

} // namespace wrappers
