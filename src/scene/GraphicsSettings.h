#pragma once

#include "core/Node.h"

namespace sds {

// Whether the drop zone is drawn with shaders: the user settings' "Graphics"
// "UseShaders" when they have it, else the configuration's, else true. Either
// tree may be null or lack "Graphics".
bool UseShaders(const xml::CNodePtr& config, const xml::CNodePtr& settings);

// The share of surface objects shown: the user settings' "Graphics"
// "SurfaceObjects" when they have it, else the configuration's "Scene"
// "SurfaceObjects", which must then exist.
float SurfaceObjectsMultiplier(const xml::CNodePtr& config, const xml::CNodePtr& settings);

} // namespace sds
