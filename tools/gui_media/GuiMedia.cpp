// Draws the GUI's own images.
//
//   sds_gui_media <data folder>
//
// writes gui/Dravonkel.png and gui/Help.png below the data folder. The images
// are drawn from signed distances so that their edges are smooth. The UI sounds
// come from the sound generator (tools/soundgen).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

struct CColour
{
    float R, G, B, A;
};

struct CPoint
{
    float X, Y;
};

class CImage
{
public:
    CImage(int width, int height) : m_Width(width), m_Height(height), m_Pixels(width * height * 4, 0) {}

    // Paints `colour` over the pixels where `coverage` (0..1 at a pixel's
    // centre sample grid) is positive, blending with what is there.
    void Paint(int left, int top, int width, int height, const std::function<float(float, float)>& coverage,
               const std::function<CColour(float, float)>& colour)
    {
        const int samples = 4;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x) {
                float covered = 0.0f;
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx)
                        covered += coverage(x - left + (sx + 0.5f) / samples, y - top + (sy + 0.5f) / samples);
                covered /= samples * samples;
                if (covered <= 0.0f)
                    continue;
                const CColour c = colour(x - left + 0.5f, y - top + 0.5f);
                Blend(x, y, c, covered);
            }
    }

    void Fill(int left, int top, int width, int height, const CColour& colour)
    {
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                Blend(x, y, colour, 1.0f);
    }

    bool Save(const std::string& fileName) const
    {
        return stbi_write_png(fileName.c_str(), m_Width, m_Height, 4, m_Pixels.data(), m_Width * 4) != 0;
    }

private:
    void Blend(int x, int y, const CColour& c, float coverage)
    {
        std::uint8_t* p = &m_Pixels[(y * m_Width + x) * 4];
        const float srcA = c.A * coverage;
        const float dstA = p[3] / 255.0f;
        const float outA = srcA + dstA * (1.0f - srcA);
        auto mix = [&](float src, std::uint8_t dst) {
            if (outA <= 0.0f)
                return std::uint8_t(0);
            const float v = (src * srcA + dst / 255.0f * dstA * (1.0f - srcA)) / outA;
            return std::uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
        };
        p[0] = mix(c.R, p[0]);
        p[1] = mix(c.G, p[1]);
        p[2] = mix(c.B, p[2]);
        p[3] = std::uint8_t(std::lround(outA * 255.0f));
    }

    int m_Width;
    int m_Height;
    std::vector<std::uint8_t> m_Pixels;
};

float SegmentDistance(const CPoint& p, const CPoint& a, const CPoint& b)
{
    const float abx = b.X - a.X, aby = b.Y - a.Y;
    const float t = std::clamp(((p.X - a.X) * abx + (p.Y - a.Y) * aby) / (abx * abx + aby * aby), 0.0f, 1.0f);
    const float dx = p.X - (a.X + t * abx), dy = p.Y - (a.Y + t * aby);
    return std::sqrt(dx * dx + dy * dy);
}

// Negative inside the polygon, positive outside.
float PolygonDistance(const std::vector<CPoint>& polygon, const CPoint& p)
{
    float distance = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const CPoint& a = polygon[i];
        const CPoint& b = polygon[j];
        distance = std::min(distance, SegmentDistance(p, a, b));
        if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X)
            inside = !inside;
    }
    return inside ? -distance : distance;
}

