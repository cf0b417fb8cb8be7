#pragma once

#include <OGRE/OgreAnimationState.h>

#include "graphics/IAnimation.h"

namespace wrappers {

// An animation over the entity's animation state (owned by the entity).
class COgreAnimation : public sds::IAnimation
{
public:
    explicit COgreAnimation(Ogre::AnimationState* state) : m_pState(state) {}

    void SetLoop(bool loop) override { m_pState->setLoop(loop); }
    bool GetLoop() const override { return m_pState->getLoop(); }
    void SetEnabled(bool enabled) override { m_pState->setEnabled(enabled); }
    bool IsEnabled() const override { return m_pState->getEnabled(); }
    void AddTime(float seconds) override;
    float GetLength() const override { return m_pState->getLength(); }
    float GetRelativePosition() const override;
    void SetRelativePosition(float fraction) override;
    void SetWeight(float weight) override { m_pState->setWeight(weight); }
    float GetWeight() const override { return m_pState->getWeight(); }
    std::string GetAnimationName() const override { return m_pState->getAnimationName(); }

private:
    Ogre::AnimationState* m_pState;
};

} // namespace wrappers
