// Draws the program's splash screen, the picture behind the menus, the window
// icons and the analog altimeter's face and needle.
//
//   sds_splashgen <data folder> <version> <font> <bold font>
//
// writes gfx/splash/Title.png and gfx/splash/MenuBackground.png (1024 x 768,
// the title screen and the picture behind the menus) and gfx/icons/<id>.png (64 x 64,
// one per icon number: 102 any edition, 107, 108 and 109 by edition) and
// gfx/dials/AltimeterFace.png, AltimeterNeedle.png below
// the data folder. Shapes are drawn from coverage functions sampled 4 x 4 per
// pixel, text with the TrueType fonts given.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <boost/filesystem.hpp>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

namespace {

const float Pi = 3.14159265f;

struct CColour
{
    float R, G, B, A;
};

CColour Mix(const CColour& a, const CColour& b, float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

CColour Rgb(int rgb, float alpha = 1.0f)
{
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

// 1 inside, 0 outside, at a point in pixel units.
typedef std::function<float(float, float)> CCoverage;
typedef std::function<CColour(float, float)> CPaint;

class CImage
{
public:
    CImage(int width, int height) : m_Width(width), m_Height(height), m_Pixels(width * height, CColour{0, 0, 0, 0}) {}

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }

    // Paints over the pixels of the box where the shape covers them.
    void Paint(float left, float top, float right, float bottom, const CCoverage& shape, const CPaint& paint)
    {
        const int samples = 4;
        const int x0 = std::max(0, static_cast<int>(std::floor(left)));
        const int y0 = std::max(0, static_cast<int>(std::floor(top)));
        const int x1 = std::min(m_Width, static_cast<int>(std::ceil(right)));
        const int y1 = std::min(m_Height, static_cast<int>(std::ceil(bottom)));
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                float covered = 0.0f;
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx)
                        covered += shape(x + (sx + 0.5f) / samples, y + (sy + 0.5f) / samples);
                covered /= samples * samples;
                if (covered > 0.0f)
                    Blend(x, y, paint(x + 0.5f, y + 0.5f), covered);
            }
    }

    void PaintAll(const CCoverage& shape, const CPaint& paint)
    {
        Paint(0.0f, 0.0f, static_cast<float>(m_Width), static_cast<float>(m_Height), shape, paint);
    }

    void Blend(int x, int y, const CColour& c, float coverage)
    {
        if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
            return;
        CColour& p = m_Pixels[y * m_Width + x];
        const float srcA = c.A * coverage;
        const float outA = srcA + p.A * (1.0f - srcA);
        if (outA <= 0.0f)
            return;
        auto mix = [&](float src, float dst) { return (src * srcA + dst * p.A * (1.0f - srcA)) / outA; };
        p = {mix(c.R, p.R), mix(c.G, p.G), mix(c.B, p.B), outA};
    }

    bool Save(const std::string& fileName) const
    {
        std::vector<std::uint8_t> bytes(m_Pixels.size() * 4);
        for (size_t i = 0; i < m_Pixels.size(); ++i) {
            const CColour& p = m_Pixels[i];
            const float channels[4] = {p.R, p.G, p.B, p.A};
            for (int c = 0; c < 4; ++c)
                bytes[i * 4 + c] = static_cast<std::uint8_t>(std::lround(std::clamp(channels[c], 0.0f, 1.0f) * 255));
        }
        return stbi_write_png(fileName.c_str(), m_Width, m_Height, 4, bytes.data(), m_Width * 4) != 0;
    }

private:
    int m_Width;
    int m_Height;
    std::vector<CColour> m_Pixels;
};

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    const float abx = bx - ax, aby = by - ay;
    const float t = std::clamp(((px - ax) * abx + (py - ay) * aby) / (abx * abx + aby * aby), 0.0f, 1.0f);
    const float dx = px - (ax + t * abx), dy = py - (ay + t * aby);
    return std::sqrt(dx * dx + dy * dy);
}

CPaint Solid(const CColour& colour)
{
    return [colour](float, float) { return colour; };
}

void FillLine(CImage& image, float ax, float ay, float bx, float by, float width, const CPaint& paint)
{
    const float margin = width;
    image.Paint(std::min(ax, bx) - margin, std::min(ay, by) - margin, std::max(ax, bx) + margin,
                std::max(ay, by) + margin,
                [=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) <= width / 2 ? 1.0f : 0.0f; },
                paint);
}

