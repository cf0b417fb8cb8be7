// Draws the sky's pictures.
//
//   sds_skygen <sky folder>
//
// writes into the folder:
// - SkyGradients.png, SunGradient.png: the sky's colours and the sunlight by
//   the sun's height, laid out as scene/ogre/sky/GradientLayout.h says;
// - Starfield.png: the stars over the whole sphere, by azimuth and elevation;
// - CloudsA.png, CloudsB.png: two tileable cloud pictures whose opacity is
//   spread evenly from 0 to 1, so that a cover of c shows a share c of them,
//   greyer where they are thickest;
// - SunDisc.png: the sun's disc and glow, for additive drawing;
// - SkyBox_fr.png … SkyBox_dn.png: the six faces of a sky box of a clear
//   afternoon, in the sky box's frame order;
// - Ground.png: mown grass in a light and a dark strip, the ground under a
//   sky for a scene without a terrain of its own; it tiles both ways.
// The pictures are the same on every run.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "scene/ogre/SkyBoxFaces.h"
#include "scene/ogre/sky/GradientLayout.h"

namespace {

const float kPi = 3.14159265f;

struct CRgb
{
    float r, g, b;
};

CRgb Mix(const CRgb& a, const CRgb& b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

CRgb operator+(const CRgb& a, const CRgb& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
CRgb operator*(const CRgb& a, float f) { return {a.r * f, a.g * f, a.b * f}; }

float SmoothStep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

class CPicture
{
public:
    CPicture(int width, int height) : m_Width(width), m_Height(height), m_Pixels(width * height * 4, 0.0f) {}

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }

    void Set(int x, int y, const CRgb& colour, float alpha = 1.0f)
    {
        float* p = &m_Pixels[(y * m_Width + x) * 4];
        p[0] = colour.r;
        p[1] = colour.g;
        p[2] = colour.b;
        p[3] = alpha;
    }

    // Adds light to a pixel (for stars); outside the picture nothing happens.
    void Add(int x, int y, const CRgb& colour)
    {
        if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
            return;
        float* p = &m_Pixels[(y * m_Width + x) * 4];
        p[0] += colour.r;
        p[1] += colour.g;
        p[2] += colour.b;
        p[3] = 1.0f;
    }

    bool Save(const std::string& file) const
    {
        std::vector<std::uint8_t> bytes(m_Pixels.size());
        for (size_t i = 0; i < m_Pixels.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(std::lround(std::clamp(m_Pixels[i], 0.0f, 1.0f) * 255));
        return stbi_write_png(file.c_str(), m_Width, m_Height, 4, bytes.data(), m_Width * 4) != 0;
    }

private:
    int m_Width;
    int m_Height;
    std::vector<float> m_Pixels;
};

// ---- The sky's colours by the sun's height (the sine of its elevation) ----

struct CSkyKey
{
    float m_SunHeight;
    CRgb m_Zenith;
    CRgb m_Horizon;
    CRgb m_SunLight;
};

// Night, twilight with a glowing horizon, sunrise, and a clear day.
const CSkyKey kSkyKeys[] = {
    {-1.0f, {0.005f, 0.008f, 0.02f}, {0.015f, 0.02f, 0.035f}, {0, 0, 0}},
    {-0.2f, {0.005f, 0.008f, 0.02f}, {0.015f, 0.02f, 0.035f}, {0, 0, 0}},
    {-0.1f, {0.03f, 0.045f, 0.12f}, {0.12f, 0.1f, 0.16f}, {0, 0, 0}},
    {-0.03f, {0.08f, 0.12f, 0.28f}, {0.55f, 0.32f, 0.25f}, {0.1f, 0.03f, 0.0f}},
    {0.0f, {0.16f, 0.26f, 0.5f}, {0.9f, 0.55f, 0.32f}, {0.7f, 0.32f, 0.1f}},
    {0.06f, {0.2f, 0.36f, 0.66f}, {0.95f, 0.72f, 0.5f}, {1.0f, 0.6f, 0.32f}},
    {0.18f, {0.2f, 0.4f, 0.76f}, {0.78f, 0.8f, 0.82f}, {1.0f, 0.85f, 0.66f}},
    {0.4f, {0.17f, 0.38f, 0.8f}, {0.7f, 0.8f, 0.92f}, {1.0f, 0.95f, 0.86f}},
    {1.0f, {0.15f, 0.36f, 0.8f}, {0.68f, 0.79f, 0.93f}, {1.0f, 0.97f, 0.92f}},
};

CSkyKey SkyAt(float sunHeight)
{
    const size_t count = sizeof kSkyKeys / sizeof kSkyKeys[0];
    size_t upper = 1;
    while (upper + 1 < count && kSkyKeys[upper].m_SunHeight < sunHeight)
        ++upper;
    const CSkyKey& a = kSkyKeys[upper - 1];
    const CSkyKey& b = kSkyKeys[upper];
    const float t = (sunHeight - a.m_SunHeight) / (b.m_SunHeight - a.m_SunHeight);
    return {sunHeight, Mix(a.m_Zenith, b.m_Zenith, t), Mix(a.m_Horizon, b.m_Horizon, t),
            Mix(a.m_SunLight, b.m_SunLight, t)};
}

// The sky at a point seen at `viewHeight` (the sine of its elevation): the
// horizon's colour gives way to the zenith's a little way up.
CRgb SkyColour(float sunHeight, float viewHeight)
{
    const CSkyKey key = SkyAt(sunHeight);
    const float up = 1.0f - std::pow(1.0f - std::clamp(viewHeight, 0.0f, 1.0f), 3.0f);
    return Mix(key.m_Horizon, key.m_Zenith, up);
}

// The sun height a gradient column stands for (inverse of GradientU).
float ColumnSunHeight(int column)
{
    return 2.0f * column / (caelum::kGradientWidth - 1) - 1.0f;
}

void SaveGradients(const std::string& folder)
{
    CPicture sky(caelum::kGradientWidth, caelum::kSkyGradientHeight);
    for (int y = 0; y < sky.Height(); ++y)
        for (int x = 0; x < sky.Width(); ++x)
            sky.Set(x, y, SkyColour(ColumnSunHeight(x), 1.0f - static_cast<float>(y) / (sky.Height() - 1)));
    sky.Save(folder + "/" + caelum::kSkyGradientsPicture);

    CPicture sun(caelum::kGradientWidth, 1);
    for (int x = 0; x < sun.Width(); ++x)
        sun.Set(x, 0, SkyAt(ColumnSunHeight(x)).m_SunLight);
    sun.Save(folder + "/" + caelum::kSunGradientPicture);
}

// ---- Noise ----

float Lattice(int x, int y, int period, unsigned seed)
{
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

// Smooth value noise that repeats every `period` units.
float ValueNoise(float x, float y, int period, unsigned seed)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = SmoothStep(0, 1, x - x0);
    const float fy = SmoothStep(0, 1, y - y0);
    const float top = Lattice(x0, y0, period, seed) * (1 - fx) + Lattice(x0 + 1, y0, period, seed) * fx;
    const float bottom = Lattice(x0, y0 + 1, period, seed) * (1 - fx) + Lattice(x0 + 1, y0 + 1, period, seed) * fx;
    return top * (1 - fy) + bottom * fy;
}

// Octaves of value noise over a picture that tiles, u and v from 0 to 1.
float TileableFractal(float u, float v, int basePeriod, int octaves, unsigned seed)
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    int period = basePeriod;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += ValueNoise(u * period, v * period, period, seed + octave * 7919u) * weight;
        total += weight;
        weight *= 0.5f;
        period *= 2;
    }
    return sum / total;
}

// ---- Clouds ----

void SaveClouds(const std::string& file, unsigned seed)
{
    const int size = 256;
    std::vector<float> values(size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            values[y * size + x] = TileableFractal((x + 0.5f) / size, (y + 0.5f) / size, 4, 6, seed);
    // Opacity by rank: every level of cover shows that share of the picture.
    std::vector<int> order(values.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return values[a] < values[b]; });
    CPicture picture(size, size);
    for (size_t rank = 0; rank < order.size(); ++rank) {
        const float opacity = static_cast<float>(rank) / (order.size() - 1);
        // Thick clouds are grey underneath, their edges bright.
        const float shade = 1.0f - 0.22f * SmoothStep(0.75f, 1.0f, opacity);
        picture.Set(order[rank] % size, order[rank] / size, {shade, shade, shade}, opacity);
    }
    picture.Save(file);
}

// ---- Sun and stars ----

void SaveSunDisc(const std::string& file)
{
    const int size = 128;
    CPicture picture(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float r = std::hypot((x + 0.5f) / size - 0.5f, (y + 0.5f) / size - 0.5f) * 2.0f;
            const float edge = std::clamp(1.0f - r, 0.0f, 1.0f);
            const float disc = SmoothStep(0.17f, 0.13f, r);
            const float glow = 0.45f * std::exp(-r * r / 0.06f) + 0.15f * std::exp(-r * 4.0f);
            const float light = std::min(1.0f, disc + glow * edge * edge);
            picture.Set(x, y, {light, light, light});
        }
    picture.Save(file);
}

void SaveStarfield(const std::string& file)
{
    CPicture picture(2048, 1024);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.Set(x, y, {0, 0, 0});
    std::mt19937 random(20260320u);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const CRgb tints[] = {{1.0f, 0.85f, 0.7f}, {1.0f, 1.0f, 1.0f}, {0.8f, 0.88f, 1.0f}};
    for (int star = 0; star < 5000; ++star) {
        // Evenly over the sphere: azimuth, and the sine of the elevation.
        const float u = unit(random);
        const float height = unit(random) * 2.0f - 1.0f;
        const float v = 0.5f - std::asin(height) / kPi;
        // Many faint stars, few bright ones.
        const float brightness = 0.15f + 0.85f * std::pow(unit(random), 6.0f);
        const float radius = 0.6f + 0.9f * brightness;
        const CRgb tint = tints[static_cast<int>(unit(random) * 3) % 3];
        const float cx = u * picture.Width();
        const float cy = v * picture.Height();
        for (int y = static_cast<int>(cy - 2); y <= static_cast<int>(cy + 2); ++y)
            for (int x = static_cast<int>(cx - 2); x <= static_cast<int>(cx + 2); ++x) {
                const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
                const float light = brightness * std::exp(-d * d / (radius * radius));
                picture.Add((x + picture.Width()) % picture.Width(), y, tint * light);
            }
    }
    picture.Save(file);
}

// ---- Sky box ----

struct CDirection
{
    float x, y, z;
};

CDirection Normalised(float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    return {x / length, y / length, z / length};
}

// A clear afternoon: the sun 40 degrees high in the south-west, a few clouds,
// the land under the horizon in haze.
CRgb AfternoonSky(const CDirection& d)
{
    const float sunHeight = 0.64f;
    const CDirection sun = Normalised(-0.5f, 0.84f, 0.62f);
    const float towards = std::max(0.0f, d.x * sun.x + d.y * sun.y + d.z * sun.z);
    const CRgb sunLight = SkyAt(sunHeight).m_SunLight;
    if (d.y < 0.0f) {
        const CRgb land = {0.3f, 0.34f, 0.24f};
        return Mix(SkyColour(sunHeight, 0.0f), land, SmoothStep(0.0f, 0.2f, -d.y));
    }
    CRgb colour = SkyColour(sunHeight, d.y) + sunLight * (0.35f * std::pow(towards, 24.0f));
    // Clouds on a flat layer overhead, thinning towards the horizon.
    if (d.y > 0.02f) {
        const float u = d.x / d.y * 0.15f;
        const float v = d.z / d.y * 0.15f;
        const float noise = TileableFractal(u - std::floor(u), v - std::floor(v), 4, 6, 77);
        const float cover = SmoothStep(0.58f, 0.75f, noise) * SmoothStep(0.02f, 0.2f, d.y);
        colour = Mix(colour, CRgb{0.95f, 0.95f, 0.93f}, cover * 0.9f);
    }
    return Mix(colour, CRgb{1, 1, 1}, SmoothStep(0.9985f, 0.9995f, towards));
}

void SaveSkyBox(const std::string& folder)
{
    const char* const suffixes[6] = {"fr", "bk", "lf", "rt", "up", "dn"};
    const int size = 512;
    for (int face = 0; face < 6; ++face) {
        const wrappers::CSkyBoxFace& f = wrappers::kSkyBoxFaces[face];
        const float* n = f.m_Normal;
        const float* up = f.m_Up;
        // Left to right along up x normal; top to bottom against up.
        const float across[3] = {up[1] * n[2] - up[2] * n[1], up[2] * n[0] - up[0] * n[2],
                                 up[0] * n[1] - up[1] * n[0]};
        CPicture picture(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const float s = 2.0f * (x + 0.5f) / size - 1.0f;
                const float t = 1.0f - 2.0f * (y + 0.5f) / size;
                const CDirection d = Normalised(-n[0] + across[0] * s + up[0] * t, -n[1] + across[1] * s + up[1] * t,
                                                -n[2] + across[2] * s + up[2] * t);
                picture.Set(x, y, AfternoonSky(d));
            }
        picture.Save(folder + "/SkyBox_" + suffixes[face] + ".png");
    }
}

// ---- Ground ----

void SaveGround(const std::string& file)
{
    const int size = 256;
    CPicture picture(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (x + 0.5f) / size;
            const float v = (y + 0.5f) / size;
            // Mown one way in the top half, the other way in the bottom half.
            const float strip = SmoothStep(0.0f, 0.02f, v) * SmoothStep(0.5f, 0.48f, v);
            const float patches = TileableFractal(u, v, 2, 4, 301);
            const float blades = TileableFractal(u, v, 64, 2, 302);
            const CRgb grass = Mix(CRgb{0.3f, 0.46f, 0.17f}, CRgb{0.4f, 0.58f, 0.22f}, strip * 0.8f + patches * 0.3f);
            picture.Set(x, y, Mix(grass, CRgb{0.28f, 0.38f, 0.15f}, blades * 0.35f));
        }
    picture.Save(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: sds_skygen <sky folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    SaveGradients(folder);
    SaveClouds(folder + "/CloudsA.png", 11);
    SaveClouds(folder + "/CloudsB.png", 23);
    SaveSunDisc(folder + "/SunDisc.png");
    SaveStarfield(folder + "/Starfield.png");
    SaveSkyBox(folder);
    SaveGround(folder + "/Ground.png");
    return 0;
}
