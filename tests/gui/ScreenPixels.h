#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <vector>

#include <CEGUI/Rect.h>
#include <gtest/gtest.h>

// Pictures of the GUI tests' window, RGBA row by row from the top, as
// COgreTestWindow::Capture takes them.
const unsigned Width = 1024;
const unsigned Height = 768;

typedef std::vector<std::uint8_t> CPixels;

inline const std::uint8_t* Pixel(const CPixels& pixels, unsigned x, unsigned y)
{
    return &pixels[(y * Width + x) * 4];
}

inline bool SamePixel(const CPixels& a, const CPixels& b, unsigned x, unsigned y)
{
    return std::equal(Pixel(a, x, y), Pixel(a, x, y) + 3, Pixel(b, x, y));
}

// The pixel is of the colour (0-255 each), give or take a little: two runs
// that draw the same wrong picture still fail.
inline ::testing::AssertionResult HasColour(const CPixels& pixels, unsigned x, unsigned y, int r, int g, int b)
{
    const std::uint8_t* p = Pixel(pixels, x, y);
    const int tolerance = 12;
    if (std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is (" << int(p[0]) << ", " << int(p[1])
                                         << ", " << int(p[2]) << "), not (" << r << ", " << g << ", " << b << ")";
}

// The share of pixels of the rectangle that differ between the pictures.
inline double Changed(const CPixels& a, const CPixels& b, const CEGUI::Rectf& area)
{
    unsigned changed = 0, all = 0;
    for (unsigned y = unsigned(area.top()); y < unsigned(area.bottom()); ++y)
        for (unsigned x = unsigned(area.left()); x < unsigned(area.right()); ++x, ++all)
            changed += SamePixel(a, b, x, y) ? 0 : 1;
    return all ? double(changed) / all : 0.0;
}