void FillEllipse(CImage& image, float cx, float cy, float rx, float ry, const CPaint& paint)
{
    image.Paint(cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1,
                [=](float x, float y) {
                    const float u = (x - cx) / rx, v = (y - cy) / ry;
                    return u * u + v * v <= 1.0f ? 1.0f : 0.0f;
                },
                paint);
}

void FillDisc(CImage& image, float cx, float cy, float radius, const CPaint& paint)
{
    FillEllipse(image, cx, cy, radius, radius, paint);
}

// A ram-air canopy seen from the front and below: an arc of cells between two
// circles about (cx, cy), `span` radians either side of straight up.
struct CCanopy
{
    float Cx, Cy, Outer, Inner, Span;
    int Cells;

    float AngleOf(float x, float y) const { return std::atan2(x - Cx, Cy - y); }
    bool Inside(float x, float y) const
    {
        const float r = std::hypot(x - Cx, y - Cy);
        return r <= Outer && r >= Inner && std::fabs(AngleOf(x, y)) <= Span;
    }
    int CellOf(float x, float y) const
    {
        const int cell = static_cast<int>((AngleOf(x, y) + Span) / (2 * Span) * Cells);
        return std::clamp(cell, 0, Cells - 1);
    }
    // The point on the lower edge at a seam between cells (0 .. Cells).
    void Seam(int seam, float& x, float& y) const
    {
        const float angle = -Span + 2 * Span * seam / Cells;
        x = Cx + Inner * std::sin(angle);
        y = Cy - Inner * std::cos(angle);
    }
};

void DrawCanopy(CImage& image, const CCanopy& canopy, const std::vector<CColour>& cellColours, const CColour& seams,
                float seamWidth, const CColour& lines, float lineWidth, float jumperX, float jumperY)
{
    for (int seam = 0; seam <= canopy.Cells; ++seam) {
        float x, y;
        canopy.Seam(seam, x, y);
        FillLine(image, x, y, jumperX, jumperY, lineWidth, Solid(lines));
    }
    const float left = canopy.Cx - canopy.Outer, top = canopy.Cy - canopy.Outer;
    const float right = canopy.Cx + canopy.Outer, bottom = canopy.Cy;
    image.Paint(left, top, right, bottom, [&](float x, float y) { return canopy.Inside(x, y) ? 1.0f : 0.0f; },
                [&](float x, float y) {
                    // Light from above: the upper skin is brighter than the leading edge.
                    const float r = std::hypot(x - canopy.Cx, y - canopy.Cy);
                    const float shade = 0.78f + 0.22f * (r - canopy.Inner) / (canopy.Outer - canopy.Inner);
                    const CColour c = cellColours[canopy.CellOf(x, y) % cellColours.size()];
                    return CColour{c.R * shade, c.G * shade, c.B * shade, c.A};
                });
    // Seams between cells and the outline.
    image.Paint(left, top, right, bottom,
                [&](float x, float y) {
                    if (!canopy.Inside(x, y))
                        return 0.0f;
                    const float r = std::hypot(x - canopy.Cx, y - canopy.Cy);
                    const float cell = (canopy.AngleOf(x, y) + canopy.Span) / (2 * canopy.Span) * canopy.Cells;
                    const float toSeam = std::fabs(cell - std::round(cell)) * (2 * canopy.Span / canopy.Cells) * r;
                    const bool edge = r - canopy.Inner < seamWidth || canopy.Outer - r < seamWidth;
                    return toSeam < seamWidth / 2 || edge ? 1.0f : 0.0f;
                },
                Solid(seams));
}

// A small jumper under the canopy: head, body, arms up to the risers, legs.
void DrawJumper(CImage& image, float x, float y, float scale, const CColour& colour)
{
    const float w = 4.0f * scale;
    FillDisc(image, x, y + 12 * scale, 6 * scale, Solid(colour));
    FillLine(image, x, y + 18 * scale, x, y + 42 * scale, 2.2f * w, Solid(colour));
    FillLine(image, x - 2 * scale, y + 22 * scale, x - 9 * scale, y + 2 * scale, w, Solid(colour));
    FillLine(image, x + 2 * scale, y + 22 * scale, x + 9 * scale, y + 2 * scale, w, Solid(colour));
    FillLine(image, x - 2 * scale, y + 42 * scale, x - 7 * scale, y + 64 * scale, w * 1.2f, Solid(colour));
    FillLine(image, x + 2 * scale, y + 42 * scale, x + 4 * scale, y + 64 * scale, w * 1.2f, Solid(colour));
}

