#pragma once

#include <string>

namespace dzgen {

// The pictures of Home Field's own materials (ground, buildings, pond, the
// scene's sky dome, smoke and lights), "HomeField_*.png" into the folder.
void SaveZoneTextures(const std::string& folder);

} // namespace dzgen
