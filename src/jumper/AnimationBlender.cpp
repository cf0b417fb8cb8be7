#include "jumper/AnimationBlender.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sds {

namespace {

bool Contains(const std::vector<CAnimationPtr>& list, const CAnimationPtr& animation)
{
    return std::find(list.begin(), list.end(), animation) != list.end();
}

void Remove(std::vector<CAnimationPtr>& list, const CAnimationPtr& animation)
{
    list.erase(std::remove(list.begin(), list.end(), animation), list.end());
}

// The rate is known from construction, not only after Start, so that no
// Update steps at a rate of 0; a time of 0 or less makes the fades complete at
// the next Update.
float RateOf(double transitionTime)
{
    if (transitionTime <= 0.0)
        return std::numeric_limits<float>::infinity();
    return static_cast<float>(1.0 / transitionTime);
}

} // namespace

CAnimationBlender::CAnimationBlender(double transitionTime)
    : m_TransitionTime(transitionTime), m_Rate(RateOf(transitionTime))
{
}

void CAnimationBlender::FadeIn(const CAnimationPtr& animation)
{
    Remove(m_FadingOut, animation);
    if (!Contains(m_FadingIn, animation))
        m_FadingIn.push_back(animation);
}

void CAnimationBlender::FadeOut(const CAnimationPtr& animation)
{
    Remove(m_FadingIn, animation);
    if (!Contains(m_FadingOut, animation))
        m_FadingOut.push_back(animation);
}

void CAnimationBlender::Start()
{
    m_Rate = RateOf(m_TransitionTime);
    for (const CAnimationPtr& animation : m_FadingIn)
        animation->SetEnabled(true);
    for (const CAnimationPtr& animation : m_FadingOut)
        animation->SetEnabled(true);
}

void CAnimationBlender::Update(const CTiming& timing)
{
    // An infinite rate completes the fades whatever the frame's time (times a
    // zero time it would be NaN).
    const float step = std::isinf(m_Rate) ? m_Rate : m_Rate * timing.m_Elapsed;
    for (const CAnimationPtr& animation : m_FadingIn) {
        const float weight = animation->GetWeight() + step;
        animation->SetWeight(weight > 1.0f ? 1.0f : weight);
    }
    for (const CAnimationPtr& animation : m_FadingOut) {
        const float weight = animation->GetWeight() - step;
        animation->SetWeight(weight < 0.0f ? 0.0f : weight);
    }
    m_FadingIn.erase(std::remove_if(m_FadingIn.begin(), m_FadingIn.end(),
                                    [](const CAnimationPtr& a) { return a->GetWeight() == 1.0f; }),
                     m_FadingIn.end());
    for (const CAnimationPtr& animation : m_FadingOut) {
        if (animation->GetWeight() == 0.0f)
            animation->SetEnabled(false);
    }
    m_FadingOut.erase(std::remove_if(m_FadingOut.begin(), m_FadingOut.end(),
                                     [](const CAnimationPtr& a) { return a->GetWeight() == 0.0f; }),
                      m_FadingOut.end());
}

} // namespace sds