class CFont
{
public:
    explicit CFont(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        m_Data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        m_Valid = !m_Data.empty() &&
                  stbtt_InitFont(&m_Font, reinterpret_cast<const unsigned char*>(m_Data.data()), 0) != 0;
    }

    bool IsValid() const { return m_Valid; }

    float Width(const std::string& text, float size) const
    {
        const float scale = stbtt_ScaleForPixelHeight(&m_Font, size);
        float width = 0.0f;
        for (size_t i = 0; i < text.size(); ++i) {
            int advance, bearing;
            stbtt_GetCodepointHMetrics(&m_Font, text[i], &advance, &bearing);
            width += advance * scale;
            if (i + 1 < text.size())
                width += stbtt_GetCodepointKernAdvance(&m_Font, text[i], text[i + 1]) * scale;
        }
        return width;
    }

    // Draws the text with its baseline at `baseline`, centred on `centreX`.
    void Draw(CImage& image, const std::string& text, float size, float centreX, float baseline,
              const CColour& colour) const
    {
        const float scale = stbtt_ScaleForPixelHeight(&m_Font, size);
        float x = centreX - Width(text, size) / 2;
        for (size_t i = 0; i < text.size(); ++i) {
            const float shift = x - std::floor(x);
            int w, h, xoff, yoff;
            unsigned char* bitmap = stbtt_GetCodepointBitmapSubpixel(&m_Font, scale, scale, shift, 0.0f, text[i],
                                                                     &w, &h, &xoff, &yoff);
            const int left = static_cast<int>(std::floor(x)) + xoff;
            const int top = static_cast<int>(std::lround(baseline)) + yoff;
            for (int row = 0; row < h; ++row)
                for (int column = 0; column < w; ++column)
                    if (const unsigned char value = bitmap[row * w + column])
                        image.Blend(left + column, top + row, colour, value / 255.0f);
            stbtt_FreeBitmap(bitmap, nullptr);
            int advance, bearing;
            stbtt_GetCodepointHMetrics(&m_Font, text[i], &advance, &bearing);
            x += advance * scale;
            if (i + 1 < text.size())
                x += stbtt_GetCodepointKernAdvance(&m_Font, text[i], text[i + 1]) * scale;
        }
    }

private:
    std::vector<char> m_Data;
    stbtt_fontinfo m_Font = {};
    bool m_Valid = false;
};

const int PictureWidth = 1024;
const int PictureHeight = 768;

// Sky with the sun, hills, fields and a landing target at `targetX`.
void DrawLandscape(CImage& image, float targetX)
{
    const float width = static_cast<float>(image.Width()), height = static_cast<float>(image.Height());
    const float horizon = 560.0f;
    const CColour skyTop = Rgb(0x123a6b), skyHorizon = Rgb(0xcfe6f2);
    image.PaintAll([](float, float) { return 1.0f; },
                   [&](float, float y) { return Mix(skyTop, skyHorizon, std::pow(y / horizon, 1.4f)); });
    // The sun's glow on the right.
    FillDisc(image, 880.0f, 300.0f, 220.0f, [](float x, float y) {
        const float d = std::hypot(x - 880.0f, y - 300.0f) / 220.0f;
        return CColour{1.0f, 0.95f, 0.82f, 0.55f * (1.0f - d) * (1.0f - d)};
    });
    FillDisc(image, 880.0f, 300.0f, 30.0f, Solid(Rgb(0xfff6dc)));

    // Distant hills, nearer hills, then the fields to the bottom.
    auto hills = [](float amplitude, float base, float phase) {
        return [=](float x, float y) {
            const float top = base - amplitude * (0.6f * std::sin(x / 97.0f + phase) + 0.4f * std::sin(x / 41.0f + 2 * phase));
            return y >= top ? 1.0f : 0.0f;
        };
    };
    image.PaintAll(hills(16.0f, horizon - 8.0f, 0.7f), Solid(Rgb(0x7d9fa8)));
    image.PaintAll(hills(10.0f, horizon + 10.0f, 2.1f), Solid(Rgb(0x5f8a5a)));
    image.Paint(0.0f, horizon + 18.0f, width, height, [](float, float) { return 1.0f; },
                [&](float x, float y) {
                    const float depth = (y - horizon) / (height - horizon);
                    const float stripe = std::sin((x - 512.0f) / (y - horizon + 20.0f) * 9.0f) > 0.0f ? 0.04f : 0.0f;
                    return Mix(Rgb(0x6f9a55), Rgb(0x3f6e34), depth + stripe);
                });
    // The landing target, flattened by the view.
    const float targetY = 690.0f;
    FillEllipse(image, targetX, targetY, 120.0f, 26.0f, Solid(Rgb(0xf4f1e6)));
    FillEllipse(image, targetX, targetY, 92.0f, 20.0f, Solid(Rgb(0xe8641e)));
    FillEllipse(image, targetX, targetY, 62.0f, 13.5f, Solid(Rgb(0xf4f1e6)));
    FillEllipse(image, targetX, targetY, 30.0f, 6.5f, Solid(Rgb(0xe8641e)));
}

