#pragma once

#include <string>

#include "core/Quaternion.h"
#include "core/Vector.h"
#include "graphics/IGfxObj.h"

namespace sds {

// A batch of meshes merged once for fast drawing.
class IStaticGeometry
{
public:
    // Adds the object's entity at that placement.
    virtual void AddObject(const CGfxObjPtr& object, const CVector& position, const CQuaternion& orientation,
                           const CVector& scale) = 0;
    // Moves the object's own node (with everything under it) into the batch at
    // its own placement; an object without node is added as AddObject does.
    virtual void AddObjectAndDetach(const CGfxObjPtr& object, const CVector& position,
                                    const CQuaternion& orientation, const CVector& scale) = 0;
    virtual void AddMesh(const std::string& meshName, const CVector& position, const CQuaternion& orientation,
                         const CVector& scale) = 0;
    virtual void Build() = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual ~IStaticGeometry() = default;
};

} // namespace sds
