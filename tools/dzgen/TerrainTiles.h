#pragma once

#include <string>

#include "core/Node.h"
#include "meshgen/MeshDescription.h"

namespace dzgen {

// The render material of a surface, as conf/materials.conf maps it.
std::string SurfaceMaterial(int surface);
// The render material of the pond's water, a sub-mesh of the tile that holds it.
const char* const kWaterMaterial = "Terrain/Water";

// The mesh of terrain tile (x, z) of Home Field, "HomeField.X.Z.0.mesh": the
// height field on a grid of CHomeField::kCell, its vertices relative to the
// tile's low corner, one sub-mesh per surface; the tile under the pond's
// middle has its water too.
meshgen::CMeshDesc TileMesh(int x, int z);

// The terrain-tiles document: "Tiles" with the corners, the tile size and a
// "Tile" per tile ("Name" "X.Z", "Pos" its low corner).
xml::CNodePtr TilesDocument();

} // namespace dzgen
