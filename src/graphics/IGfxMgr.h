#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/SingletonTmpl.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "core/services/TriangleMesh.h"
#include "graphics/IGfxObj.h"
#include "graphics/ILevelPositions.h"
#include "graphics/ILoadingProgressBar.h"
#include "graphics/IOverlayed.h"
#include "graphics/IStaticGeometry.h"
#include "graphics/ITerrainRayTest.h"

namespace sds {

class ICamera;
class IDial;
class ILevelResourceLoader;
class IRibbonTrail;

// The graphics service: the one place where the other subsystems create
// visible things, load the graphics of a drop zone, reach the camera and the
// root of the scene, and measure distances to the ground.
class IGfxMgr : public CSingletonTmpl<IGfxMgr>
{
public:
    typedef std::deque<std::shared_ptr<CTriangleMesh>> CObjectQueue;
    // Hears the camera's pose once a frame: position, velocity, view direction, up.
    typedef std::function<void(const CVector& position, const CVector& velocity, const CVector& at,
                               const CVector& up)>
        CListenerSink;

    ~IGfxMgr() override = default;

    // Null until a drop zone has made the camera.
    virtual ICamera* GetCamera() = 0;
    // Collision meshes collected by GetSurfaceObjectsAround, drained by the caller.
    virtual CObjectQueue& GetObjectQueue() = 0;
    virtual std::shared_ptr<IStaticGeometry> CreateStaticGeometry(const std::string& name) = 0;
    virtual CGfxObjPtr CreateRope(float length, float width, unsigned segments, const CGfxObjPtr& parent) = 0;
    // A child of the root showing "Cube", scaled to the size.
    virtual CGfxObjPtr CreateBox(const CVector& size) = 0;
    // A child of the root showing "SimpleSphere" (diameter 1) scaled to the radius.
    virtual CGfxObjPtr CreateSphere(float radius) = 0;
    // A child of the parent (the root when null) with a unique name, showing the mesh.
    virtual CGfxObjPtr CreateObject(const std::string& mesh, const CGfxObjPtr& parent) = 0;
    // An entity of the mesh (".mesh" is added; ">plane" makes a unit plane) that
    // hangs under no node.
    virtual CGfxObjPtr CreateMeshObject(const std::string& mesh) = 0;
    // An invisible "cube" entity without node.
    virtual CGfxObjPtr CreateCube() = 0;
    virtual CGfxObjPtr CreatePlane(int xSegments, int ySegments, float uTile, float vTile) = 0;
    virtual CGfxObjPtr CreateTriangle(const CVector& a, const CVector& b, const CVector& c,
                                      const CFourFloats& colour) = 0;
    // Shows the overlay of that name; an unknown name throws.
    virtual COverlayedPtr CreateOverlayed(const std::string& name) = 0;
    // Queues the collision meshes of the drop zone near the point (see
    // IZoneGraphics), leaving out those `isBaked` knows.
    virtual void GetSurfaceObjectsAround(const CVector& point, float reach, float budget,
                                         const CIsBaked& isBaked = CIsBaked()) = 0;
    virtual std::shared_ptr<ILevelResourceLoader> LoadZone(const xml::CNodePtr& zone,
                                                             const LoadingProgressCallback& progress) = 0;
    // Removes and destroys the root's child node of that name with everything under it.
    virtual void ClearScene(const std::string& nodeName) = 0;
    virtual void UpdateCamera(const CTiming& timing) = 0;
    // Writes the window's picture to a file named prefix + time stamp + suffix
    // and returns that name.
    virtual std::string QueryRenderTarget(const std::string& prefix, const std::string& suffix) = 0;
    virtual CGfxObjPtr GetRootObject() = 0;
    virtual void Reserved(int) {}
    // Shows or hides the frame-statistics overlay.
    virtual void ShowOverlay(bool show) = 0;
    virtual std::shared_ptr<ILoadingProgressBar> CreateLoadingProgressBar(const std::string& overlayName) = 0;
    virtual std::shared_ptr<IDial> CreateDial(const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
                                                const xml::CNodePtr& needle) = 0;
    // The object whose scene node has that name, or else the object showing the
    // entity of that name (what a pick reports), or null.
    virtual CGfxObjPtr FindObject(const std::string& name) = 0;
    virtual std::shared_ptr<IRibbonTrail> CreateRibbonTrail(const xml::CNodePtr& config,
                                                              const CGfxObjPtr& anchor) = 0;
    // An unknown source throws "Material does not exist: " and the name.
    virtual void CopyMaterial(const std::string& source, const std::string& target) = 0;
    virtual void RemoveMaterial(const std::string& name) = 0;
    // Vertical distance to the nearest thing straight below; +infinity for none.
    virtual float GetDistanceBelow(const CVector& point) = 0;
    // Distance to the nearest thing along the direction; +infinity for none.
    virtual float GetDistanceAlong(const CVector& point, const CVector& direction) = 0;

    // The terrain's own ray test, registered by the drop zone while it lives
    // (null: no terrain). Picking and the distance queries use it.
    void SetTerrainRayTest(CTerrainRayTestPtr test) { m_TerrainRayTest = std::move(test); }
    const CTerrainRayTestPtr& GetTerrainRayTest() const { return m_TerrainRayTest; }

    // Where the camera sends its pose for the sound listener (empty: nowhere).
    void SetSoundListener(CListenerSink listener) { m_SoundListener = std::move(listener); }
    const CListenerSink& GetSoundListener() const { return m_SoundListener; }

    // The level's parts that know where the jumper, the trajectory on show or
    // the target are register here; each counts while its owner keeps it.
    void AddLevelPositions(const CLevelPositionsPtr& positions)
    {
        // Those of levels gone make no list that grows from level to level.
        const auto gone = [](const std::weak_ptr<const ILevelPositions>& p) { return p.expired(); };
        m_LevelPositions.erase(std::remove_if(m_LevelPositions.begin(), m_LevelPositions.end(), gone),
                               m_LevelPositions.end());
        m_LevelPositions.push_back(positions);
    }
    // Those still kept, in the order they came.
    std::vector<CLevelPositionsPtr> GetLevelPositions() const
    {
        std::vector<CLevelPositionsPtr> live;
        for (const std::weak_ptr<const ILevelPositions>& positions : m_LevelPositions) {
            if (CLevelPositionsPtr kept = positions.lock())
                live.push_back(kept);
        }
        return live;
    }

private:
    CTerrainRayTestPtr m_TerrainRayTest;
    CListenerSink m_SoundListener;
    std::vector<std::weak_ptr<const ILevelPositions>> m_LevelPositions;
};

} // namespace sds
