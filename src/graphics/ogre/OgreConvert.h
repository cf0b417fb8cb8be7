#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include "core/Quaternion.h"
#include "core/Vector.h"

// Component-by-component conversions between the program's value types and
// the rendering engine's.
namespace wrappers {

inline Ogre::Vector3 ToOgre(const sds::CVector& v) { return Ogre::Vector3(v.x, v.y, v.z); }
inline Ogre::Quaternion ToOgre(const sds::CQuaternion& q) { return Ogre::Quaternion(q.w, q.x, q.y, q.z); }
inline Ogre::ColourValue ToOgreColour(const sds::CFourFloats& c) { return Ogre::ColourValue(c.v[0], c.v[1], c.v[2], c.v[3]); }
inline sds::CVector FromOgre(const Ogre::Vector3& v) { return sds::CVector(v.x, v.y, v.z); }
inline sds::CQuaternion FromOgre(const Ogre::Quaternion& q) { return sds::CQuaternion(q.w, q.x, q.y, q.z); }
inline sds::CFourFloats FromOgre(const Ogre::ColourValue& c)
{
    sds::CFourFloats colour;
    colour.v[0] = c.r;
    colour.v[1] = c.g;
    colour.v[2] = c.b;
    colour.v[3] = c.a;
    return colour;
}

} // namespace wrappers
