#pragma once

#include <OGRE/OgreTextureUnitState.h>
#include <OGRE/Overlay/OgreOverlay.h>

#include "graphics/Fader.h"

namespace wrappers {

// The fader over the overlay "Fader": the alpha of its panel's texture unit
// is driven.
class COgreFader : public sds::CFader
{
public:
    explicit COgreFader(const CClock& clock = CClock());
    ~COgreFader() override;

protected:
    void ApplyAlpha(float alpha) override;
    void ShowCover(bool show) override;
    bool IsCoverShown() const override { return m_pOverlay->isVisible(); }

private:
    Ogre::TextureUnitState* m_TexUnit = nullptr;
    Ogre::Overlay* m_pOverlay = nullptr;
};

} // namespace wrappers
