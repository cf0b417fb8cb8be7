#include "jumper/Rope.h"

#include <memory>

#include "jumper/CopyAttached.h"

namespace sds {

CRope::CRope(const CGfxObjPtr& object, const CAttachmentPointPtr& first, const CAttachmentPointPtr& second)
    : m_First(first), m_Second(second), m_Object(object), m_OwnEnds(false)
{
}

CRope::CRope(const CGfxObjPtr& object, const CGfxObjPtr& first, const CGfxObjPtr& second)
    : m_First(std::make_shared<CCopyAttached>(first)),
      m_Second(std::make_shared<CCopyAttached>(second)),
      m_Object(object),
      m_OwnEnds(true)
{
}

void CRope::Update(const CTiming& timing)
{
    if (m_OwnEnds) {
        m_First->Update(timing);
        m_Second->Update(timing);
    }
    const CVector a = m_First->m_Pos;
    const CVector b = m_Second->m_Pos;
    m_Object->SetPos((a + b) * 0.5f);
    const CVector span = a - b;
    m_Object->SetOrientation(GetRotationTo(CVector::NEGATIVE_UNIT_Y, span));
    CVector scale = m_Object->GetScale();
    scale.y = span.Length();
    m_Object->SetScale(scale);
}

} // namespace sds
