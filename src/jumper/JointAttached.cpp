#include "jumper/JointAttached.h"

#include "core/Exception.h"
#include "graphics/IGfxMgr.h"

namespace sds {

CJointPtr GetJoint(const CGfxObjPtr& object, const std::string& name)
{
    const CSkeletonPtr skeleton = object->GetSkeleton();
    if (!skeleton)
        throw CException("Joint does not exist: " + name);
    return skeleton->GetJoint(name);
}

CJointAttached::CJointAttached(const xml::CNodePtr& element, const CGfxObjPtr& object, const CVector& extraOffset)
{
    const CJointPtr joint = GetJoint(object, element->GetAttribute("Joint")->GetValue());
    // The joint's position in the model's space, not in the world: the offset
    // is a point of the model, wherever the object stands.
    const CVector offset = xml::ParseVector(element->GetAttribute("Offset")->GetValue()) - joint->GetWorldPos();
    m_Marker = IGfxMgr::GetSingleton()->CreateCube();
    object->AttachToBone(m_Marker, joint->GetHandle(), offset + extraOffset, CQuaternion::IDENTITY, false, false);
    HideMarker();
}

void CJointAttached::Update(const CTiming&)
{
    m_Pos = m_Marker->GetWorldPos();
}

CQuaternion CJointAttached::GetOrientation() const
{
    return m_Marker->GetWorldOrientation();
}

void CJointAttached::HideMarker()
{
    m_Marker->SetVisible(false);
}

} // namespace sds
