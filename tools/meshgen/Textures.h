#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace meshgen {

struct CColour
{
    float r = 0, g = 0, b = 0, a = 1;
};

CColour Mix(const CColour& x, const CColour& y, float t);

// A picture of RGBA bytes, written as PNG.
class CImage
{
public:
    CImage(int width, int height) : m_Width(width), m_Height(height), m_Pixels(width * height * 4, 255) {}

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    void Set(int x, int y, const CColour& colour);
    // Each pixel from its position in [0, 1) × [0, 1).
    void Fill(const std::function<CColour(float u, float v)>& colour);
    void Save(const std::string& path) const;

private:
    int m_Width;
    int m_Height;
    std::vector<std::uint8_t> m_Pixels;
};

// Smooth value noise in [0, 1] that repeats every `period` units in x and y.
float TileableNoise(float x, float y, int period, std::uint32_t seed);
// Several octaves of it, the first repeating every `period` units.
float TileableFractal(float x, float y, int period, int octaves, std::uint32_t seed);

// The pictures of the project's general meshes, into the folder.
void SaveObjectTextures(const std::string& folder);

} // namespace meshgen
