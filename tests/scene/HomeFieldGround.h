#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/Vector.h"
#include "dzgen/HomeField.h"

// The ground of the default zone as its tiles draw it: the height field at
// the grid's points, flat across each of a cell's two triangles; over the
// pond's basin, the water's surface.
inline double HomeFieldGroundAt(double x, double z)
{
    using dzgen::CHomeField;
    const double c = CHomeField::kCell;
    const double x0 = std::floor(x / c) * c, z0 = std::floor(z / c) * c;
    const double fx = (x - x0) / c, fz = (z - z0) / c;
    auto h = [](double px, double pz) { return static_cast<double>(static_cast<float>(CHomeField::Height(px, pz))); };
    const double a = h(x0, z0), b = h(x0, z0 + c), cc = h(x0 + c, z0 + c), d = h(x0 + c, z0);
    const double ground = fz >= fx ? a + fx * (cc - b) + fz * (b - a) : a + fx * (d - a) + fz * (cc - d);
    const double water = static_cast<float>(CHomeField::kWaterLevel);
    if (std::hypot(x - CHomeField::kPond.x, z - CHomeField::kPond.z) < CHomeField::kPondRadius && ground < water)
        return water;
    return ground;
}

// 100 points 1000 m up, spread over the zone, a fifth of them over the seams
// between tiles and some over their corners.
inline std::vector<sds::CVector> HomeFieldPointsAbove()
{
    using dzgen::CHomeField;
    std::vector<sds::CVector> points;
    std::uint32_t seed = 7;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
    };
    for (int i = 0; i < 100; ++i) {
        double x = CHomeField::kMin + 1 + random() * (CHomeField::kMax - CHomeField::kMin - 2);
        double z = CHomeField::kMin + 1 + random() * (CHomeField::kMax - CHomeField::kMin - 2);
        if (i % 5 == 0)
            x = CHomeField::kMin + CHomeField::kTileSize * (1 + i % 7);
        if (i % 10 == 0)
            z = CHomeField::kMin + CHomeField::kTileSize * (1 + i % 6);
        points.emplace_back(static_cast<float>(x), 1000.0f, static_cast<float>(z));
    }
    return points;
}
