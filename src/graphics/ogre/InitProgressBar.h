#pragma once

#include <cstdint>
#include <string>

#include <memory>
#include <OGRE/OgreResourceGroupManager.h>

#include "graphics/ogre/LoadingProgressBar.h"

namespace wrappers {

// The start-up loading bar: it follows the resource groups' script parsing and
// resource loading.
class CInitProgressBar : public CLoadingProgressBar, public Ogre::ResourceGroupListener
{
public:
    CInitProgressBar(Ogre::SceneManager* sceneManager, Ogre::RenderWindow* window, const std::string& overlayName,
                     std::uint16_t groupsParsed, std::uint16_t groupsLoaded, float parseShare, float loadShare);
    ~CInitProgressBar() override;

    void resourceGroupScriptingStarted(const Ogre::String& groupName, size_t scriptCount) override;
    void scriptParseStarted(const Ogre::String& scriptName, bool& skipThisScript) override;
    void scriptParseEnded(const Ogre::String& scriptName, bool skipped) override;
    void resourceGroupLoadStarted(const Ogre::String& groupName, size_t resourceCount) override;
    void resourceLoadStarted(const Ogre::ResourcePtr& resource) override;
    void resourceLoadEnded() override;

private:
    void AdvanceItem();

    float m_ParseShare;
    float m_LoadShare;
    std::uint16_t m_GroupsParsed;
    std::uint16_t m_GroupsLoaded;
    // The share of one item within the current step, and the progress in it.
    float m_ItemIncrement = 0.0f;
    float m_StepProgress = 0.0f;
    std::string m_CurrentItem;
};

// Initialises the resource group "Init" (the loading screen), then every group
// with the start-up bar following, then loads "General". The caller keeps the
// bar until start-up ends.
std::shared_ptr<sds::ILoadingProgressBar> InitialiseResources(Ogre::SceneManager* sceneManager,
                                                                Ogre::RenderWindow* window);

} // namespace wrappers
