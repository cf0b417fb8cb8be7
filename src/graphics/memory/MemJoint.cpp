#include "graphics/memory/MemJoint.h"

#include "core/Exception.h"

namespace sds {

CMemJoint::CMemJoint(const std::shared_ptr<mem::CEntity>& entity, std::uint16_t handle)
    : m_Entity(entity), m_Handle(handle)
{
}

std::string CMemJoint::GetParentName() const
{
    const int parent = Bone().m_Parent;
    return parent < 0 ? std::string() : m_Entity->m_Bones[parent].m_Name;
}

CQuaternion CMemJoint::GetParentWorldOrientation() const
{
    SDS_ASSERT(Bone().m_Parent >= 0 && "The joint must have a parent");
    return m_Entity->GetBoneWorldOrientation(Bone().m_Parent);
}

void CMemJoint::Rotate(const CQuaternion& rotation, int space)
{
    const CQuaternion q = mem::Normalised(rotation);
    mem::CBone& bone = Bone();
    switch (space) {
    case SPACE_LOCAL:
        bone.m_Orientation = bone.m_Orientation * q;
        break;
    case SPACE_PARENT:
        bone.m_Orientation = q * bone.m_Orientation;
        break;
    case SPACE_OWNER: {
        const CQuaternion world = GetWorldOrientation();
        bone.m_Orientation = bone.m_Orientation * world.Inverse() * q * world;
        break;
    }
    default:
        break;
    }
    mem::PosesChanged();
}

} // namespace sds