// The canopy with its top at (x, top), the jumper hanging under it.
void DrawCanopyFlight(CImage& image, float x, float top, float scale)
{
    const float outer = 600.0f * scale;
    const CCanopy canopy{x, top + outer, outer, 548.0f * scale, 0.36f, 9};
    const std::vector<CColour> cells = {Rgb(0xe8641e), Rgb(0xf4f1e6), Rgb(0x1f5fa8), Rgb(0xf4f1e6), Rgb(0xe8641e),
                                        Rgb(0xf4f1e6), Rgb(0x1f5fa8), Rgb(0xf4f1e6), Rgb(0xe8641e)};
    const float jumperY = top + 180.0f * scale;
    DrawCanopy(image, canopy, cells, Rgb(0x2a2a33, 0.55f), 1.6f, Rgb(0x1c1c24, 0.7f), 1.1f, x, jumperY);
    DrawJumper(image, x, jumperY - 2.0f, 1.1f * scale, Rgb(0x1c1c24));
}

// The title screen: the landscape, the canopy in the middle, the title and the version.
bool DrawTitle(const std::string& fileName, const std::string& version, const CFont& font, const CFont& bold)
{
    CImage image(PictureWidth, PictureHeight);
    DrawLandscape(image, 640.0f);
    DrawCanopyFlight(image, 512.0f, 290.0f, 1.0f);

    const CColour shadow{0.0f, 0.05f, 0.12f, 0.45f};
    bold.Draw(image, "Dravonkel", 118.0f, 514.0f, 167.0f, shadow);
    bold.Draw(image, "Dravonkel", 118.0f, 512.0f, 164.0f, Rgb(0xffffff));
    font.Draw(image, "Canopy flight trainer", 34.0f, 513.0f, 215.0f, shadow);
    font.Draw(image, "Canopy flight trainer", 34.0f, 512.0f, 213.0f, Rgb(0xe6f0fa));
    font.Draw(image, "Version " + version, 16.0f, 930.0f, 752.0f, Rgb(0xffffff, 0.8f));
    font.Draw(image, "Press any key to continue", 18.0f, 512.0f, 752.0f, Rgb(0xffffff, 0.85f));
    return image.Save(fileName);
}

// Behind the menus: the landscape with the canopy to the left of the menu windows.
bool DrawMenuBackground(const std::string& fileName)
{
    CImage image(PictureWidth, PictureHeight);
    DrawLandscape(image, 830.0f);
    DrawCanopyFlight(image, 175.0f, 250.0f, 0.65f);
    return image.Save(fileName);
}

// A rounded square of the edition's colour with a white canopy and jumper.
bool DrawIcon(const std::string& fileName, const CColour& background)
{
    const int size = 64;
    CImage image(size, size);
    image.PaintAll(
        [](float x, float y) {
            const float qx = std::fabs(x - 32.0f) - 30.0f + 10.0f, qy = std::fabs(y - 32.0f) - 30.0f + 10.0f;
            const float d = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - 10.0f;
            return d <= 0.0f ? 1.0f : 0.0f;
        },
        [&](float, float y) { return Mix(background, Mix(background, Rgb(0x000000), 0.35f), y / size); });
    const CCanopy canopy{32.0f, 92.0f, 82.0f, 72.0f, 0.30f, 5};
    const CColour white = Rgb(0xffffff);
    DrawCanopy(image, canopy, {white}, Mix(background, white, 0.3f), 1.0f, Rgb(0xffffff, 0.8f), 1.0f, 32.0f, 44.0f);
    FillDisc(image, 32.0f, 47.0f, 3.2f, Solid(white));
    FillLine(image, 32.0f, 50.0f, 32.0f, 57.0f, 3.4f, Solid(white));
    return image.Save(fileName);
}

