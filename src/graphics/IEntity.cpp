#include "graphics/IEntity.h"

#include <algorithm>

namespace sds {

CAnimationPtr IEntity::GetAnimation(const std::string& name, float speed, bool autoUpdate, bool loop,
                                    bool enabled)
{
    DropExpiredAnimations();
    for (const auto& weak : m_Animations) {
        CAnimationPtr animation = weak.lock();
        if (animation && animation->GetAnimationName() == name)
            return animation;
    }
    CAnimationPtr animation = MakeAnimation(name);
    animation->SetAutoUpdate(autoUpdate);
    animation->SetEnabled(enabled);
    animation->SetLoop(loop);
    animation->SetSpeed(speed);
    m_Animations.push_back(animation);
    return animation;
}

void IEntity::DisableAllAnimations()
{
    DropExpiredAnimations();
    for (const auto& weak : m_Animations) {
        if (CAnimationPtr animation = weak.lock())
            animation->SetEnabled(false);
    }
}

void IEntity::DropExpiredAnimations()
{
    m_Animations.erase(std::remove_if(m_Animations.begin(), m_Animations.end(),
                                      [](const std::weak_ptr<IAnimation>& weak) { return weak.expired(); }),
                       m_Animations.end());
}

void IEntity::AdvanceAnimations(float elapsed)
{
    DropExpiredAnimations();
    for (const auto& weak : m_Animations) {
        CAnimationPtr animation = weak.lock();
        if (animation && animation->IsEnabled() && animation->IsAutoUpdate())
            animation->AddTime(elapsed * animation->GetSpeed());
    }
}

} // namespace sds
