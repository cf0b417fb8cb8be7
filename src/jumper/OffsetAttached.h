#pragma once

#include "jumper/IAttachmentPoint.h"

namespace sds {

// A point at a fixed offset, in world axes, from another point that it does
// not update: the lines of one riser fan out side by side.
class COffsetAttached : public IAttachmentPoint
{
public:
    COffsetAttached(const CAttachmentPointPtr& target, const CVector& offset) : m_Target(target), m_Offset(offset) {}
    void Update(const CTiming&) override { m_Pos = m_Target->m_Pos + m_Offset; }

    const CVector& GetOffset() const { return m_Offset; }

private:
    CAttachmentPointPtr m_Target;
    CVector m_Offset;
};

} // namespace sds
