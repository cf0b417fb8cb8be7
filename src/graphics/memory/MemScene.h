#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/BoundingBox.h"
#include "core/Quaternion.h"
#include "core/Vector.h"

// The data of the in-memory scene: mesh descriptions, mesh instances with
// their bones and animation states, and scene nodes. It follows the rendering
// engine's rules (cumulative blending, time wrapping and clamping, transform
// inheritance) so that code tested against it behaves the same on screen.
namespace sds {
namespace mem {

struct CKeyFrame
{
    float m_Time = 0.0f;
    CVector m_Translate;
    CQuaternion m_Rotate;
};

// The key frames of one bone within an animation, in time order.
struct CTrack
{
    std::uint16_t m_Bone = 0;
    std::vector<CKeyFrame> m_KeyFrames;
};

struct CAnimationDesc
{
    std::string m_Name;
    float m_Length = 0.0f;
    std::vector<CTrack> m_Tracks;
};

struct CBoneDesc
{
    std::string m_Name;
    int m_Parent = -1;
    CVector m_Pos;
    CQuaternion m_Orientation;
};

// What a mesh file holds, as far as the program sees it.
struct CMeshDesc
{
    CMeshDesc();
    CBoundingBox m_Box;
    std::vector<std::string> m_SubEntityMaterials;
    std::vector<CBoneDesc> m_Bones;
    std::vector<CAnimationDesc> m_Animations;
    // Above 0: the box follows the posed bones (but the root), reaching this
    // far around them, as a generated rope's culling box does.
    float m_BoneBoundingRadius = 0.0f;
};

struct CMaterial
{
    CMaterial() { m_Diffuse.v[0] = m_Diffuse.v[1] = m_Diffuse.v[2] = 1.0f; }
    CFourFloats m_Diffuse;
    CVector m_Ambient = CVector(1.0f, 1.0f, 1.0f);
    bool m_HasTextureUnit = false;
    std::string m_Texture;
};

struct CAnimationState
{
    std::string m_Name;
    float m_Length = 0.0f;
    float m_Time = 0.0f;
    bool m_Enabled = false;
    bool m_Loop = true;
    float m_Weight = 1.0f;
    const CAnimationDesc* m_Desc = nullptr;

    // Wraps when looping, else clamps to [0, length].
    void SetTime(float time);
    void AddTime(float seconds) { SetTime(m_Time + seconds); }
};

struct CBone
{
    std::string m_Name;
    int m_Parent = -1;
    CVector m_BindPos;
    CQuaternion m_BindOrientation;
    CVector m_Pos;
    CQuaternion m_Orientation;
    bool m_Manual = false;
};

struct CNode;

// Where a bone or node stands in the world, worked out in one walk up its parents.
struct CWorldPose
{
    CVector m_Pos;
    CQuaternion m_Orientation;
    CVector m_Scale = CVector(1.0f, 1.0f, 1.0f);
};

// World poses are asked for many times between two changes of the scene (the
// line set reads dozens of points on one canopy a frame), so each node and
// bone keeps the last one it worked out with the revision it was good for.
// Whatever changes a pose, a parent, a tag point or a bone calls
// PosesChanged(), which makes every kept pose stale.
std::uint64_t PoseRevision();
void PosesChanged();

struct CKeptPose
{
    std::uint64_t m_Revision = 0;
    CWorldPose m_Pose;
};

// One instance of a mesh.
struct CEntity
{
    std::string m_Name;
    std::string m_MeshName;
    CMeshDesc m_Mesh;
    bool m_Visible = true;
    bool m_NormaliseNormals = false;
    std::uint32_t m_QueryFlags = 4;
    std::vector<std::string> m_Materials;
    std::map<std::string, CAnimationState> m_States;
    std::vector<CBone> m_Bones;
    CNode* m_Node = nullptr;

    // Resets the bones that are not manually controlled to their binding pose
    // and adds the weighted contribution of every enabled animation.
    void ApplyAnimations();
    CVector GetBoneWorldPos(std::size_t handle) const { return GetBoneWorldPose(handle).m_Pos; }
    CQuaternion GetBoneWorldOrientation(std::size_t handle) const { return GetBoneWorldPose(handle).m_Orientation; }
    // In the entity's space; bones carry no scale.
    CWorldPose GetBoneWorldPose(std::size_t handle) const;

private:
    CWorldPose WorkOutBoneWorldPose(std::size_t handle) const;
    mutable std::vector<CKeptPose> m_BonePoses;
};

struct CNode
{
    std::string m_Name;
    CNode* m_Parent = nullptr;
    std::vector<CNode*> m_Children;
    CVector m_Pos;
    CQuaternion m_Orientation;
    CVector m_Scale = CVector(1.0f, 1.0f, 1.0f);
    std::vector<std::shared_ptr<CEntity>> m_Attached;
    // A tag point: hangs on a bone of this entity instead of a parent node.
    std::shared_ptr<CEntity> m_TagOwner;
    std::uint16_t m_TagBone = 0;

    void AddChild(CNode* child);
    void RemoveChild(CNode* child);
    void RemoveAllChildren();
    void Detach(const std::shared_ptr<CEntity>& entity);
    void DetachAll();
    CVector GetWorldPos() const { return GetWorldPose().m_Pos; }
    CQuaternion GetWorldOrientation() const { return GetWorldPose().m_Orientation; }
    CVector GetWorldScale() const { return GetWorldPose().m_Scale; }
    CWorldPose GetWorldPose() const;
    // Under the scene's root (through parents and tag points).
    bool IsUnder(const CNode* root) const;

private:
    CWorldPose WorkOutWorldPose() const;
    mutable CKeptPose m_Kept;
};

// Rotation helpers with the rendering engine's conventions.
CQuaternion FromAngleAxisDegrees(float degrees, const CVector& axis);
CQuaternion Normalised(CQuaternion q);
CQuaternion Nlerp(float t, const CQuaternion& from, const CQuaternion& to);
// The angles (degrees) about x, y and z of a rotation made by turning about
// x, then the turned y, then the turned z: the inverse of applying them so.
CVector GetPitchYawRoll(const CQuaternion& q);

} // namespace mem
} // namespace sds
