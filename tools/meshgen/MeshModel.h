#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BoundingBox.h"
#include "core/Quaternion.h"
#include "core/Vector.h"

// A skinned mesh as plain data: the one description of each of the project's
// models, which the mesh tool writes through the rendering engine's
// serializers and the tests hand to the in-memory graphics.
namespace meshgen {

struct CVertex
{
    sds::CVector m_Pos; // model space, bind pose
    sds::CVector m_Normal;
    float m_U = 0.0f;
    float m_V = 0.0f;
    std::uint16_t m_Bone = 0; // rigid skinning: the one bone that carries the vertex
};

// The triangles of one material.
struct CSubMesh
{
    std::string m_Material;
    std::vector<CVertex> m_Vertices;
    std::vector<std::uint16_t> m_Indices;
};

// The bind pose relative to the parent bone (the root's in model space).
struct CBone
{
    std::string m_Name;
    int m_Parent = -1;
    sds::CVector m_Pos;
    sds::CQuaternion m_Orientation;
};

// As the rendering engine keys a bone: the translation is added to the bind
// position in the parent's frame, the rotation follows the bind orientation.
struct CKeyFrame
{
    float m_Time = 0.0f;
    sds::CVector m_Translate;
    sds::CQuaternion m_Rotate;
};

struct CTrack
{
    std::uint16_t m_Bone = 0;
    std::vector<CKeyFrame> m_KeyFrames; // in time order
};

struct CAnimation
{
    std::string m_Name;
    float m_Length = 0.0f;
    std::vector<CTrack> m_Tracks;
};

struct CMeshModel
{
    // The mesh file is m_Name + ".mesh"; with bones its skeleton is m_Name + ".skeleton".
    std::string m_Name;
    std::vector<CSubMesh> m_SubMeshes;
    std::vector<CBone> m_Bones; // each after its parent; the handle is the index
    std::vector<CAnimation> m_Animations;

    // Throws std::invalid_argument for a name the skeleton lacks.
    std::uint16_t BoneIndex(const std::string& name) const;
    // The bone's bind position and orientation in model space.
    sds::CVector BindPos(std::uint16_t bone) const;
    sds::CQuaternion BindOrientation(std::uint16_t bone) const;
    const CAnimation* FindAnimation(const std::string& name) const;
    // The box around every vertex in the bind pose.
    sds::CBoundingBox Bounds() const;
};

} // namespace meshgen
