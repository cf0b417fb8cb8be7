#include "physics/ZavuviSkeletonData.h"

#include "physics/sdk/IActor.h"
#include "physics/zavuvi/Exception.h"

namespace Zavuvi {

const ZavuviActor& SkeletonData::GetBone(const std::string& name) const
{
    auto found = m_Bones.find(name);
    if (found == m_Bones.end() || !found->second->GetActor())
        throw CException("No bone found: " + name);
    return *found->second;
}

Vector3 SkeletonData::GetBonePosition(const std::string& name) const
{
    return GetBone(name).GetActor()->GetGlobalPosition();
}

Matrix SkeletonData::GetBoneOrientation(const std::string& name) const
{
    return Matrix::FromQuaternion(GetBone(name).GetActor()->GetGlobalOrientation());
}

void SkeletonData::SetBonePose(const std::string& name, const Matrix& rotation, const Vector3& position)
{
    physics::sdk::IActor& actor = *GetBone(name).GetActor();
    actor.SetGlobalOrientation(rotation.ToQuaternion());
    actor.SetGlobalPosition(position);
}

} // namespace Zavuvi
