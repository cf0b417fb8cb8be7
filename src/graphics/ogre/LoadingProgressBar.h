#pragma once

#include "graphics/ILoadingProgressBar.h"
#include "graphics/ogre/ProgressBar.h"

namespace wrappers {

// The loading bar handed out by the graphics manager: stages that each take a
// share of the bar, and progress within the current stage.
class CLoadingProgressBar : public sds::ILoadingProgressBar, public CProgressBar
{
public:
    CLoadingProgressBar(Ogre::SceneManager* sceneManager, Ogre::RenderWindow* window, const std::string& overlayName)
        : CProgressBar(sceneManager, window, overlayName)
    {
    }

    void SetProgress(const std::string& message, float share) override;
    void SetStepProgress(const std::string& message, float fraction) override;
    void Show() override { ShowOverlay(); }

private:
    float m_Done = 0.0f;
    float m_StepSize = 0.0f;
};

} // namespace wrappers
