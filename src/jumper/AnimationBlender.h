#pragma once

#include <vector>

#include "core/Timing.h"
#include "graphics/IEntity.h"

namespace sds {

// Cross-fades the animations of one graphic object: over the transition time
// an animation faded in rises to weight 1 and one faded out falls to 0, after
// which it is switched off. It touches only weights and the enabled flag; time,
// speed and looping belong to whoever plays the animation.
class CAnimationBlender
{
public:
    // A transition time of 0 or less completes every fade at the next Update.
    explicit CAnimationBlender(double transitionTime);

    // Takes the animation out of the fading-out list and into the fading-in
    // one (once); membership is by identity, not by name.
    void FadeIn(const CAnimationPtr& animation);
    void FadeOut(const CAnimationPtr& animation);
    // Enables every animation of both lists; weights stay as they are.
    void Start();
    // Moves the weights by the transition rate times the elapsed time; an
    // animation that reaches 1 (fading in) leaves its list enabled, one that
    // reaches 0 (fading out) leaves it disabled.
    void Update(const CTiming& timing);

    double GetTransitionTime() const { return m_TransitionTime; }
    const std::vector<CAnimationPtr>& GetFadingIn() const { return m_FadingIn; }
    const std::vector<CAnimationPtr>& GetFadingOut() const { return m_FadingOut; }

private:
    std::vector<CAnimationPtr> m_FadingOut;
    std::vector<CAnimationPtr> m_FadingIn;
    double m_TransitionTime;
    // Weight change per second; infinite for a transition time of 0 or less.
    float m_Rate;
};

} // namespace sds
