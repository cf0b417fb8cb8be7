#include "meshgen/Textures.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace meshgen {

namespace {

std::uint8_t Byte(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

float Hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float Smooth(float t)
{
    return t * t * (3 - 2 * t);
}

// Rings and bands by a coordinate.
bool Band(float value, float width)
{
    return std::fmod(std::fabs(value), 2 * width) < width;
}

} // namespace

CColour Mix(const CColour& x, const CColour& y, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

void CImage::Set(int x, int y, const CColour& colour)
{
    std::uint8_t* p = &m_Pixels[(static_cast<std::size_t>(y) * m_Width + x) * 4];
    p[0] = Byte(colour.r);
    p[1] = Byte(colour.g);
    p[2] = Byte(colour.b);
    p[3] = Byte(colour.a);
}

void CImage::Fill(const std::function<CColour(float u, float v)>& colour)
{
    for (int y = 0; y < m_Height; ++y)
        for (int x = 0; x < m_Width; ++x)
            Set(x, y, colour((x + 0.5f) / m_Width, (y + 0.5f) / m_Height));
}

void CImage::Save(const std::string& path) const
{
    if (!stbi_write_png(path.c_str(), m_Width, m_Height, 4, m_Pixels.data(), m_Width * 4))
        throw std::runtime_error("Could not write " + path);
}

float TileableNoise(float x, float y, int period, std::uint32_t seed)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = Smooth(x - x0);
    const float fy = Smooth(y - y0);
    auto at = [&](int ix, int iy) { return Hash(((ix % period) + period) % period, ((iy % period) + period) % period, seed); };
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

float TileableFractal(float x, float y, int period, int octaves, std::uint32_t seed)
{
    float sum = 0, weight = 0, amplitude = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * TileableNoise(x, y, period, seed + i);
        weight += amplitude;
        x *= 2;
        y *= 2;
        period *= 2;
        amplitude *= 0.5f;
    }
    return sum / weight;
}

void SaveObjectTextures(const std::string& folder)
{
    CImage bark(128, 128);
    bark.Fill([](float u, float v) {
        const float grain = TileableFractal(u * 16, v * 2, 16, 3, 11);
        return Mix({0.25f, 0.17f, 0.1f}, {0.45f, 0.34f, 0.22f}, grain);
    });
    bark.Save(folder + "/TreeBark.png");

    CImage leaves(128, 128);
    leaves.Fill([](float u, float v) {
        const float clumps = TileableFractal(u * 8, v * 8, 8, 4, 21);
        return Mix({0.12f, 0.26f, 0.07f}, {0.36f, 0.55f, 0.18f}, clumps * 1.3f - 0.15f);
    });
    leaves.Save(folder + "/TreeLeaves.png");

    CImage needles(128, 128);
    needles.Fill([](float u, float v) {
        const float streaks = TileableFractal(u * 32, v * 4, 32, 3, 31);
        return Mix({0.05f, 0.16f, 0.08f}, {0.17f, 0.33f, 0.16f}, streaks);
    });
    needles.Save(folder + "/PineNeedles.png");

    CImage bush(128, 128);
    bush.Fill([](float u, float v) {
        const float clumps = TileableFractal(u * 8, v * 8, 8, 4, 41);
        return Mix({0.16f, 0.3f, 0.1f}, {0.42f, 0.52f, 0.2f}, clumps);
    });
    bush.Save(folder + "/BushLeaves.png");

    // The landing target seen from above: white rings round a red centre.
    CImage target(256, 256);
    target.Fill([](float u, float v) {
        const float r = std::hypot(u - 0.5f, v - 0.5f) * 2;
        if (r < 0.08f)
            return CColour{0.85f, 0.1f, 0.08f};
        if (r < 0.4f)
            return Band(r, 0.08f) ? CColour{0.95f, 0.95f, 0.92f} : CColour{0.85f, 0.1f, 0.08f};
        return r < 0.96f ? CColour{0.95f, 0.82f, 0.1f} : CColour{0.9f, 0.9f, 0.9f};
    });
    target.Save(folder + "/TargetFace.png");

    CImage cone(64, 64);
    cone.Fill([](float, float v) {
        return v > 0.35f && v < 0.55f ? CColour{0.95f, 0.95f, 0.95f} : CColour{0.95f, 0.4f, 0.05f};
    });
    cone.Save(folder + "/TrafficCone.png");

    CImage barrel(64, 64);
    barrel.Fill([](float u, float v) {
        const bool rib = std::fabs(v - 0.33f) < 0.02f || std::fabs(v - 0.66f) < 0.02f;
        const float wear = TileableFractal(u * 8, v * 8, 8, 3, 51);
        return Mix(rib ? CColour{0.1f, 0.2f, 0.45f} : CColour{0.15f, 0.3f, 0.6f}, {0.35f, 0.3f, 0.28f}, wear * 0.4f);
    });
    barrel.Save(folder + "/Barrel.png");

    // The sock: orange and white bands along its length.
    CImage sock(64, 64);
    sock.Fill([](float, float v) {
        return static_cast<int>(v * 5) % 2 ? CColour{0.97f, 0.97f, 0.97f} : CColour{1.0f, 0.42f, 0.05f};
    });
    sock.Save(folder + "/WindSock.png");
}

} // namespace meshgen
