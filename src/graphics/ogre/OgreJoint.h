#pragma once

#include <OGRE/OgreBone.h>
#include <OGRE/OgreEntity.h>

#include "graphics/IJoint.h"

namespace wrappers {

// A joint over a bone of an entity's skeleton (both owned by the entity).
class COgreJoint : public sds::IJoint
{
public:
    COgreJoint(Ogre::Bone* bone, Ogre::Entity* entity) : m_pBone(bone), m_pEntity(entity) {}

    std::string GetParentName() const override;
    sds::CQuaternion GetInitialOrientation() const override;
    bool IsRoot() const override { return m_pBone->getParent() == nullptr; }
    sds::CVector GetPos() const override;
    void SetPos(const sds::CVector& pos) override;
    sds::CQuaternion GetOrientation() const override;
    void SetOrientation(const sds::CQuaternion& orientation) override;
    // Also masks the bone out of every animation of the entity, so animations
    // leave a manually controlled bone where the caller put it.
    void SetManuallyControlled(bool manual) override;
    std::string GetName() const override { return m_pBone->getName(); }
    std::uint16_t GetHandle() const override { return m_pBone->getHandle(); }
    sds::CQuaternion GetWorldOrientation() const override;
    sds::CVector GetWorldPos() const override;
    sds::CQuaternion GetParentWorldOrientation() const override;
    void Rotate(const sds::CQuaternion& rotation, int space) override;

private:
    void UpdateSkeleton() const;

    Ogre::Bone* m_pBone;
    Ogre::Entity* m_pEntity;
};

} // namespace wrappers
