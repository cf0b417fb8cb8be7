#include "physics/PhyRagDoll.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>

#include "physics/PhyMgr.h"
#include "physics/PhyObj.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/IShape.h"
#include "physics/sdk/JointDesc.h"
#include "physics/ZavuviInsert.h"
#include "physics/ZavuviPhysicalObject.h"
#include "physics/zavuvi/PhysicsEntity.h"
#include "physics/ZavuviSkeletonData.h"

namespace physics {

CPhyRagDoll::CPhyRagDoll(std::shared_ptr<const Zavuvi::PhysicsEntity> file,
                         std::shared_ptr<Zavuvi::SkeletonData> skeleton, std::shared_ptr<Zavuvi::PhysicalObject> model)
    : m_Bones(std::move(skeleton)), m_FileData(std::move(file)), m_Model(std::move(model))
{
}

CPhyRagDoll::~CPhyRagDoll() = default;

sds::CVector CPhyRagDoll::GetPos() const
{
    return GetBonePos(m_RootName) - m_Bones->m_RootPosition;
}

sds::CQuaternion CPhyRagDoll::GetOrientation() const
{
    return GetBoneOrientation(m_RootName);
}

void CPhyRagDoll::SetOrientation(const sds::CQuaternion& orientation)
{
    SetBonePose(m_RootName, GetBonePos(m_RootName), orientation);
}

void CPhyRagDoll::SetPos(const sds::CVector& position)
{
    SetBonePose(m_RootName, position, GetBoneOrientation(m_RootName));
}

void CPhyRagDoll::SetBonePose(const std::string& name, const sds::CVector& position,
                              const sds::CQuaternion& orientation)
{
    sds::CQuaternion q = orientation;
    q.NormaliseQuaternion();
    m_Bones->SetBonePose(name, Zavuvi::Matrix::FromQuaternion(q), position);
}

void CPhyRagDoll::SetBoneVelocity(const std::string& name, const sds::CVector& velocity)
{
    if (sdk::IActor* actor = m_Bones->GetBone(name).GetActor(); actor && actor->IsDynamic())
    {
        actor->SetLinearVelocity(velocity);
        actor->SetAngularVelocity(sds::CVector::ZERO);
    }
}

sds::CQuaternion CPhyRagDoll::GetBoneOrientation(const std::string& name) const
{
    return m_Bones->GetBone(name).GetActor()->GetGlobalOrientation();
}

sds::CVector CPhyRagDoll::GetBonePos(const std::string& name) const
{
    return m_Bones->GetBonePosition(name);
}

bool CPhyRagDoll::HasBone(const std::string& name) const
{
    return std::find(m_BoneNames.begin(), m_BoneNames.end(), name) != m_BoneNames.end();
}

bool CPhyRagDoll::HasActor(const std::string& name) const
{
    return m_ActorNames.count(name) != 0;
}

void CPhyRagDoll::GetBoneNames(std::vector<std::string>& names) const
{
    names = m_BoneNames;
}

std::uint16_t CPhyRagDoll::GetBoneCount() const
{
    return std::uint16_t(m_BoneNames.size());
}

const std::string& CPhyRagDoll::GetBoneName(std::uint16_t index) const
{
    return m_BoneNames.at(index);
}

std::shared_ptr<CPhyObj> CPhyRagDoll::GetBone(const std::string& name) const
{
    return m_Bones->GetBone(name).m_Object;
}

// Both are asked every step (a windsock looks for a broken joint): they count
// through the model's joints rather than list them.
std::uint16_t CPhyRagDoll::GetJointCount() const
{
    std::uint16_t count = 0;
    for (sdk::IJoint* joint : m_Model->m_Joints)
        if (IsLiveJoint(*joint))
            ++count;
    return count;
}

sdk::IJoint* CPhyRagDoll::GetJoint(std::uint16_t index) const
{
    std::uint16_t live = 0;
    for (sdk::IJoint* joint : m_Model->m_Joints)
        if (IsLiveJoint(*joint) && live++ == index)
            return joint;
    throw std::out_of_range("CPhyRagDoll::GetJoint: no joint " + std::to_string(index));
}

bool CPhyRagDoll::IsLiveJoint(const sdk::IJoint& joint) const
{
    return IsOwnActor(joint.GetActor(0)) || IsOwnActor(joint.GetActor(1));
}

void CPhyRagDoll::AddBoneName(const std::string& name)
{
    m_BoneNames.push_back(name);
}

void CPhyRagDoll::InitRootName()
{
    m_Actors.clear();
    m_ActorNames.clear();
    const Zavuvi::PhysicsEntity& file = *m_FileData;
    for (const auto& actor : m_Model->m_Actors)
    {
        if (!actor)
            continue;
        const Zavuvi::PhysicsActor& record = file.m_Actors[std::size_t(actor->m_Index)];
        if (record.m_SkeletonIndex != m_Bones->m_Index)
            continue;
        m_Actors.push_back({actor->m_BoneName, actor});
        m_ActorNames.insert(record.m_Name);
    }
    if (m_Bones->m_RootActor)
        m_RootName = m_Bones->m_RootActor->m_BoneName;
    else
        m_RootName = m_Actors.empty() ? std::string() : m_Actors.front().m_Name;
}

std::uint16_t CPhyRagDoll::GetActorCount() const
{
    return std::uint16_t(m_Actors.size());
}

const std::string& CPhyRagDoll::GetActorName(std::uint16_t index) const
{
    return m_Actors.at(index).m_Name;
}

std::shared_ptr<CPhyObj> CPhyRagDoll::GetRootBone() const
{
    return GetBone(m_RootName);
}

bool CPhyRagDoll::IsOwnActor(const sdk::IActor* actor) const
{
    return actor && std::any_of(m_Actors.begin(), m_Actors.end(),
                                [actor](const CActor& own) { return own.m_Actor->GetActor() == actor; });
}

std::vector<sdk::IJoint*> CPhyRagDoll::LiveJoints() const
{
    std::vector<sdk::IJoint*> joints;
    for (sdk::IJoint* joint : m_Model->m_Joints)
        if (IsLiveJoint(*joint))
            joints.push_back(joint);
    return joints;
}

void CPhyRagDoll::ReleaseJoints()
{
    for (sdk::IJoint* joint : LiveJoints())
        m_Model->ReleaseJoint(joint);
}

void CPhyRagDoll::PlaceAtRest(sds::CVector& position, sds::CQuaternion& orientation)
{
    const Zavuvi::ZavuviActor& root = m_Bones->GetBone(m_RootName);
    orientation = root.GetActor()->GetGlobalOrientation();
    const Zavuvi::Matrix rotation = Zavuvi::Matrix::FromQuaternion(orientation);
    // The frame the file would have been inserted at to put the root where it is.
    position = root.GetActor()->GetGlobalPosition() - rotation * m_FileData->m_Actors[std::size_t(root.m_Index)].m_Position;
    for (const CActor& actor : m_Actors)
        if (sdk::IActor* physical = actor.m_Actor->GetActor())
            physical->SetGlobalPose(position + rotation * m_FileData->m_Actors[std::size_t(actor.m_Actor->m_Index)].m_Position,
                                    orientation);
}

void CPhyRagDoll::ResetPose()
{
    ReleaseJoints();
    sds::CVector position;
    sds::CQuaternion orientation;
    PlaceAtRest(position, orientation);
    std::set<std::int32_t> own;
    for (const CActor& actor : m_Actors)
        own.insert(actor.m_Actor->m_Index);
    Zavuvi::CreateJoints(*m_Model, position, Zavuvi::Matrix::FromQuaternion(orientation),
                         [&own](const Zavuvi::PhysicsJoint& joint) {
                             return own.count(joint.m_Actors[0]) != 0 || own.count(joint.m_Actors[1]) != 0;
                         });
}

void CPhyRagDoll::AttachTo(sdk::IActor& actor)
{
    ReleaseJoints();
    sds::CVector position;
    sds::CQuaternion orientation;
    PlaceAtRest(position, orientation);
    sdk::IScene& scene = CPhyMgr::GetSingleton()->GetScene();
    for (const CActor& own : m_Actors)
    {
        sdk::IActor* physical = own.m_Actor->GetActor();
        if (!physical || physical == &actor)
            continue;
        sdk::CJointDesc desc(sdk::JOINT_FIXED);
        desc.m_Actors[0] = &actor;
        desc.m_Actors[1] = physical;
        sdk::IJoint* joint = scene.CreateJoint(desc);
        if (!joint)
            throw std::runtime_error("j && \"Could not create joint\"");
        m_Model->m_Joints.push_back(joint);
    }
}

void CPhyRagDoll::EnableGravity(bool enable)
{
    for (const CActor& own : m_Actors)
        if (sdk::IActor* actor = own.m_Actor->GetActor(); actor && actor->IsDynamic())
        {
            if (enable)
                actor->ClearBodyFlag(sdk::BF_DISABLE_GRAVITY);
            else
                actor->RaiseBodyFlag(sdk::BF_DISABLE_GRAVITY);
        }
}

void CPhyRagDoll::EnableCollision(bool enable)
{
    for (const CActor& own : m_Actors)
        own.m_Actor->m_Object->EnableCollision(enable);
}

void CPhyRagDoll::EnableContinuousCollision(bool enable)
{
    for (const CActor& own : m_Actors)
        if (sdk::IActor* actor = own.m_Actor->GetActor(); actor && actor->IsDynamic())
        {
            if (enable)
                actor->RaiseBodyFlag(sdk::BF_CONTINUOUS_COLLISION);
            else
                actor->ClearBodyFlag(sdk::BF_CONTINUOUS_COLLISION);
        }
}

void CPhyRagDoll::SetMaterial(std::uint16_t material)
{
    for (const CActor& own : m_Actors)
        if (sdk::IActor* actor = own.m_Actor->GetActor())
            for (sdk::IShape* shape : actor->GetShapes())
                shape->SetMaterial(material);
}

void CPhyRagDoll::SetLinearVelocity(const sds::CVector& velocity)
{
    for (const CActor& own : m_Actors)
        if (sdk::IActor* actor = own.m_Actor->GetActor(); actor && actor->IsDynamic())
            actor->SetLinearVelocity(velocity);
}

void CPhyRagDoll::ShareRootCallback()
{
    const CPhyObj::CCollisionCallback callback = GetRootBone()->GetCollisionCallback();
    for (const CActor& own : m_Actors)
        own.m_Actor->m_Object->SetCollisionCallback(callback);
}

} // namespace physics
