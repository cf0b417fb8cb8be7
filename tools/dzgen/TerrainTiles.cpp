#include "dzgen/TerrainTiles.h"

#include <cmath>
#include <map>

#include "core/Helpers.h"
#include "core/Vector.h"
#include "dzgen/HomeField.h"
#include "dzgen/ZoneTextures.h"
#include "scene/TileKey.h"

namespace dzgen {

namespace {

Ogre::Vector3 NormalAt(double x, double z)
{
    const double dx = CHomeField::Height(x + 1, z) - CHomeField::Height(x - 1, z);
    const double dz = CHomeField::Height(x, z + 1) - CHomeField::Height(x, z - 1);
    return Ogre::Vector3(static_cast<float>(-dx / 2), 1.0f, static_cast<float>(-dz / 2)).normalisedCopy();
}

Ogre::Vector2 UvAt(ESurface surface, double x, double z)
{
    switch (surface) {
    case ESurface::Runway:
        // Across the runway once, along it every 30 m (one dash of the centre line).
        return Ogre::Vector2(static_cast<float>((x - CHomeField::kRunway.x0) / 30.0),
                             static_cast<float>((z - CHomeField::kRunway.z0) / (CHomeField::kRunway.z1 - CHomeField::kRunway.z0)));
    case ESurface::Sand:
        return Ogre::Vector2(static_cast<float>(x / 8.0), static_cast<float>(z / 8.0));
    case ESurface::LandingArea:
        // A mower's strip every 10 m along x.
        return Ogre::Vector2(static_cast<float>(x / 20.0), static_cast<float>(z / 20.0));
    case ESurface::Field:
        // Crop rows along z, 0.8 m apart.
        return Ogre::Vector2(static_cast<float>(x / 12.8), static_cast<float>(z / 40.0));
    case ESurface::Grass:
    default:
        return Ogre::Vector2(static_cast<float>(x / 16.0), static_cast<float>(z / 16.0));
    }
}

// How many of the surface's texture repeats one repeat of the ground's
// patches spans (zero: no patches), along u and v.
Ogre::Vector2 PatchRepeat(ESurface surface)
{
    switch (surface) {
    case ESurface::Grass:
        return Ogre::Vector2(24, 24);
    case ESurface::Field:
        return Ogre::Vector2(4, 10);
    default:
        return Ogre::Vector2::ZERO;
    }
}

// The patches' colour at texture coordinates `uv` of the surface: its
// vertices carry it, so that each ground pixel samples one picture only.
Ogre::ColourValue PatchColour(ESurface surface, const Ogre::Vector2& uv)
{
    const Ogre::Vector2 repeat = PatchRepeat(surface);
    if (repeat == Ogre::Vector2::ZERO)
        return Ogre::ColourValue::White;
    // Spread about the middle of the surface's first repeat.
    const float u = (uv.x - 0.5f) / repeat.x + 0.5f, v = (uv.y - 0.5f) / repeat.y + 0.5f;
    const meshgen::CColour shade = PatchShade(u - std::floor(u), v - std::floor(v));
    // The zone's ambient and sun light level ground to about 1.2 times a
    // vertex's colour, past the 1 at which the lighting of a plain material
    // stops; the patches' grey is dimmed by as much to keep the ground's brightness.
    const float light = 1 / 1.2f;
    return Ogre::ColourValue(shade.r * light, shade.g * light, shade.b * light);
}

// From this far the tiles are drawn in blocks of that many cells a side.
const float kLodDistance = 600.0f;
const int kLodBlock = 5;

// The pond's water, in the tile that holds the pond's middle: a disc at the
// water's level out to the pond's edge, where the shore stands above it, so
// that it shows only over the pond's basin. A sub-mesh of its own, so that the
// ground's collision has a water surface.
void AddPondWater(meshgen::CMeshDesc& mesh, double ox, double oz)
{
    const CPoint& pond = CHomeField::kPond;
    if (pond.x < ox || pond.x >= ox + CHomeField::kTileSize || pond.z < oz || pond.z >= oz + CHomeField::kTileSize)
        return;
    meshgen::CGeometry& water = mesh.Part(kWaterMaterial);
    const int segments = 64;
    const auto first = static_cast<std::uint32_t>(water.m_Vertices.size());
    auto vertex = [&](double x, double z) {
        // The ripples repeat every 20 m.
        water.AddVertex(Ogre::Vector3(static_cast<float>(x - ox), static_cast<float>(CHomeField::kWaterLevel),
                                      static_cast<float>(z - oz)),
                        Ogre::Vector3::UNIT_Y, Ogre::Vector2(static_cast<float>(x / 20.0), static_cast<float>(z / 20.0)));
    };
    vertex(pond.x, pond.z);
    for (int s = 0; s < segments; ++s) {
        const double angle = 2 * 3.14159265358979323846 * s / segments;
        vertex(pond.x + CHomeField::kPondRadius * std::cos(angle), pond.z - CHomeField::kPondRadius * std::sin(angle));
    }
    for (int s = 0; s < segments; ++s)
        water.m_Indices.insert(water.m_Indices.end(),
                               {first, first + 1 + s, first + 1 + static_cast<std::uint32_t>((s + 1) % segments)});
}

} // namespace

std::string SurfaceMaterial(int surface)
{
    switch (static_cast<ESurface>(surface)) {
    case ESurface::Runway:
        return "Terrain/Runway";
    case ESurface::Sand:
        return "Terrain/Sand";
    case ESurface::LandingArea:
        return "Terrain/LandingArea";
    case ESurface::Field:
        return "Terrain/Field";
    case ESurface::Grass:
    default:
        return "Terrain/Grass";
    }
}

meshgen::CMeshDesc TileMesh(int tileX, int tileZ)
{
    const int cells = static_cast<int>(CHomeField::kTileSize / CHomeField::kCell);
    const double ox = CHomeField::kMin + tileX * CHomeField::kTileSize;
    const double oz = CHomeField::kMin + tileZ * CHomeField::kTileSize;
    meshgen::CMeshDesc mesh{"HomeField." + sds::TileName({tileX, tileZ}) + ".0.mesh"};
    // Each surface's own vertices: its texture coordinates differ.
    std::map<std::pair<int, int>, std::uint32_t> indices[5];
    auto addVertex = [&](ESurface surface, double i, double j) {
        meshgen::CGeometry& part = mesh.Part(SurfaceMaterial(static_cast<int>(surface)));
        const double x = ox + i * CHomeField::kCell, z = oz + j * CHomeField::kCell;
        const auto index = static_cast<std::uint32_t>(part.m_Vertices.size());
        const Ogre::Vector2 uv = UvAt(surface, x, z);
        part.AddVertex(Ogre::Vector3(static_cast<float>(i * CHomeField::kCell), static_cast<float>(CHomeField::Height(x, z)),
                                     static_cast<float>(j * CHomeField::kCell)),
                       NormalAt(x, z), uv);
        if (PatchRepeat(surface) != Ogre::Vector2::ZERO) {
            part.m_Coloured = true;
            part.m_Vertices.back().m_Colour = PatchColour(surface, uv);
        }
        return index;
    };
    auto vertex = [&](ESurface surface, int i, int j) {
        auto& known = indices[static_cast<int>(surface)];
        const auto found = known.find({i, j});
        if (found != known.end())
            return found->second;
        return known[{i, j}] = addVertex(surface, i, j);
    };
    auto lodTriangles = [&](ESurface surface) -> std::vector<std::uint32_t>& {
        meshgen::CGeometry& part = mesh.Part(SurfaceMaterial(static_cast<int>(surface)));
        part.m_LodIndices.resize(1);
        return part.m_LodIndices[0];
    };
    std::vector<ESurface> surfaces(cells * cells);
    auto cellSurface = [&](int i, int j) { return surfaces[i * cells + j]; };
    auto addCell = [&](std::vector<std::uint32_t>& triangles, ESurface surface, int i, int j) {
        const std::uint32_t a = vertex(surface, i, j), b = vertex(surface, i, j + 1);
        const std::uint32_t c = vertex(surface, i + 1, j + 1), d = vertex(surface, i + 1, j);
        triangles.insert(triangles.end(), {a, b, c, a, c, d});
    };
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const ESurface surface =
                CHomeField::SurfaceAt(ox + (i + 0.5) * CHomeField::kCell, oz + (j + 0.5) * CHomeField::kCell);
            surfaces[i * cells + j] = surface;
            addCell(mesh.Part(SurfaceMaterial(static_cast<int>(surface))).m_Indices, surface, i, j);
        }
    }

    // The lower level of detail: blocks of one surface as fans from their
    // middle, their sides in whole cells where the neighbour is not such a
    // block (and along the tile's edges), so that no side has a vertex in the
    // middle of another's edge; the other blocks cell by cell as above.
    const int blocks = cells / kLodBlock;
    auto uniform = [&](int bi, int bj) {
        if (bi < 0 || bj < 0 || bi >= blocks || bj >= blocks)
            return false;
        const ESurface first = cellSurface(bi * kLodBlock, bj * kLodBlock);
        for (int i = bi * kLodBlock; i < (bi + 1) * kLodBlock; ++i)
            for (int j = bj * kLodBlock; j < (bj + 1) * kLodBlock; ++j)
                if (cellSurface(i, j) != first)
                    return false;
        return true;
    };
    for (int bi = 0; bi < blocks; ++bi) {
        for (int bj = 0; bj < blocks; ++bj) {
            const int i0 = bi * kLodBlock, j0 = bj * kLodBlock;
            if (!uniform(bi, bj)) {
                for (int i = i0; i < i0 + kLodBlock; ++i)
                    for (int j = j0; j < j0 + kLodBlock; ++j)
                        addCell(lodTriangles(cellSurface(i, j)), cellSurface(i, j), i, j);
                continue;
            }
            const ESurface surface = cellSurface(i0, j0);
            // Counter-clockwise from the low corner, each side with its neighbour.
            const int corners[4][2] = {{i0, j0}, {i0, j0 + kLodBlock}, {i0 + kLodBlock, j0 + kLodBlock}, {i0 + kLodBlock, j0}};
            const bool whole[4] = {uniform(bi - 1, bj), uniform(bi, bj + 1), uniform(bi + 1, bj), uniform(bi, bj - 1)};
            std::vector<std::uint32_t> rim;
            for (int side = 0; side < 4; ++side) {
                const int* from = corners[side];
                const int* to = corners[(side + 1) % 4];
                const int step = whole[side] ? kLodBlock : 1;
                const int di = (to[0] - from[0]) / kLodBlock, dj = (to[1] - from[1]) / kLodBlock;
                for (int k = 0; k < kLodBlock; k += step)
                    rim.push_back(vertex(surface, from[0] + di * k, from[1] + dj * k));
            }
            const std::uint32_t middle = addVertex(surface, i0 + kLodBlock / 2.0, j0 + kLodBlock / 2.0);
            std::vector<std::uint32_t>& triangles = lodTriangles(surface);
            for (std::size_t k = 0; k < rim.size(); ++k)
                triangles.insert(triangles.end(), {middle, rim[k], rim[(k + 1) % rim.size()]});
        }
    }
    mesh.m_LodDistances = {kLodDistance};
    AddPondWater(mesh, ox, oz);
    return mesh;
}

xml::CNodePtr TilesDocument()
{
    xml::CNodePtr tiles(new xml::CNode("Tiles", false));
    tiles->AddAttribute("Name", "HomeField");
    tiles->AddAttribute("MinCorner", sds::CVector(CHomeField::kMin, CHomeField::kDeepestPoint, CHomeField::kMin));
    tiles->AddAttribute("MaxCorner", sds::CVector(CHomeField::kMax, 90.0f, CHomeField::kMax));
    tiles->AddAttribute("TileSize", sds::CVector(CHomeField::kTileSize, 0.0f, CHomeField::kTileSize));
    for (int x = 0; x < CHomeField::kTiles; ++x) {
        for (int z = 0; z < CHomeField::kTiles; ++z) {
            xml::CNodePtr tile = tiles->AddChild("Tile");
            tile->AddAttribute("Name", sds::TileName({x, z}));
            tile->AddAttribute("Pos", sds::CVector(CHomeField::kMin + x * CHomeField::kTileSize, 0.0f,
                                                   CHomeField::kMin + z * CHomeField::kTileSize));
        }
    }
    return tiles;
}

} // namespace dzgen
