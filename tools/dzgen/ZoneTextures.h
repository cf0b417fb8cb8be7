#pragma once

#include <string>

#include "meshgen/Textures.h"

namespace dzgen {

// The pictures of Home Field's own materials (ground, buildings, pond, the
// scene's sky dome, smoke and lights), "HomeField_*.png" into the folder.
void SaveZoneTextures(const std::string& folder);

// The ground's lighter and darker patches at (u, v) of their repeat, [0, 1)
// each: a grey about a half, the colour of the terrain tiles' vertices that
// the ground's materials double with their picture.
meshgen::CColour PatchShade(float u, float v);

} // namespace dzgen
