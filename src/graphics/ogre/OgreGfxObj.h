#pragma once

#include "graphics/ogre/OgreGfxObjBase.h"

namespace wrappers {

// A scene node with an optional mesh entity.
class COgreGfxObj : public COgreGfxObjBase
{
public:
    explicit COgreGfxObj(Ogre::SceneNode* node) : COgreGfxObjBase(node) {}
    COgreGfxObj(const sds::CGfxObjPtr& parent, Ogre::SceneNode* node) : COgreGfxObjBase(parent, node) {}
    // Builds the skeleton view when the entity has a skeleton.
    COgreGfxObj(const sds::CGfxObjPtr& parent, Ogre::SceneNode* node, Ogre::Entity* entity)
        : COgreGfxObjBase(parent, node, entity)
    {
        BuildSkeletonView();
    }
    explicit COgreGfxObj(Ogre::Entity* entity) : COgreGfxObjBase(entity) {}
};

} // namespace wrappers
