#pragma once

#include <cstdint>
#include <string>

#include <boost/intrusive_ptr.hpp>

#include "core/Quaternion.h"
#include "core/Timing.h"
#include "core/Vector.h"
#include "graphics/IEntity.h"

namespace sds {

class IGfxObj;
typedef boost::intrusive_ptr<IGfxObj> CGfxObjPtr;

// A graphic object in the scene graph: a node with an optional mesh entity.
// Positions are relative to the parent node unless "World" is in the name.
// The per-frame Update advances the object's animations, then those of the
// objects under it.
class IGfxObj : public IEntity, public IUpdate
{
public:
    ~IGfxObj() override = default;

    virtual std::uint16_t GetNumChildren() const = 0;
    // Null when no object wraps that child node.
    virtual CGfxObjPtr GetChild(std::uint16_t index) const = 0;
    // Moves the child's node here from wherever it hung.
    virtual void AddChild(const CGfxObjPtr& child) = 0;
    // The child lives on, out of the scene graph.
    virtual void RemoveChild(const CGfxObjPtr& child) = 0;
    // Null for a node without parent or whose parent no object wraps.
    virtual CGfxObjPtr GetParent() const = 0;
    // A child object named `name` showing `mesh`: "" for none, ">plane" for a
    // unit plane, ">novis" for an invisible node, else a mesh file (".mesh" is
    // added when missing). An empty name with a mesh gives an entity without
    // node; an empty name without mesh gives null.
    virtual CGfxObjPtr CreateChild(const std::string& name, const std::string& mesh) = 0;
    virtual void RemoveAllChildren() = 0;

    virtual CVector GetPos() const = 0;
    // Degrees: x pitch, y yaw, z roll of the local orientation.
    virtual CVector GetYawPitchRoll() const = 0;
    virtual CVector GetWorldPos() const = 0;
    virtual CQuaternion GetWorldOrientation() const = 0;
    virtual void SetPos(const CVector& pos) = 0;
    // Rotates in local space.
    virtual void Rotate(const CQuaternion& rotation) = 0;
    // From identity: pitch x, yaw y, roll z degrees, each in local space.
    virtual void SetYawPitchRoll(const CVector& degrees) = 0;
    // Turns about the world's y, x and z axes.
    virtual void Yaw(float degrees) = 0;
    virtual void Pitch(float degrees) = 0;
    virtual void Roll(float degrees) = 0;
    virtual void SetOrientation(const CQuaternion& orientation) = 0;
    virtual void ResetOrientation() = 0;
    virtual CQuaternion GetOrientation() const = 0;
    virtual void SetScale(const CVector& scale) = 0;
    virtual CVector GetScale() const = 0;
    // The entity's local box size, unscaled.
    virtual CVector GetSize() const = 0;
    // Hangs the child's entity on a bone of this object's skeleton. The child
    // ends up, in this object's model space, at bone + offset (or R·offset with
    // positionFlag) turned R·rotation (or rotation with orientationFlag), R
    // being the bone's orientation.
    virtual void AttachToBone(const CGfxObjPtr& child, std::uint16_t boneHandle, const CVector& offset,
                              const CQuaternion& rotation, bool positionFlag, bool orientationFlag) = 0;
    virtual void DetachFromBone(const CGfxObjPtr& child) = 0;
    // Applies the enabled animations to the skeleton now, not at the next frame.
    virtual void UpdateAnimation() = 0;
    // Refreshes the world transforms of the object and everything under it now.
    virtual void UpdateTransform() = 0;
    // Logs every animation state of the entity; only for the category "anim".
    virtual void PrintAnimationStates(const std::string& category) = 0;
};

} // namespace sds
