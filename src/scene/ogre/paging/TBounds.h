#pragma once

#include <OGRE/OgrePrerequisites.h>

namespace Forests {

// A rectangle of the ground plane: x from left to right, z from top to bottom.
struct TBounds
{
    Ogre::Real left = 0;
    Ogre::Real top = 0;
    Ogre::Real right = 0;
    Ogre::Real bottom = 0;

    TBounds() = default;
    TBounds(Ogre::Real l, Ogre::Real t, Ogre::Real r, Ogre::Real b) : left(l), top(t), right(r), bottom(b) {}

    Ogre::Real width() const { return right - left; }
    Ogre::Real height() const { return bottom - top; }
};

} // namespace Forests
