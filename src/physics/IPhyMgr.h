#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "physics/IPhyCollisionEvent.h"
#include "physics/sdk/SdkConstants.h"
#include "core/services/LoadingProgressCallback.h"

namespace sds {
class CTriangleMesh;
class ILevelResourceLoader;
}

namespace physics {

class IPhyForce;
class IPhyJumper;
class IPhyObj;
class IWindMgr;

namespace sdk {
class IShape;
}

// The physics world: it steps its scene at a fixed time step and, after each
// step, hands out the contacts and triggers of that step and updates the bodies.
class IPhyMgr
{
public:
    typedef std::function<void(const std::string&)> CLogCallback;
    // Handed each object of a physics-editor file: its name and its body.
    typedef std::function<void(const std::string&, const std::shared_ptr<IPhyObj>&)> CObjectCallback;
    typedef std::function<void(const IPhyCollisionEvent&)> CCollisionCallback;
    // Shape, kind, world position, full size, world orientation, colour, whether its actor responds to contacts.
    typedef std::function<void(const sdk::IShape&, sdk::EShapeType, const sds::CVector&, const sds::CVector&,
                               const sds::CQuaternion&, const sds::CFourFloats&, bool)>
        CShapeDrawCallback;
    // Force, start, end, colour, always true.
    typedef std::function<void(const IPhyForce&, const sds::CVector&, const sds::CVector&, const sds::CFourFloats&,
                               bool)>
        CForceDrawCallback;

    virtual ~IPhyMgr() = default;

    virtual void SetDebugDrawCallbacks(CShapeDrawCallback shapes, CForceDrawCallback forces) = 0;
    virtual void SetLogCallbacks(CLogCallback message, CLogCallback warning, CLogCallback error) = 0;
    // Called with every contact point of every touch that begins, after the owners of both actors.
    virtual void SetCollisionCallback(CCollisionCallback callback) = 0;
    // Steps as often as the time gathered from the frames allows.
    virtual void Update(const sds::CTiming& timing) = 0;
    // A static plane y = 0 that the world holds.
    virtual void CreateGroundPlane() = 0;
    // The physical body of a jumper, made from the "PhyJumper" element of the
    // physics configuration (throws xml::CNoNodeException without one), which the
    // world steps while the caller keeps it. The exit weight and the canopy size
    // replace the configured ones when above 0, the canopy model and the input
    // conversion when not empty; without `showPilotChute` the canopy flies
    // without a pilot chute. `position` and `orientation` place a jump that
    // starts under canopy.
    virtual std::shared_ptr<IPhyJumper> CreateJumper(const std::string& name, bool logData, int index,
                                                     const sds::CVector& position,
                                                     const sds::CQuaternion& orientation, float exitWeight,
                                                     float canopySize, const std::string& canopyModel,
                                                     const std::string& inputConversion, bool showPilotChute) = 0;
    // The index of a physical material; 0 (the default material) for a name not known.
    virtual std::uint16_t GetMaterialIndex(const std::string& name) const = 0;
    // Inserts the physics-editor file at `file` at that pose and gives its first
    // skeleton's rag doll (none when it has no skeleton); every skeleton's rag
    // doll also goes to `ragDolls`. The caller holds what it keeps.
    virtual std::shared_ptr<IPhyObj> CreateScyPhy(const std::string& file, const sds::CVector& position,
                                                  const sds::CQuaternion& orientation,
                                                  const CObjectCallback& ragDolls) = 0;
    // A windsock made of the file's rag doll, which goes to `ragDolls` for whoever
    // shows it; the world drives the windsock while that rag doll lives.
    virtual std::shared_ptr<IPhyObj> CreateWindSock(const std::string& file, const sds::CVector& position,
                                                    const sds::CQuaternion& orientation,
                                                    const CObjectCallback& ragDolls) = 0;
    // Inserts the file at that pose and hands each model an actor carries to
    // `models` and each skeleton's rag doll to `ragDolls`; `material`, unless
    // empty, names the material of every shape.
    virtual void LoadScyPhy(const std::string& file, const sds::CVector& position,
                            const sds::CQuaternion& orientation, const CObjectCallback& models,
                            const CObjectCallback& ragDolls, const std::string& material) = 0;
    // A static triangle-mesh object made of a scene mesh; the caller holds it.
    virtual std::shared_ptr<IPhyObj> CreateTriMesh(const sds::CTriangleMesh& mesh) = 0;
    // A box of full `dimensions`: dynamic with a density above 0, else static; the world holds it too.
    virtual std::shared_ptr<IPhyObj> CreateBox(const sds::CVector& position, const sds::CVector& dimensions,
                                               float density, const std::string& material) = 0;
    // A free body with the "Probe" block's forces and the given drag area.
    virtual std::shared_ptr<IPhyObj> CreateProbe(const sds::CVector& position, float dragArea) = 0;
    // Hands every shape to the shape-drawing callback and, with `drawForces`, the bodies' forces to the force-drawing one.
    virtual void DrawDebug(bool drawForces) = 0;
    // The physics loader of a level, made from the drop zone's physics element;
    // `progress` may be empty.
    virtual std::shared_ptr<sds::ILevelResourceLoader>
    CreateResourceLoader(const xml::CNodePtr& physics, const sds::LoadingProgressCallback& progress) = 0;
    virtual IWindMgr& GetWindMgr() = 0;
};

} // namespace physics
