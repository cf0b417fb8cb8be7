#pragma once

#include "core/Node.h"
#include "graphics/IGfxObj.h"

namespace sds {

// The object's animation that the record names ("Animation"), with the
// record's "Speed" (both required; "Speed" is looked up first) and its
// optional booleans "Enabled", "Loop" and "AutoUpdate" (false when absent).
// An object keeps one animation per name: a second record of the same name
// gets the first one's animation and settings.
CAnimationPtr ReadAnimation(const xml::CNodePtr& record, const CGfxObjPtr& object);

} // namespace sds
