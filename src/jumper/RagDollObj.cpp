#include "jumper/RagDollObj.h"

#include <stdexcept>

#include "graphics/ISkeleton.h"
#include "jumper/GfxObjectConfig.h"
#include "physics/IPhyRagDoll.h"

namespace sds {

CRagDollObj::CRagDollObj(const CGfxObjPtr& gfxObj, const std::shared_ptr<physics::IPhyRagDoll>& ragDoll,
                         bool physicsDriven)
    : CVisObj(gfxObj), m_PhyRagDoll(ragDoll), m_PhysicsDriven(physicsDriven)
{
    const CSkeletonPtr skeleton = m_GfxObj->GetSkeleton();
    if (!skeleton)
        throw std::logic_error("GetGfxObj()->HasSkeleton() && \"Model must have a skeleton\"");
    std::vector<std::shared_ptr<CBone>> bones;
    for (std::size_t index = 0; index < skeleton->GetNumJoints(); ++index) {
        const CJointPtr joint = skeleton->GetJoint(static_cast<std::uint16_t>(index));
        if (physicsDriven)
            joint->SetManuallyControlled(true);
        auto bone = std::make_shared<CBone>();
        bone->m_Joint = joint;
        bone->m_HasPhysicsBone = m_PhyRagDoll->HasBone(joint->GetName());
        bones.push_back(bone);
    }
    m_Bones = bones;
    for (const std::shared_ptr<CBone>& bone : bones) {
        if (bone->m_Joint->IsRoot()) {
            m_RootBone = bone;
            continue;
        }
        const std::string parent = bone->m_Joint->GetParentName();
        for (const std::shared_ptr<CBone>& other : bones)
            if (other->m_Joint->GetName() == parent) {
                other->m_Children.push_back(bone);
                break;
            }
    }
    if (physicsDriven)
        SwitchToPhysics();
    PosePhysicsFromSkeleton();
}

CRagDollObj::~CRagDollObj() = default;

void CRagDollObj::SwitchToPhysics()
{
    m_GfxObj->DisableAllAnimations();
    m_PhysicsDriven = true;
    const CSkeletonPtr skeleton = m_GfxObj->GetSkeleton();
    for (std::size_t index = 0; index < skeleton->GetNumJoints(); ++index) {
        const CJointPtr joint = skeleton->GetJoint(static_cast<std::uint16_t>(index));
        if (m_PhyRagDoll->HasActor(joint->GetName()))
            joint->SetManuallyControlled(true);
    }
}

void CRagDollObj::PosePhysicsFromSkeleton(float elapsed)
{
    const CVector objectPos = m_GfxObj->GetWorldPos();
    const CQuaternion objectOrientation = m_GfxObj->GetWorldOrientation();
    for (const std::shared_ptr<CBone>& bone : m_Bones) {
        const std::string& name = bone->m_Joint->GetName();
        if (!m_PhyRagDoll->HasActor(name))
            continue;
        // The skeleton bone's own pose, not one built on the physical bone's
        // last pose, which would drift a little every frame. The root is posed
        // too: the model is placed where the rag doll's root is, so a root left
        // where physics last had it would carry the model away.
        const CVector position = objectPos + objectOrientation * bone->m_Joint->GetWorldPos();
        m_PhyRagDoll->SetBonePose(name, position, objectOrientation * bone->m_Joint->GetWorldOrientation());
        // Moved between poses, not by the scene: a standing model's bones stand
        // still, whatever speed the scene's gravity would give them meanwhile.
        const bool moved = bone->m_Posed && elapsed > 0.0f;
        m_PhyRagDoll->SetBoneVelocity(name, moved ? (position - bone->m_PosedAt) / elapsed : CVector::ZERO);
        bone->m_Posed = true;
        bone->m_PosedAt = position;
    }
}

void CRagDollObj::Update(const CTiming& timing)
{
    if (!m_PhysicsDriven) {
        PosePhysicsFromSkeleton(timing.m_Elapsed);
        return;
    }
    // The model sits where the rag doll is in the world, whatever it hangs under.
    m_GfxObj->SetPos(InParentSpace(*m_GfxObj, m_PhyRagDoll->GetPos()));
    if (m_RootBone)
        UpdateBone(*m_RootBone, m_GfxObj->GetWorldOrientation().Inverse(), CQuaternion::IDENTITY);
    m_GfxObj->UpdateTransform();
}

void CRagDollObj::UpdateBone(const CBone& bone, const CQuaternion& toModel, const CQuaternion& parentOrientation)
{
    CQuaternion orientation = parentOrientation;
    if (bone.m_HasPhysicsBone) {
        const std::string name = bone.m_Joint->GetName();
        orientation = toModel * m_PhyRagDoll->GetBoneOrientation(name);
        bone.m_Joint->SetOrientation(parentOrientation.Inverse() * orientation);
    } else {
        bone.m_Joint->SetOrientation(CQuaternion::IDENTITY);
    }
    for (const std::shared_ptr<CBone>& child : bone.m_Children)
        UpdateBone(*child, toModel, orientation);
}

} // namespace sds
