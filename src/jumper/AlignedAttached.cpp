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

    // The object is placed in its parent's space: the slider rides on the rig.
    CVector pos = m_Pos;
    CVector direction = towards;
    if (const CGfxObjPtr parent = m_Object->GetParent()) {
        const CQuaternion toParent = parent->GetWorldOrientation().Inverse();
        pos = toParent * (m_Pos - parent->GetWorldPos());
        direction = toParent * towards;
    }
    m_Object->SetPos(pos);
    m_Object->SetOrientation(Alignment(direction) * m_Orientation);
}

CQuaternion CAlignedAttached::Alignment(const CVector& direction)
{
    if (!(direction != CVector::ZERO))
        return CQuaternion::IDENTITY;
    // −y turned straight up is a half turn about an axis the rotation routine
    // picks. Turning that on by the short way from straight up keeps the twist
    // about the direction steady: the shortest turn from −y itself would swing
    // the object half round as the direction passes either side of straight up.
    static const CQuaternion upwards = GetRotationTo(CVector::NEGATIVE_UNIT_Y, CVector::UNIT_Y);
    return GetRotationTo(CVector::UNIT_Y, direction) * upwards;
}

} // namespace sds
