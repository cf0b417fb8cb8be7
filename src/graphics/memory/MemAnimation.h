#pragma once

#include <memory>

#include "graphics/IAnimation.h"
#include "graphics/memory/MemScene.h"

namespace sds {

// An animation of an in-memory mesh instance.
class CMemAnimation : public IAnimation
{
public:
    CMemAnimation(const std::shared_ptr<mem::CEntity>& entity, const std::string& name);

    void SetLoop(bool loop) override { m_State->m_Loop = loop; }
    bool GetLoop() const override { return m_State->m_Loop; }
    void SetEnabled(bool enabled) override { m_State->m_Enabled = enabled; }
    bool IsEnabled() const override { return m_State->m_Enabled; }
    void AddTime(float seconds) override;
    float GetLength() const override { return m_State->m_Length; }
    float GetRelativePosition() const override;
    void SetRelativePosition(float fraction) override { m_State->SetTime(m_State->m_Length * fraction); }
    void SetWeight(float weight) override { m_State->m_Weight = weight; }
    float GetWeight() const override { return m_State->m_Weight; }
    std::string GetAnimationName() const override { return m_State->m_Name; }

    float GetTimePosition() const { return m_State->m_Time; }

private:
    std::shared_ptr<mem::CEntity> m_Entity;
    mem::CAnimationState* m_State;
};

} // namespace sds
