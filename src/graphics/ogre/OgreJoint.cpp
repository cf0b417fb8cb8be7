#include "graphics/ogre/OgreJoint.h"

#include <OGRE/OgreAnimationState.h>
#include <OGRE/OgreSkeletonInstance.h>

#include "core/Exception.h"
#include "graphics/ogre/OgreConvert.h"

namespace wrappers {

std::string COgreJoint::GetParentName() const
{
    const Ogre::Node* parent = m_pBone->getParent();
    return parent ? parent->getName() : std::string();
}

sds::CQuaternion COgreJoint::GetInitialOrientation() const
{
    return FromOgre(m_pBone->getInitialOrientation());
}

sds::CVector COgreJoint::GetPos() const
{
    return FromOgre(m_pBone->getPosition());
}

void COgreJoint::SetPos(const sds::CVector& pos)
{
    m_pBone->setPosition(ToOgre(pos));
}

sds::CQuaternion COgreJoint::GetOrientation() const
{
    return FromOgre(m_pBone->getOrientation());
}

void COgreJoint::SetOrientation(const sds::CQuaternion& orientation)
{
    m_pBone->setOrientation(ToOgre(orientation));
}

void COgreJoint::SetManuallyControlled(bool manual)
{
    m_pBone->setManuallyControlled(manual);
    Ogre::AnimationStateSet* states = m_pEntity->getAllAnimationStates();
    if (!states)
        return;
    const size_t bones = m_pEntity->getSkeleton()->getNumBones();
    for (const auto& entry : states->getAnimationStates()) {
        Ogre::AnimationState* state = entry.second;
        if (!state->hasBlendMask())
            state->createBlendMask(bones, 1.0f);
        state->setBlendMaskEntry(m_pBone->getHandle(), manual ? 0.0f : 1.0f);
    }
}

void COgreJoint::UpdateSkeleton() const
{
    // Derived values are cached per bone; a bone moved by hand leaves its
    // children stale until the skeleton is updated.
    m_pEntity->getSkeleton()->_updateTransforms();
}

sds::CQuaternion COgreJoint::GetWorldOrientation() const
{
    UpdateSkeleton();
    return FromOgre(m_pBone->_getDerivedOrientation());
}

sds::CVector COgreJoint::GetWorldPos() const
{
    UpdateSkeleton();
    return FromOgre(m_pBone->_getDerivedPosition());
}

sds::CQuaternion COgreJoint::GetParentWorldOrientation() const
{
    SDS_ASSERT(m_pBone->getParent() && "The joint must have a parent");
    UpdateSkeleton();
    return FromOgre(m_pBone->getParent()->_getDerivedOrientation());
}

void COgreJoint::Rotate(const sds::CQuaternion& rotation, int space)
{
    switch (space) {
    case SPACE_LOCAL:
        m_pBone->rotate(ToOgre(rotation), Ogre::Node::TS_LOCAL);
        break;
    case SPACE_PARENT:
        m_pBone->rotate(ToOgre(rotation), Ogre::Node::TS_PARENT);
        break;
    case SPACE_OWNER:
        m_pBone->rotate(ToOgre(rotation), Ogre::Node::TS_WORLD);
        break;
    default:
        break;
    }
}

} // namespace wrappers
