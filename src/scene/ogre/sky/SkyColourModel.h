#pragma once

#include <string>

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreImage.h>

namespace caelum {

// The colours of the sky, of the sunlight and of the haze over the ground by
// the sun's height (the sine of its elevation), read from the gradient
// pictures of the sky's resource group.
class SkyColourModel
{
public:
    explicit SkyColourModel(const std::string& resourceGroup);

    // The sky at a point seen at `viewHeight` (the sine of its elevation).
    Ogre::ColourValue getSkyColour(float sunHeight, float viewHeight) const;
    Ogre::ColourValue getFogColour(float sunHeight) const { return getSkyColour(sunHeight, 0.0f); }
    Ogre::ColourValue getSunLightColour(float sunHeight) const;

private:
    static Ogre::ColourValue Sample(const Ogre::Image& image, float u, float v);

    Ogre::Image m_Sky;
    Ogre::Image m_Sun;
};

} // namespace caelum
