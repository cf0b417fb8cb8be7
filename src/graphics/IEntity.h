#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/intrusive_ptr.hpp>
#include <memory>

#include "core/BoundingBox.h"
#include "core/Quaternion.h"
#include "core/RefCounted.h"
#include "graphics/IAnimation.h"
#include "graphics/ISkeleton.h"

namespace sds {

class IEntity;
typedef std::shared_ptr<IAnimation> CAnimationPtr;

// The mesh side of a graphic object: materials, visibility, animations and the
// skeleton view. Reference counted; held by intrusive pointers.
class IEntity : public CRefCounted
{
public:
    ~IEntity() override = default;

    // The node's name, else the entity's, else "".
    virtual std::string GetName() const = 0;
    virtual std::string GetEntityName() const = 0;
    // False without an entity.
    virtual bool IsVisible() const = 0;
    // Nothing without an entity.
    virtual void SetVisible(bool visible) = 0;

    // The live animation of that name as it is (this call's settings are not
    // applied), or a new one with these settings. The object keeps only a weak
    // reference: the caller's pointer owns it.
    virtual CAnimationPtr GetAnimation(const std::string& name, float speed = 1.0f, bool autoUpdate = true,
                                       bool loop = false, bool enabled = true);
    // Disables every live animation of the object.
    virtual void DisableAllAnimations();

    // With clone set the object gets its own copy of the material, so later
    // colour and texture changes touch this object only.
    virtual void SetMaterial(const std::string& name, bool clone) = 0;
    virtual void SetSubEntityMaterial(std::uint16_t index, const std::string& name, bool clone) = 0;
    virtual unsigned GetNumSubEntities() const = 0;
    virtual std::string GetSubEntityMaterialName(std::uint16_t index) const = 0;
    virtual void SetSubEntityTexture(const std::string& texture, std::uint16_t index) = 0;
    // Diffuse (r, g, b, a) then ambient (r, g, b) of the sub-entity's material,
    // in place: every user of that material changes.
    virtual void SetSubEntityColour(std::uint16_t index, const CFourFloats& colour) = 0;
    // The entity's local box, unscaled.
    virtual CBoundingBox GetBoundingBox() const = 0;
    virtual void SetNormaliseNormals(bool normalise) = 0;
    virtual boost::intrusive_ptr<IEntity> GetPtr() { return boost::intrusive_ptr<IEntity>(this); }

    CSkeletonPtr GetSkeleton() const { return m_Skeleton; }

protected:
    // A new animation over the entity's animation of that name; throws when the
    // entity has none.
    virtual CAnimationPtr MakeAnimation(const std::string& name) = 0;

    void DropExpiredAnimations();
    // AddTime(elapsed × speed) on each live animation that is enabled and auto-updated.
    void AdvanceAnimations(float elapsed);
    void SetSkeleton(const CSkeletonPtr& skeleton) { m_Skeleton = skeleton; }
    void ReleaseAnimationsAndSkeleton()
    {
        m_Skeleton.reset();
        m_Animations.clear();
    }

private:
    std::vector<std::weak_ptr<IAnimation>> m_Animations;
    CSkeletonPtr m_Skeleton;
};

typedef boost::intrusive_ptr<IEntity> CEntityPtr;

} // namespace sds
