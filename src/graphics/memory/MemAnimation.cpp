#include "graphics/memory/MemAnimation.h"

#include "core/Exception.h"

namespace sds {

CMemAnimation::CMemAnimation(const std::shared_ptr<mem::CEntity>& entity, const std::string& name)
    : m_Entity(entity)
{
    const auto found = entity->m_States.find(name);
    if (found == entity->m_States.end())
        throw CException("Animation '" + name + "' does not exist in entity '" + entity->m_Name + "'");
    m_State = &found->second;
}

void CMemAnimation::AddTime(float seconds)
{
    if (seconds == 0.0f)
        return;
    m_State->AddTime(ClampedStep(m_State->m_Time, m_State->m_Length, seconds));
}

float CMemAnimation::GetRelativePosition() const
{
    return m_State->m_Length > 0.0f ? m_State->m_Time / m_State->m_Length : 0.0f;
}

} // namespace sds