// The analog altimeter's face: one turn is 12,000 ft, a number per thousand
// feet clockwise from 0 at the top, a tick per 200 ft.
bool DrawAltimeterFace(const std::string& fileName, const CFont& bold)
{
    const int size = 256;
    const float c = size / 2.0f;
    CImage image(size, size);
    FillDisc(image, c, c, c - 2.0f, Solid(Rgb(0x9aa0a6)));
    FillDisc(image, c, c, c - 9.0f, Solid(Rgb(0x16181b)));
    for (int tick = 0; tick < 60; ++tick) {
        const float angle = tick * 2.0f * Pi / 60.0f;
        const float dx = std::sin(angle), dy = -std::cos(angle);
        const bool major = tick % 5 == 0;
        const float inner = c - (major ? 30.0f : 22.0f);
        FillLine(image, c + dx * inner, c + dy * inner, c + dx * (c - 13.0f), c + dy * (c - 13.0f),
                 major ? 4.0f : 1.8f, Solid(Rgb(0xf2f2f2)));
    }
    for (int number = 0; number < 12; ++number) {
        const float angle = number * 2.0f * Pi / 12.0f;
        const float radius = c - 52.0f;
        bold.Draw(image, std::to_string(number), 30.0f, c + std::sin(angle) * radius,
                  c - std::cos(angle) * radius + 11.0f, Rgb(0xffffff));
    }
    bold.Draw(image, "x1000 ft", 14.0f, c, c + 44.0f, Rgb(0xb8c0c8));
    return image.Save(fileName);
}

// The needle, tip up, on a clear ground: it lies over the face.
bool DrawAltimeterNeedle(const std::string& fileName)
{
    CImage image(32, 128);
    image.PaintAll(
        [](float x, float y) {
            const float halfWidth = 3.0f + 9.0f * std::clamp((y - 4.0f) / 110.0f, 0.0f, 1.0f);
            return y > 4.0f && std::fabs(x - 16.0f) < halfWidth ? 1.0f : 0.0f;
        },
        Solid(Rgb(0xff5a1f)));
    FillDisc(image, 16.0f, 116.0f, 11.0f, Solid(Rgb(0xff5a1f)));
    return image.Save(fileName);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "Usage: sds_splashgen <data folder> <version> <font> <bold font>\n";
        return 1;
    }
    const boost::filesystem::path data(argv[1]);
    const CFont font(argv[3]);
    const CFont bold(argv[4]);
    if (!font.IsValid() || !bold.IsValid()) {
        std::cerr << "sds_splashgen: cannot read the fonts " << argv[3] << " and " << argv[4] << "\n";
        return 1;
    }
    boost::filesystem::create_directories(data / "gfx" / "splash");
    boost::filesystem::create_directories(data / "gfx" / "icons");
    boost::filesystem::create_directories(data / "gfx" / "dials");

    bool ok = DrawTitle((data / "gfx" / "splash" / "Title.png").string(), argv[2], font, bold) &&
              DrawMenuBackground((data / "gfx" / "splash" / "MenuBackground.png").string());
    const struct
    {
        const char* Id;
        int Colour;
    } icons[] = {{"102", 0x37474f}, {"107", 0x6a3fa0}, {"108", 0x2e7d4f}, {"109", 0x1f5fa8}};
    for (const auto& icon : icons)
        ok = ok && DrawIcon((data / "gfx" / "icons" / (std::string(icon.Id) + ".png")).string(), Rgb(icon.Colour));
    ok = ok && DrawAltimeterFace((data / "gfx" / "dials" / "AltimeterFace.png").string(), bold) &&
         DrawAltimeterNeedle((data / "gfx" / "dials" / "AltimeterNeedle.png").string());
    if (!ok) {
        std::cerr << "sds_splashgen: could not write the pictures into " << data << "\n";
        return 1;
    }
    return 0;
}
