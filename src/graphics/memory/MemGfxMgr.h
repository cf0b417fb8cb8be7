#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/IGfxMgr.h"
#include "graphics/memory/MemCamera.h"
#include "graphics/memory/MemGfxObj.h"
#include "graphics/memory/MemScene.h"

namespace sds {

class CMemOverlayElement;

// The graphics service without a rendering engine, for headless tests of the
// code that uses it: a scene graph with transforms, meshes described in code
// (bounding box, materials, skeleton, animations), generated ropes and
// triangles, materials, overlays, recording dials and ribbon trails, and
// distance queries against the meshes' boxes. It follows the rendering
// engine's rules wherever the program can see the difference.
class CMemGfxMgr : public IGfxMgr
{
public:
    CMemGfxMgr();
    ~CMemGfxMgr() override;

    // Mesh files the scene knows; ".mesh" is added to a name without it.
    // "Cube", "cube", "SimpleSphere" and "UnitArrow" are known from the start.
    void DefineMesh(const std::string& name, const mem::CMeshDesc& mesh);
    // An unknown mesh normally throws, as the rendering engine does; allowed,
    // it is a unit box.
    void SetAllowUnknownMeshes(bool allow) { m_AllowUnknownMeshes = allow; }
    void DefineMaterial(const std::string& name, const mem::CMaterial& material);
    const mem::CMaterial* GetMaterial(const std::string& name) const;
    std::vector<std::string> GetMaterialNames() const;
    void DefineOverlay(const std::string& name, const std::vector<std::string>& elementNames);
    bool IsOverlayVisible(const std::string& name) const;
    void SetOverlayVisible(const std::string& name, bool visible);
    CMemOverlayElement* FindOverlayElement(const std::string& name) const;
    std::shared_ptr<CMemOverlayElement> ShareOverlayElement(const std::string& name) const;
    bool HasOverlay(const std::string& name) const { return m_Overlays.count(name) != 0; }
    // Destroys the camera, drops every node and entity and makes a new root object.
    void ResetScene();
    // As the rendering side's: the zone makes the camera and destroys it. This
    // camera records what it is told (see CMemCamera).
    void CreateCamera();
    void DestroyCamera();
    CMemCamera* GetMemCamera() const { return m_Camera.get(); }

    ICamera* GetCamera() override { return m_Camera.get(); }
    CObjectQueue& GetObjectQueue() override { return m_ObjectQueue; }
    std::shared_ptr<IStaticGeometry> CreateStaticGeometry(const std::string& name) override;
    CGfxObjPtr CreateRope(float length, float width, unsigned segments, const CGfxObjPtr& parent) override;
    CGfxObjPtr CreateBox(const CVector& size) override;
    CGfxObjPtr CreateSphere(float radius) override;
    CGfxObjPtr CreateObject(const std::string& mesh, const CGfxObjPtr& parent) override;
    CGfxObjPtr CreateMeshObject(const std::string& mesh) override;
    CGfxObjPtr CreateCube() override;
    CGfxObjPtr CreatePlane(int xSegments, int ySegments, float uTile, float vTile) override;
    CGfxObjPtr CreateTriangle(const CVector& a, const CVector& b, const CVector& c,
                              const CFourFloats& colour) override;
    COverlayedPtr CreateOverlayed(const std::string& name) override;
    void GetSurfaceObjectsAround(const CVector&, float, float, const CIsBaked&) override {}
    std::shared_ptr<ILevelResourceLoader> LoadZone(const xml::CNodePtr& zone,
                                                     const LoadingProgressCallback& progress) override;
    void ClearScene(const std::string& nodeName) override;
    void UpdateCamera(const CTiming& timing) override;
    std::string QueryRenderTarget(const std::string& prefix, const std::string& suffix) override;
    CGfxObjPtr GetRootObject() override { return m_RootObject; }
    void ShowOverlay(bool show) override;
    std::shared_ptr<ILoadingProgressBar> CreateLoadingProgressBar(const std::string& overlayName) override;
    // A CMemDial.
    std::shared_ptr<IDial> CreateDial(const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
                                      const xml::CNodePtr& needle) override;
    CGfxObjPtr FindObject(const std::string& name) override;
    // A CMemRibbonTrail.
    std::shared_ptr<IRibbonTrail> CreateRibbonTrail(const xml::CNodePtr& config, const CGfxObjPtr& anchor) override;
    void CopyMaterial(const std::string& source, const std::string& target) override;
    void RemoveMaterial(const std::string& name) override { m_Materials.erase(name); }
    float GetDistanceBelow(const CVector& point) override;
    float GetDistanceAlong(const CVector& point, const CVector& direction) override;

