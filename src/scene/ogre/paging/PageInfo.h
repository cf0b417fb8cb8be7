#pragma once

#include <OGRE/OgreVector.h>

#include "scene/ogre/paging/TBounds.h"

namespace Forests {

// The page a loader is asked to fill: its rectangle, its centre (y 0) and its
// grid indices.
struct PageInfo
{
    TBounds bounds;
    Ogre::Vector3 centerPoint = Ogre::Vector3::ZERO;
    int xIndex = 0;
    int zIndex = 0;
    void* userData = nullptr;
};

} // namespace Forests
