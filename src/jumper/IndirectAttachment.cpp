#include "jumper/IndirectAttachment.h"

namespace sds {

void CIndirectAttachment::Update(const CTiming&)
{
    m_Pos = m_Target->m_Pos;
}

} // namespace sds
