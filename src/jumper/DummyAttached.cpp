#include "jumper/DummyAttached.h"

namespace sds {

void CDummyAttached::Update(const CTiming&)
{
    m_Pos = m_Object->GetWorldPos();
}

} // namespace sds
