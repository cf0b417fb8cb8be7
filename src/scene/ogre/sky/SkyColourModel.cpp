#include "scene/ogre/sky/SkyColourModel.h"

#include <algorithm>
#include <cmath>

#include "scene/ogre/sky/GradientLayout.h"

namespace caelum {

SkyColourModel::SkyColourModel(const std::string& resourceGroup)
{
    m_Sky.load(kSkyGradientsPicture, resourceGroup);
    m_Sun.load(kSunGradientPicture, resourceGroup);
}

Ogre::ColourValue SkyColourModel::getSkyColour(float sunHeight, float viewHeight) const
{
    return Sample(m_Sky, GradientU(sunHeight), GradientV(viewHeight));
}

Ogre::ColourValue SkyColourModel::getSunLightColour(float sunHeight) const
{
    return Sample(m_Sun, GradientU(sunHeight), 0.5f);
}

Ogre::ColourValue SkyColourModel::Sample(const Ogre::Image& image, float u, float v)
{
    // Bilinear between texel centres, as the dome's texture is drawn.
    const float x = std::clamp(u * image.getWidth() - 0.5f, 0.0f, static_cast<float>(image.getWidth() - 1));
    const float y = std::clamp(v * image.getHeight() - 0.5f, 0.0f, static_cast<float>(image.getHeight() - 1));
    const Ogre::uint32 x0 = static_cast<Ogre::uint32>(x);
    const Ogre::uint32 y0 = static_cast<Ogre::uint32>(y);
    const Ogre::uint32 x1 = std::min(x0 + 1, image.getWidth() - 1);
    const Ogre::uint32 y1 = std::min(y0 + 1, image.getHeight() - 1);
    const float fx = x - x0;
    const float fy = y - y0;
    const Ogre::ColourValue top = image.getColourAt(x0, y0, 0) * (1 - fx) + image.getColourAt(x1, y0, 0) * fx;
    const Ogre::ColourValue bottom = image.getColourAt(x0, y1, 0) * (1 - fx) + image.getColourAt(x1, y1, 0) * fx;
    Ogre::ColourValue colour = top * (1 - fy) + bottom * fy;
    colour.a = 1.0f;
    return colour;
}

} // namespace caelum
