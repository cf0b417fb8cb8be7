#pragma once

#include <memory>
#include <string>
#include <vector>

#include <OGRE/OgreRenderTargetListener.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayElement.h>

#include "core/Node.h"
#include "graphics/IDial.h"
#include "graphics/ogre/OgreRTT.h"

namespace wrappers {

// A digital dial: an overlay with a text element, rendered alone into the
// texture. While the texture renders, the overlays shown on screen are hidden;
// they are shown again before the window renders.
class CDigitalDial : public sds::IDial, public Ogre::RenderTargetListener
{
public:
    // The dial's "Overlay" and "Value" (its text element) must exist; a missing
    // key or an unknown name throws, naming it, before anything is made.
    CDigitalDial(Ogre::SceneManager* sceneManager, const xml::CNodePtr& renderTarget, const xml::CNodePtr& dial,
                 const std::weak_ptr<const bool>& scene);
    ~CDigitalDial() override;

    std::string GetMaterialName() const override { return m_RTT->GetMaterialName(); }
    void SetValue(float) override {}
    void SetText(const std::string& text) override;

    void preRenderTargetUpdate(const Ogre::RenderTargetEvent& event) override;
    void postRenderTargetUpdate(const Ogre::RenderTargetEvent& event) override;

    const COgreRTT& GetRTT() const { return *m_RTT; }

private:
    std::unique_ptr<COgreRTT> m_RTT;
    Ogre::Overlay* m_pOverlay = nullptr;
    Ogre::OverlayElement* m_pValue = nullptr;
    // The overlays hidden for the dial's render; empty between renders.
    std::vector<Ogre::Overlay*> m_HiddenOverlays;
};

} // namespace wrappers
