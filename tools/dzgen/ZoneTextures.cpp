#include "dzgen/ZoneTextures.h"

#include <algorithm>
#include <cmath>

#include "meshgen/Textures.h"

namespace dzgen {

namespace {

using meshgen::CColour;
using meshgen::CImage;
using meshgen::Mix;
using meshgen::TileableFractal;

// A soft round spot of the colour, opaque at the centre.
CColour Spot(float u, float v, const CColour& colour, float sharpness)
{
    const float r = std::min(1.0f, std::hypot(u - 0.5f, v - 0.5f) * 2);
    CColour result = colour;
    result.a = std::pow(1 - r, sharpness);
    return result;
}

void Save(const std::string& folder, const std::string& name, int size,
          const std::function<CColour(float u, float v)>& colour)
{
    CImage image(size, size);
    image.Fill(colour);
    image.Save(folder + "/HomeField_" + name + ".png");
}

} // namespace

meshgen::CColour PatchShade(float u, float v)
{
    const float shade = 0.36f + 0.3f * TileableFractal(u * 4, v * 4, 4, 4, 191);
    return CColour{shade, shade * 1.04f, shade * 0.92f};
}

void SaveZoneTextures(const std::string& folder)
{
    Save(folder, "Grass", 512, [](float u, float v) {
        const float patches = TileableFractal(u * 3, v * 3, 3, 6, 101);
        const float blades = TileableFractal(u * 128, v * 128, 128, 2, 102);
        return Mix(Mix({0.27f, 0.42f, 0.15f}, {0.4f, 0.53f, 0.2f}, patches * 1.3f - 0.15f), {0.3f, 0.36f, 0.15f},
                   blades * 0.2f);
    });
    // Mown grass in strips, light one way and darker the other.
    Save(folder, "LandingArea", 256, [](float u, float v) {
        const float strip = u < 0.5f ? 1.0f : 0.0f;
        const float grain = TileableFractal(u * 32, v * 32, 32, 3, 103);
        return Mix(Mix({0.36f, 0.55f, 0.2f}, {0.47f, 0.66f, 0.27f}, strip), {0.33f, 0.45f, 0.18f}, grain * 0.3f);
    });
    // Rows of a ripening crop over brown soil.
    Save(folder, "Field", 256, [](float u, float v) {
        const float row = 0.5f + 0.5f * std::cos(u * 2 * 3.14159265f * 16);
        const float ripeness = TileableFractal(u * 4, v * 4, 4, 4, 104);
        const CColour crop = Mix({0.55f, 0.58f, 0.22f}, {0.78f, 0.7f, 0.35f}, ripeness);
        return Mix({0.42f, 0.33f, 0.22f}, crop, 0.35f + 0.65f * row);
    });
    // Across the runway once, along it one dash of the centre line: concrete
    // with edge lines and the dashed centre line.
    Save(folder, "Runway", 256, [](float u, float v) {
        const float wear = TileableFractal(u * 16, v * 16, 16, 4, 111);
        const CColour concrete = Mix({0.42f, 0.42f, 0.4f}, {0.6f, 0.6f, 0.58f}, wear);
        const bool edge = (v > 0.05f && v < 0.08f) || (v > 0.92f && v < 0.95f);
        const bool centre = std::fabs(v - 0.5f) < 0.015f && u < 0.5f;
        return edge || centre ? Mix(concrete, {0.92f, 0.92f, 0.9f}, 0.85f) : concrete;
    });
    Save(folder, "Sand", 128, [](float u, float v) {
        return Mix({0.62f, 0.55f, 0.4f}, {0.78f, 0.72f, 0.55f}, TileableFractal(u * 16, v * 16, 16, 3, 121));
    });
    Save(folder, "Pond", 128, [](float u, float v) {
        return Mix({0.12f, 0.25f, 0.3f}, {0.25f, 0.42f, 0.48f}, TileableFractal(u * 8, v * 8, 8, 4, 131));
    });
    Save(folder, "HangarWall", 128, [](float u, float v) {
        const float ribs = 0.5f + 0.5f * std::cos(u * 2 * 3.14159265f * 16);
        return Mix({0.55f, 0.6f, 0.64f}, {0.75f, 0.79f, 0.82f}, ribs * 0.6f + 0.4f * TileableFractal(u * 4, v * 4, 4, 2, 141));
    });
    Save(folder, "HangarRoof", 128, [](float u, float v) {
        const float ribs = 0.5f + 0.5f * std::cos(u * 2 * 3.14159265f * 16);
        return Mix({0.3f, 0.32f, 0.34f}, {0.45f, 0.47f, 0.5f}, ribs * 0.6f + 0.4f * TileableFractal(u * 4, v * 4, 4, 2, 151));
    });
    Save(folder, "HangarDoor", 128, [](float u, float v) {
        const bool seam = std::fmod(u * 4, 1.0f) < 0.03f || v < 0.04f;
        return seam ? CColour{0.2f, 0.22f, 0.25f} : Mix({0.35f, 0.42f, 0.52f}, {0.42f, 0.5f, 0.6f}, v);
    });
    Save(folder, "ClubWall", 128, [](float u, float v) {
        return Mix({0.86f, 0.8f, 0.66f}, {0.93f, 0.89f, 0.78f}, TileableFractal(u * 8, v * 8, 8, 3, 161));
    });
    Save(folder, "ClubRoof", 128, [](float u, float v) {
        const bool row = std::fmod(v * 8, 1.0f) < 0.12f;
        const float shade = TileableFractal(u * 16, v * 8, 16, 2, 171);
        return row ? CColour{0.3f, 0.12f, 0.08f} : Mix({0.55f, 0.2f, 0.12f}, {0.7f, 0.3f, 0.18f}, shade);
    });
    Save(folder, "Window", 64, [](float u, float v) {
        const bool frame = u < 0.08f || u > 0.92f || v < 0.08f || v > 0.92f || std::fabs(u - 0.5f) < 0.03f;
        return frame ? CColour{0.95f, 0.95f, 0.95f} : Mix({0.15f, 0.25f, 0.4f}, {0.4f, 0.55f, 0.7f}, 1 - v);
    });
    Save(folder, "Smoke", 64, [](float u, float v) { return Spot(u, v, {0.92f, 0.92f, 0.9f}, 1.6f); });
    Save(folder, "Flare", 64, [](float u, float v) { return Spot(u, v, {1.0f, 1.0f, 1.0f}, 2.5f); });
}

} // namespace dzgen
