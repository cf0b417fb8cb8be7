#pragma once

#include "core/Node.h"

namespace sds {

// A scene element's sky ("Caelum", "SkyDome" or "SkyBox", with "SunLight" and
// "Fog") and its ground ("Terrain" or "Plane"s), as the zone's graphics draw
// them.

// Whether the scene describes both a sky and a ground of its own.
bool HasOwnLook(const xml::CNode& scene);

// The scene as drawn: `scene` itself when it describes a sky and a ground;
// otherwise a copy that takes what it lacks, sky or ground, from `look` (a
// scene element such as the edition's template of new scenes). A scene
// written before scenes had a sky and a ground is drawn as a new one; the
// scene itself is never changed. A null `look` lends nothing.
xml::CNodePtr WithDefaultLook(const xml::CNodePtr& scene, const xml::CNodePtr& look);

} // namespace sds
