#pragma once

#include <string>

#include "core/Node.h"

namespace dzgen {

// The drop-zone file of Home Field, root "scene": what the zone's graphics
// read (scene file, terrain, surface objects, sky, fog, planes, nodes) and
// what the level loader reads (target, simulated objects, windsocks, trees,
// aircraft, music). `zoneFolder` is the zone's folder as the program sees it
// from its bin folder, with a closing "/".
xml::CNodePtr ZoneFile(const std::string& zoneFolder);

} // namespace dzgen