    // The nearest hit's node world position, or where the terrain is hit when
    // that is nearer; +infinity for none.
    CVector CastRay(const CVector& origin, const CVector& direction) const;

    // Used by the objects.
    CGfxObjPtr CreateGfxObj(mem::CNode* parentNode, const std::string& name, const std::string& mesh);
    mem::CNode* CreateNode(const std::string& name, mem::CNode* parent);
    // Takes the node out of the graph (its children become roots) and frees it.
    void DestroyNode(mem::CNode* node);
    mem::CNode* CreateTagPoint();
    void RemoveMesh(const std::string& name) { m_Meshes.erase(name); }
    bool HasMesh(const std::string& name) const { return m_Meshes.count(name) != 0; }
    std::size_t GetNumMeshes() const { return m_Meshes.size(); }
    std::size_t GetNumEntities() const { return m_Entities.size(); }
    std::size_t GetNumNodes() const { return m_Nodes.size(); }
    // The objects hung on bones of the entity.
    std::vector<CMemGfxObj*> FindObjectsOnBonesOf(const mem::CEntity& entity) const;
    std::shared_ptr<mem::CEntity> CreateEntity(const std::string& entityName, const std::string& meshFile);
    void DestroyEntity(const std::shared_ptr<mem::CEntity>& entity);
    void RegisterGfxObj(const mem::CNode* node, CMemGfxObj* object) { m_Registry[node] = object; }
    void UnregisterGfxObj(const mem::CNode* node, const CMemGfxObj* object);
    CMemGfxObj* FindGfxObjByNode(const mem::CNode* node) const;
    // Live while the current scene stands: it expires when the scene is reset
    // or the manager goes, and everything made in that scene with it.
    std::weak_ptr<const bool> GetSceneToken() const { return m_Scene; }
    mem::CNode* GetRootNode() const { return m_RootNode; }

private:
    CGfxObjPtr WrapNamedChild(const std::string& prefix, unsigned& counter, const std::string& mesh);

    std::vector<std::unique_ptr<mem::CNode>> m_Nodes;
    mem::CNode* m_RootNode = nullptr;
    std::map<const mem::CNode*, CMemGfxObj*> m_Registry;
    std::map<std::string, mem::CNode*> m_NodesByName;
    std::map<std::string, std::shared_ptr<mem::CEntity>> m_Entities;
    std::map<std::string, mem::CMeshDesc> m_Meshes;
    bool m_AllowUnknownMeshes = false;
    std::map<std::string, mem::CMaterial> m_Materials;
    std::map<std::string, bool> m_Overlays;
    std::map<std::string, std::shared_ptr<CMemOverlayElement>> m_OverlayElements;
    CObjectQueue m_ObjectQueue;
    std::shared_ptr<CMemCamera> m_Camera;
    CGfxObjPtr m_RootObject;
    std::shared_ptr<const bool> m_Scene;
    unsigned m_BoxCount = 0;
    unsigned m_SphereCount = 0;
    unsigned m_RopeCount = 0;
    unsigned m_TriangleCount = 0;
    unsigned m_PlaneCount = 0;
    unsigned m_MeshPlaneCount = 0;
    float m_DialOffset = 0.0f;
};

} // namespace sds
