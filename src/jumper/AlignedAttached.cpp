#include "jumper/AlignedAttached.h"

#include "jumper/GfxObjectConfig.h"

namespace sds {

CAlignedAttached::CAlignedAttached(const xml::CNodePtr& element, const CGfxObjPtr& object,
                                   const CAttachmentPointPtr& anchor, const CAttachmentPointPtr& reference)
    : m_Anchor(anchor),
      m_Reference(reference),
      m_Distance(element->GetAttribute("Distance")->GetValue<float>()),
      m_Object(object)
{
    ParseOrientation(element->GetAttribute("Orientation")->GetValue<std::string>(), m_Orientation);
}

void CAlignedAttached::Update(const CTiming&)
{
    CVector towards = m_Anchor->m_Pos - m_Reference->m_Pos;
    towards.Normalize();
    m_Pos = m_Reference->m_Pos + towards * m_Distance;
    m_Object->SetPos(m_Pos);
    m_Object->SetOrientation(GetRotationTo(CVector::NEGATIVE_UNIT_Y, towards) * m_Orientation);
}

} // namespace sds
