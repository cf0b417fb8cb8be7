#include "graphics/ogre/InitProgressBar.h"

#include <algorithm>

#include <memory>
#include <OGRE/OgreResource.h>
#include <OGRE/Overlay/OgreFontManager.h>

namespace wrappers {

CInitProgressBar::CInitProgressBar(Ogre::SceneManager* sceneManager, Ogre::RenderWindow* window,
                                   const std::string& overlayName, std::uint16_t groupsParsed,
                                   std::uint16_t groupsLoaded, float parseShare, float loadShare)
    : CLoadingProgressBar(sceneManager, window, overlayName),
      m_ParseShare(parseShare),
      m_LoadShare(loadShare),
      m_GroupsParsed(std::max<std::uint16_t>(groupsParsed, 1)),
      m_GroupsLoaded(std::max<std::uint16_t>(groupsLoaded, 1))
{
    Ogre::ResourceGroupManager::getSingleton().addResourceGroupListener(this);
}

CInitProgressBar::~CInitProgressBar()
{
    Ogre::ResourceGroupManager::getSingleton().removeResourceGroupListener(this);
}

void CInitProgressBar::resourceGroupScriptingStarted(const Ogre::String&, size_t scriptCount)
{
    SetProgress("Parsing scripts...", m_ParseShare / m_GroupsParsed);
    m_StepProgress = 0.0f;
    m_ItemIncrement = scriptCount > 0 ? 1.0f / static_cast<float>(scriptCount) : 0.0f;
}

void CInitProgressBar::scriptParseStarted(const Ogre::String& scriptName, bool&)
{
    m_CurrentItem = scriptName;
    SetStepProgress(m_CurrentItem, m_StepProgress);
}

void CInitProgressBar::scriptParseEnded(const Ogre::String&, bool)
{
    AdvanceItem();
}

void CInitProgressBar::resourceGroupLoadStarted(const Ogre::String&, size_t resourceCount)
{
    SetProgress("Loading resources...", m_LoadShare / m_GroupsLoaded);
    m_StepProgress = 0.0f;
    m_ItemIncrement = resourceCount > 0 ? 1.0f / static_cast<float>(resourceCount) : 0.0f;
}

void CInitProgressBar::resourceLoadStarted(const Ogre::ResourcePtr& resource)
{
    m_CurrentItem = resource ? resource->getName() : std::string();
    SetStepProgress(m_CurrentItem, m_StepProgress);
}

void CInitProgressBar::resourceLoadEnded()
{
    AdvanceItem();
}

void CInitProgressBar::AdvanceItem()
{
    // Within the step: it only grows and never passes the step's end.
    m_StepProgress = std::min(1.0f, m_StepProgress + m_ItemIncrement);
    SetStepProgress(m_CurrentItem, m_StepProgress);
}

std::shared_ptr<sds::ILoadingProgressBar> InitialiseResources(Ogre::SceneManager* sceneManager,
                                                                Ogre::RenderWindow* window)
{
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.initialiseResourceGroup("Init");
    // A text element lays itself out once, from its font's glyphs, which exist
    // only once the font is loaded: a fixed caption of a font not loaded yet
    // would stay blank. The fonts are ready before the other groups' overlays.
    Ogre::FontManager& fonts = Ogre::FontManager::getSingleton();
    for (auto font = fonts.getResourceIterator(); font.hasMoreElements();)
        font.getNext()->load();
    auto bar = std::make_shared<CInitProgressBar>(sceneManager, window, "InitialLoadOverlay", 3, 1, 0.6f, 0.1f);
    groups.initialiseAllResourceGroups();
    groups.loadResourceGroup("General");
    return bar;
}

} // namespace wrappers
