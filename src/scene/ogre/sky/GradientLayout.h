#pragma once

#include <algorithm>

// How the sky's gradient pictures are laid out. The sky generator draws them
// and the sky reads them back by these rules. Across: the sun's height (the
// sine of its elevation) from -1 on the left to 1 on the right. Down, in the
// sky picture only: the height of the point seen, from the zenith (top row) to
// the horizon and below (bottom row).

namespace caelum {

const char* const kSkyGradientsPicture = "SkyGradients.png";
const char* const kSunGradientPicture = "SunGradient.png";
const int kGradientWidth = 256;
const int kSkyGradientHeight = 64;

// Texture coordinate across of a sun height, at texel centres.
inline float GradientU(float sunHeight)
{
    const float t = (std::clamp(sunHeight, -1.0f, 1.0f) + 1.0f) / 2.0f;
    return (0.5f + t * (kGradientWidth - 1)) / kGradientWidth;
}

// Texture coordinate down of the height of the point seen, at texel centres.
inline float GradientV(float viewHeight)
{
    const float t = 1.0f - std::clamp(viewHeight, 0.0f, 1.0f);
    return (0.5f + t * (kSkyGradientHeight - 1)) / kSkyGradientHeight;
}

} // namespace caelum
