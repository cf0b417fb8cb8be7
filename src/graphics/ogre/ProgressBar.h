#pragma once

#include <string>

#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayElement.h>

#include "core/SingletonTmpl.h"

namespace wrappers {

// A loading overlay drawn by rendering the window at once after each change,
// since the frame loop is blocked while something loads. Only overlays are
// rendered while the bar exists. The overlay N has the elements
// "N/LoadPanel/Bar" (full width), "N/LoadPanel/Bar/Progress",
// "N/LoadPanel/Description" and "N/LoadPanel/Comment".
class CProgressBar : public CSingletonTmpl<CProgressBar>
{
public:
    CProgressBar(Ogre::SceneManager* sceneManager, Ogre::RenderWindow* window, const std::string& overlayName);
    ~CProgressBar() override;

    // The filled part as a fraction of the bar, redrawn at once.
    void SetFilled(float fraction);
    void SetDescription(const std::string& text);
    void SetComment(const std::string& text);
    void ShowOverlay() { m_pOverlay->show(); }
    float GetFullWidth() const { return m_FullWidth; }
    float GetFilledWidth() const { return m_pProgress->getWidth(); }

private:
    Ogre::RenderWindow* m_pWindow;
    float m_FullWidth = 0.0f;
    Ogre::OverlayElement* m_pProgress = nullptr;
    Ogre::OverlayElement* m_pDescription = nullptr;
    Ogre::OverlayElement* m_pComment = nullptr;
    Ogre::SceneManager* m_pSceneManager;
    Ogre::Overlay* m_pOverlay = nullptr;
};

} // namespace wrappers