// Negative inside a box of half size (hx, hy) with rounded corners of radius r.
float RoundBoxDistance(float x, float y, float hx, float hy, float r)
{
    const float qx = std::fabs(x) - hx + r, qy = std::fabs(y) - hy + r;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

const CColour Black{0.0f, 0.0f, 0.0f, 1.0f};
const CColour White{1.0f, 1.0f, 1.0f, 1.0f};

// A check box of `size` pixels at `left`: a light frame round a dark well
// that reads on the menus' dark and light parts alike.
void DrawCheckbox(CImage& image, int left, int size, const CColour& frame, const CColour& well)
{
    const float half = size / 2.0f;
    auto box = [half](float x, float y, float inset) {
        return RoundBoxDistance(x - half, y - half, half - inset, half - inset, 4.0f - inset * 0.5f);
    };
    image.Paint(left, 0, size, size, [&](float x, float y) { return box(x, y, 0.5f) < 0.0f ? 1.0f : 0.0f; },
                [&](float, float) { return frame; });
    image.Paint(left, 0, size, size, [&](float x, float y) { return box(x, y, 2.5f) < 0.0f ? 1.0f : 0.0f; },
                [&](float, float) { return well; });
}

// The check mark: a thick bright tick with a dark edge, over the box's well.
void DrawCheckMark(CImage& image, int left, int size)
{
    const float s = size / 22.0f;
    const CPoint a{5.0f * s, 11.5f * s}, b{9.5f * s, 16.0f * s}, c{17.5f * s, 5.5f * s};
    auto tick = [&](float x, float y, float width) {
        const CPoint p{x, y};
        return std::min(SegmentDistance(p, a, b), SegmentDistance(p, b, c)) < width / 2.0f ? 1.0f : 0.0f;
    };
    image.Paint(left, 0, size, size, [&](float x, float y) { return tick(x, y, 5.6f * s); },
                [](float, float) { return CColour{0.02f, 0.05f, 0.02f, 1.0f}; });
    image.Paint(left, 0, size, size, [&](float x, float y) { return tick(x, y, 3.4f * s); },
                [](float, float) { return CColour{0.55f, 1.0f, 0.35f, 1.0f}; });
}

// The mouse arrow (tip at 1,1), the list-selection brush and the check box's
// three pictures (22 px: normal, under the pointer, the mark), side by side.
// Layout of the image must match Dravonkel.imageset.
bool DrawSkinImages(const std::string& fileName)
{
    CImage image(160, 32);
    const std::vector<CPoint> arrow = {{1.0f, 1.0f},   {1.0f, 23.0f},  {6.2f, 18.2f}, {10.0f, 27.0f},
                                       {13.6f, 25.6f}, {9.8f, 17.0f},  {17.0f, 17.0f}};
    image.Paint(0, 0, 20, 29,
                [&](float x, float y) { return PolygonDistance(arrow, {x, y}) < 0.0f ? 1.0f : 0.0f; },
                [](float, float) { return Black; });
    image.Paint(0, 0, 20, 29,
                [&](float x, float y) { return PolygonDistance(arrow, {x, y}) < -1.3f ? 1.0f : 0.0f; },
                [](float, float) { return White; });
    // Selection brush: a soft blue that keeps white item text readable.
    image.Fill(32, 0, 16, 16, CColour{0.18f, 0.42f, 0.82f, 0.85f});
    DrawCheckbox(image, 64, 22, CColour{0.82f, 0.86f, 0.95f, 1.0f}, CColour{0.05f, 0.07f, 0.12f, 0.95f});
    DrawCheckbox(image, 90, 22, CColour{0.45f, 0.78f, 1.0f, 1.0f}, CColour{0.10f, 0.15f, 0.26f, 0.95f});
    DrawCheckMark(image, 116, 22);
    return image.Save(fileName);
}

// A three-button mouse seen from above for the help screen's mouse page.
// Layout of the image must match Help.imageset.
bool DrawHelpImages(const std::string& fileName)
{
    const int width = 128, height = 192;
    CImage image(width, height);
    const float cx = width / 2.0f, cy = height / 2.0f;
    auto body = [&](float x, float y) { return RoundBoxDistance(x - cx, y - cy, 56.0f, 90.0f, 50.0f); };
    const float split = 74.0f; // lower edge of the buttons
    image.Paint(0, 0, width, height, [&](float x, float y) { return body(x, y) < 0.0f ? 1.0f : 0.0f; },
                [](float, float) { return CColour{0.10f, 0.12f, 0.16f, 1.0f}; });
    auto inner = [&](float x, float y) { return body(x, y) < -2.5f; };
    image.Paint(0, 0, width, height, [&](float x, float y) { return inner(x, y) && y > split + 1.5f ? 1.0f : 0.0f; },
                [&](float, float y) {
                    const float shade = 0.80f - 0.25f * (y - split) / (height - split);
                    return CColour{shade, shade, shade * 1.04f, 1.0f};
                });
    image.Paint(0, 0, width, height,
                [&](float x, float y) { return inner(x, y) && y < split - 1.5f && x < cx - 1.5f ? 1.0f : 0.0f; },
                [](float, float) { return CColour{0.33f, 0.56f, 0.90f, 1.0f}; });
    image.Paint(0, 0, width, height,
                [&](float x, float y) { return inner(x, y) && y < split - 1.5f && x > cx + 1.5f ? 1.0f : 0.0f; },
                [](float, float) { return CColour{0.93f, 0.58f, 0.22f, 1.0f}; });
    // The wheel: a dark rim round a green wheel.
    auto wheel = [&](float x, float y, float grow) {
        return RoundBoxDistance(x - cx, y - 40.0f, 5.0f + grow, 14.0f + grow, 4.5f + grow) < 0.0f ? 1.0f : 0.0f;
    };
    image.Paint(0, 0, width, height, [&](float x, float y) { return wheel(x, y, 2.0f); },
                [](float, float) { return CColour{0.10f, 0.12f, 0.16f, 1.0f}; });
    image.Paint(0, 0, width, height, [&](float x, float y) { return wheel(x, y, 0.0f); },
                [](float, float) { return CColour{0.55f, 0.85f, 0.45f, 1.0f}; });
    return image.Save(fileName);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: sds_gui_media <data folder>\n";
        return 1;
    }
    const boost::filesystem::path data(argv[1]);
    boost::filesystem::create_directories(data / "gui");

    const bool ok = DrawSkinImages((data / "gui" / "Dravonkel.png").string()) &&
                    DrawHelpImages((data / "gui" / "Help.png").string());
    if (!ok) {
        std::cerr << "sds_gui_media: could not write the GUI images into " << data << "\n";
        return 1;
    }
    return 0;
}
