#include "jumper/ToggleAttached.h"

namespace sds {

void CToggleAttached::Update(const CTiming&)
{
    if (!m_Toggle || !m_Target)
        return;
    m_Toggle->SetPos(m_Target->m_Pos);
    m_Toggle->SetOrientation(m_Target->GetObject()->GetWorldOrientation());
}

} // namespace sds
