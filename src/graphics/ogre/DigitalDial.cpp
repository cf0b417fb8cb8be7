#include "graphics/ogre/DigitalDial.h"

#include <OGRE/OgreRenderTarget.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include "graphics/DialDesc.h"
#include "graphics/ogre/OgreText.h"

namespace wrappers {

CDigitalDial::CDigitalDial(Ogre::SceneManager* sceneManager, const xml::CNodePtr& renderTarget,
                           const xml::CNodePtr& dial, const std::weak_ptr<const bool>& scene)
{
    const sds::CRenderTargetDesc target = sds::CRenderTargetDesc::Read(renderTarget);
    const sds::CDigitalDialDesc desc = sds::CDigitalDialDesc::Read(dial);
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    m_pOverlay = overlays.getByName(desc.m_Overlay);
    if (!m_pOverlay)
        throw sds::CDigitalDialDesc::NoOverlay(desc.m_Overlay);
    if (!overlays.hasOverlayElement(desc.m_Value))
        throw sds::CDigitalDialDesc::NoElement(desc.m_Value);
    m_pValue = overlays.getOverlayElement(desc.m_Value);

    m_RTT = std::make_unique<COgreRTT>(sceneManager, target, target.m_CameraPos, true, scene);
    m_RTT->GetRenderTarget()->addListener(this);
}

CDigitalDial::~CDigitalDial()
{
    m_HiddenOverlays.clear();
    // The texture's listeners go with it.
    m_RTT.reset();
}

void CDigitalDial::SetText(const std::string& text)
{
    m_pValue->setCaption(ToDisplayString(text));
}

void CDigitalDial::preRenderTargetUpdate(const Ogre::RenderTargetEvent&)
{
    for (auto it = Ogre::OverlayManager::getSingleton().getOverlayIterator(); it.hasMoreElements();) {
        Ogre::Overlay* overlay = it.getNext();
        if (overlay->isVisible()) {
            overlay->hide();
            m_HiddenOverlays.push_back(overlay);
        }
    }
    m_pOverlay->show();
}

void CDigitalDial::postRenderTargetUpdate(const Ogre::RenderTargetEvent&)
{
    m_pOverlay->hide();
    for (Ogre::Overlay* overlay : m_HiddenOverlays)
        overlay->show();
    m_HiddenOverlays.clear();
}

} // namespace wrappers
