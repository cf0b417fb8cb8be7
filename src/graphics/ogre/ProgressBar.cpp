#include "graphics/ogre/ProgressBar.h"

#include <OGRE/OgreException.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include "graphics/ogre/OgreText.h"

namespace wrappers {

CProgressBar::CProgressBar(Ogre::SceneManager* sceneManager, Ogre::RenderWindow* window, const std::string& overlayName)
    : m_pWindow(window), m_pSceneManager(sceneManager)
{
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    m_pOverlay = overlays.getByName(overlayName);
    if (!m_pOverlay)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Cannot find loading overlay", "CProgressBar::CProgressBar");
    m_pOverlay->show();
    const std::string panel = overlayName + "/LoadPanel";
    m_FullWidth = overlays.getOverlayElement(panel + "/Bar")->getWidth();
    m_pProgress = overlays.getOverlayElement(panel + "/Bar/Progress");
    m_pDescription = overlays.getOverlayElement(panel + "/Description");
    m_pComment = overlays.getOverlayElement(panel + "/Comment");
    m_pProgress->setWidth(0.0f);

    m_pSceneManager->clearSpecialCaseRenderQueues();
    m_pSceneManager->addSpecialCaseRenderQueue(Ogre::RENDER_QUEUE_OVERLAY);
    m_pSceneManager->setSpecialCaseRenderQueueMode(Ogre::SceneManager::SCRQM_INCLUDE);
}

CProgressBar::~CProgressBar()
{
    m_pOverlay->hide();
    m_pSceneManager->clearSpecialCaseRenderQueues();
    m_pSceneManager->setSpecialCaseRenderQueueMode(Ogre::SceneManager::SCRQM_EXCLUDE);
    m_pWindow->update();
}

void CProgressBar::SetFilled(float fraction)
{
    m_pProgress->setWidth(m_FullWidth * fraction);
    m_pWindow->update();
}

void CProgressBar::SetDescription(const std::string& text)
{
    m_pDescription->setCaption(ToDisplayString(text));
}

void CProgressBar::SetComment(const std::string& text)
{
    m_pComment->setCaption(ToDisplayString(text));
}

} // namespace wrappers
