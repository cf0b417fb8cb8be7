#include "graphics/memory/MemScene.h"

#include <algorithm>
#include <cmath>

namespace sds {
namespace mem {

namespace {

const float kRadiansPerDegree = 3.14159265358979f / 180.0f;

// Starts above the revision a new node or bone keeps, so that nothing is taken as worked out before.
std::uint64_t g_PoseRevision = 1;

// The key frames around the time, and how far between them it lies.
void SampleTrack(const CTrack& track, float time, CVector& translate, CQuaternion& rotate)
{
    const std::vector<CKeyFrame>& keys = track.m_KeyFrames;
    if (keys.empty())
        return;
    if (time <= keys.front().m_Time || keys.size() == 1) {
        translate = keys.front().m_Translate;
        rotate = keys.front().m_Rotate;
        return;
    }
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (time <= keys[i].m_Time) {
            const CKeyFrame& a = keys[i - 1];
            const CKeyFrame& b = keys[i];
            const float span = b.m_Time - a.m_Time;
            const float t = span > 0.0f ? (time - a.m_Time) / span : 0.0f;
            translate = a.m_Translate + (b.m_Translate - a.m_Translate) * t;
            rotate = Nlerp(t, a.m_Rotate, b.m_Rotate);
            return;
        }
    }
    translate = keys.back().m_Translate;
    rotate = keys.back().m_Rotate;
}

} // namespace

std::uint64_t PoseRevision() { return g_PoseRevision; }

void PosesChanged() { ++g_PoseRevision; }

CMeshDesc::CMeshDesc()
{
    m_Box.Reset(CVector(-0.5f, -0.5f, -0.5f));
    m_Box.Merge(CVector(0.5f, 0.5f, 0.5f));
    m_SubEntityMaterials.push_back("BaseWhite");
}

void CAnimationState::SetTime(float time)
{
    if (time == m_Time)
        return;
    m_Time = time;
    if (m_Length <= 0.0f) {
        m_Time = 0.0f;
    } else if (m_Loop) {
        m_Time = std::fmod(m_Time, m_Length);
        if (m_Time < 0.0f)
            m_Time += m_Length;
    } else {
        m_Time = std::clamp(m_Time, 0.0f, m_Length);
    }
}

void CEntity::ApplyAnimations()
{
    PosesChanged();
    for (CBone& bone : m_Bones) {
        if (!bone.m_Manual) {
            bone.m_Pos = bone.m_BindPos;
            bone.m_Orientation = bone.m_BindOrientation;
        }
    }
    for (const auto& entry : m_States) {
        const CAnimationState& state = entry.second;
        if (!state.m_Enabled || !state.m_Desc)
            continue;
        for (const CTrack& track : state.m_Desc->m_Tracks) {
            if (track.m_Bone >= m_Bones.size() || m_Bones[track.m_Bone].m_Manual)
                continue;
            CVector translate;
            CQuaternion rotate;
            SampleTrack(track, state.m_Time, translate, rotate);
            CBone& bone = m_Bones[track.m_Bone];
            bone.m_Pos += translate * state.m_Weight;
            bone.m_Orientation = bone.m_Orientation * Nlerp(state.m_Weight, CQuaternion::IDENTITY, rotate);
        }
    }
}

CWorldPose CEntity::GetBoneWorldPose(std::size_t handle) const
{
    if (m_BonePoses.size() != m_Bones.size())
        m_BonePoses.assign(m_Bones.size(), CKeptPose());
    CKeptPose& kept = m_BonePoses[handle];
    if (kept.m_Revision != g_PoseRevision) {
        kept.m_Pose = WorkOutBoneWorldPose(handle);
        kept.m_Revision = g_PoseRevision;
    }
    return kept.m_Pose;
}

CWorldPose CEntity::WorkOutBoneWorldPose(std::size_t handle) const
{
    const CBone& bone = m_Bones[handle];
    if (bone.m_Parent < 0)
        return {bone.m_Pos, bone.m_Orientation};
    const CWorldPose parent = GetBoneWorldPose(bone.m_Parent);
    return {parent.m_Orientation * bone.m_Pos + parent.m_Pos, parent.m_Orientation * bone.m_Orientation};
}

void CNode::AddChild(CNode* child)
{
    PosesChanged();
    if (child->m_Parent)
        child->m_Parent->RemoveChild(child);
    child->m_Parent = this;
    m_Children.push_back(child);
}

void CNode::RemoveChild(CNode* child)
{
    PosesChanged();
    const auto found = std::find(m_Children.begin(), m_Children.end(), child);
    if (found == m_Children.end())
        return;
    m_Children.erase(found);
    child->m_Parent = nullptr;
}

void CNode::RemoveAllChildren()
{
    PosesChanged();
    for (CNode* child : m_Children)
        child->m_Parent = nullptr;
    m_Children.clear();
}

void CNode::Detach(const std::shared_ptr<CEntity>& entity)
{
    PosesChanged();
    const auto found = std::find(m_Attached.begin(), m_Attached.end(), entity);
    if (found == m_Attached.end())
        return;
    (*found)->m_Node = nullptr;
    m_Attached.erase(found);
}

void CNode::DetachAll()
{
    PosesChanged();
    for (const auto& entity : m_Attached)
        entity->m_Node = nullptr;
    m_Attached.clear();
}

// A scene's transforms are asked for many times a frame: position, turn and
// scale come from one walk up the parents, each worked out as the rendering
// engine's node would.
CWorldPose CNode::GetWorldPose() const
{
    if (m_Kept.m_Revision != g_PoseRevision) {
        m_Kept.m_Pose = WorkOutWorldPose();
        m_Kept.m_Revision = g_PoseRevision;
    }
    return m_Kept.m_Pose;
}

CWorldPose CNode::WorkOutWorldPose() const
{
    if (!m_TagOwner && !m_Parent) {
        const CWorldPose root;
        return {root.m_Orientation * (root.m_Scale * m_Pos) + root.m_Pos, m_Orientation, m_Scale};
    }
    CWorldPose parent;
    if (m_TagOwner) {
        const CNode* owner = m_TagOwner->m_Node;
        const CWorldPose ownerPose = owner ? owner->GetWorldPose() : CWorldPose();
        const CWorldPose bone = m_TagOwner->GetBoneWorldPose(m_TagBone);
        parent.m_Scale = ownerPose.m_Scale;
        parent.m_Pos = ownerPose.m_Orientation * (ownerPose.m_Scale * bone.m_Pos) + ownerPose.m_Pos;
        parent.m_Orientation = ownerPose.m_Orientation * bone.m_Orientation;
    } else {
        parent = m_Parent->GetWorldPose();
    }
    return {parent.m_Orientation * (parent.m_Scale * m_Pos) + parent.m_Pos, parent.m_Orientation * m_Orientation,
            parent.m_Scale * m_Scale};
}

bool CNode::IsUnder(const CNode* root) const
{
    if (this == root)
        return true;
    if (m_TagOwner)
        return m_TagOwner->m_Node && m_TagOwner->m_Node->IsUnder(root);
    return m_Parent && m_Parent->IsUnder(root);
}

CQuaternion FromAngleAxisDegrees(float degrees, const CVector& axis)
{
    CQuaternion q;
    q.FromAngleAxis(degrees * kRadiansPerDegree, axis);
    return q;
}

CQuaternion Normalised(CQuaternion q)
{
    q.NormaliseQuaternion();
    return q;
}

CQuaternion Nlerp(float t, const CQuaternion& from, const CQuaternion& to)
{
    const float cosine = from.w * to.w + from.x * to.x + from.y * to.y + from.z * to.z;
    const CQuaternion target = cosine < 0.0f ? -to : to;
    return Normalised(from + (target - from) * t);
}

CVector GetPitchYawRoll(const CQuaternion& q)
{
    // The rotation matrix entries that the decomposition needs.
    const float m00 = 1.0f - 2.0f * (q.y * q.y + q.z * q.z);
    const float m01 = 2.0f * (q.x * q.y - q.w * q.z);
    const float m02 = 2.0f * (q.x * q.z + q.w * q.y);
    const float m10 = 2.0f * (q.x * q.y + q.w * q.z);
    const float m11 = 1.0f - 2.0f * (q.x * q.x + q.z * q.z);
    const float m12 = 2.0f * (q.y * q.z - q.w * q.x);
    const float m22 = 1.0f - 2.0f * (q.x * q.x + q.y * q.y);
    const float y = std::asin(std::clamp(m02, -1.0f, 1.0f));
    float x = 0.0f;
    float z = 0.0f;
    if (std::fabs(m02) < 0.99999f) {
        x = std::atan2(-m12, m22);
        z = std::atan2(-m01, m00);
    } else {
        // At the pole only the sum (or difference) of x and z is defined.
        x = std::atan2(m10, m11);
    }
    return CVector(x, y, z) * (1.0f / kRadiansPerDegree);
}

} // namespace mem
} // namespace sds
