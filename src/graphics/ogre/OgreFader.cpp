#include "graphics/ogre/OgreFader.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/Overlay/OgreOverlayContainer.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include "core/Exception.h"

namespace wrappers {

COgreFader::COgreFader(const CClock& clock) : CFader(clock)
{
    m_pOverlay = Ogre::OverlayManager::getSingleton().getByName("Fader");
    if (!m_pOverlay)
        throw sds::CException("Overlay 'Fader' was not found");
    const Ogre::OverlayContainer* panel = m_pOverlay->getChild("Fader/Panel");
    SDS_ASSERT(panel && "The fader overlay must have the panel Fader/Panel");
    const Ogre::MaterialPtr& material = panel->getMaterial();
    SDS_ASSERT(material && "The fader panel must have a material");
    Ogre::Technique* tech = material->getNumTechniques() > 0 ? material->getTechnique(0) : nullptr;
    SDS_ASSERT(tech && "There should be at least one technique");
    Ogre::Pass* pass = tech->getNumPasses() > 0 ? tech->getPass(0) : nullptr;
    SDS_ASSERT(pass && "There should be at least one pass");
    m_TexUnit = pass->getNumTextureUnitStates() > 0 ? pass->getTextureUnitState(0) : nullptr;
    SDS_ASSERT(m_TexUnit && "There should be at least one texture state");
    SetAlpha(0.0f);
    m_pOverlay->hide();
}

COgreFader::~COgreFader()
{
    Shutdown();
}

void COgreFader::ApplyAlpha(float alpha)
{
    // The alpha straight from the manual value, so the colour stays the black
    // of the material: modulating the texture's alpha by a manual value drew
    // a white cover on the GL render system.
    m_TexUnit->setAlphaOperation(Ogre::LBX_SOURCE1, Ogre::LBS_MANUAL, Ogre::LBS_CURRENT, alpha);
}

void COgreFader::ShowCover(bool show)
{
    if (show)
        m_pOverlay->show();
    else
        m_pOverlay->hide();
}

} // namespace wrappers
