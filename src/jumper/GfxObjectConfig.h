#pragma once

#include <string>

#include "core/Node.h"
#include "core/Quaternion.h"
#include "graphics/IGfxObj.h"

// Graphic objects placed from configuration elements.
namespace sds {

// An object of the element's "Mesh" (required) under the parent, or under
// the scene's root for none, placed by PlaceGfxObject.
CGfxObjPtr CreateGfxObject(const xml::CNodePtr& element, const CGfxObjPtr& parent);

// Applies the element's optional "Rotation" (degrees, as yaw, pitch and
// roll), "Scale" and "Position" (in the parent's space), in that order; a
// number that cannot be read counts as 0, and so do those after it.
void PlaceGfxObject(const xml::CNodePtr& element, const CGfxObjPtr& object);

// Reads "w,x,y,z" into `orientation`: parts the text lacks keep the identity's
// values, and the result is normalised (four zeros give the identity). False
// when the text did not hold all four numbers.
bool ParseOrientation(const std::string& text, CQuaternion& orientation);

// An object of a "Mesh" element under the scene's root, its normals kept
// normal as it is stretched: the object of a rope.
CGfxObjPtr CreateLineObject(const xml::CNodePtr& meshElement);

// The position in the object's parent's space (its scales undone) that puts
// the object at `world`; `world` itself for an object without a parent.
CVector InParentSpace(const IGfxObj& object, const CVector& world);

// Hangs the object under the parent where it is drawn now: its place in the
// world stays, its orientation relative to its parent too.
void MoveUnder(const CGfxObjPtr& parent, const CGfxObjPtr& object);

} // namespace sds
