#include "meshgen/ModelBuilder.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

#include "core/XmlFile.h"
#include "phsgen/PhysicsSource.h"

namespace meshgen {

namespace {

const float kPi = 3.14159265358979f;

sds::CVector Normalised(sds::CVector v)
{
    v.Normalize();
    return v;
}

// Any unit vector at right angles to `v`.
sds::CVector Perpendicular(const sds::CVector& v)
{
    const sds::CVector other = std::fabs(v.x) < 0.9f ? sds::CVector::UNIT_X : sds::CVector::UNIT_Y;
    return Normalised(v.Cross(other));
}

} // namespace

std::uint16_t CMeshModel::BoneIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < m_Bones.size(); ++i)
        if (m_Bones[i].m_Name == name)
            return static_cast<std::uint16_t>(i);
    throw std::invalid_argument("mesh '" + m_Name + "' has no bone '" + name + "'");
}

sds::CVector CMeshModel::BindPos(std::uint16_t bone) const
{
    const CBone& b = m_Bones.at(bone);
    if (b.m_Parent < 0)
        return b.m_Pos;
    const auto parent = static_cast<std::uint16_t>(b.m_Parent);
    return BindPos(parent) + BindOrientation(parent) * b.m_Pos;
}

sds::CQuaternion CMeshModel::BindOrientation(std::uint16_t bone) const
{
    const CBone& b = m_Bones.at(bone);
    if (b.m_Parent < 0)
        return b.m_Orientation;
    return BindOrientation(static_cast<std::uint16_t>(b.m_Parent)) * b.m_Orientation;
}

const CAnimation* CMeshModel::FindAnimation(const std::string& name) const
{
    for (const CAnimation& animation : m_Animations)
        if (animation.m_Name == name)
            return &animation;
    return nullptr;
}

sds::CBoundingBox CMeshModel::Bounds() const
{
    sds::CBoundingBox box;
    for (const CSubMesh& sub : m_SubMeshes)
        for (const CVertex& v : sub.m_Vertices)
            box.Merge(v.m_Pos);
    return box;
}

std::vector<CBone> ReadSkeleton(const std::string& sourceFile)
{
    const xml::CNodePtr file = xml::LoadXmlFile(sourceFile);
    if (!file || file->GetChildren().empty())
        throw std::invalid_argument("could not read '" + sourceFile + "'");
    const xml::CNodePtr root = file->GetChildren().begin()->second;
    const std::vector<phsgen::CBoneEntry> entries = phsgen::ReadBoneList(root);
    if (entries.empty())
        throw std::invalid_argument("'" + sourceFile + "' lists no bones");
    const Zavuvi::PhysicsEntity entity = phsgen::ReadPhysicsSource(root);

    std::vector<CBone> bones;
    std::vector<sds::CVector> modelPositions;
    for (const phsgen::CBoneEntry& entry : entries) {
        sds::CVector position = entry.m_Position;
        if (entry.m_HasActor) {
            const auto actor = std::find_if(entity.m_Actors.begin(), entity.m_Actors.end(),
                                            [&](const Zavuvi::PhysicsActor& a) { return a.m_BoneName == entry.m_Name; });
            position = actor->m_Position; // the source's check makes sure there is one
        }
        CBone bone;
        bone.m_Name = entry.m_Name;
        for (std::size_t i = 0; i < bones.size(); ++i)
            if (bones[i].m_Name == entry.m_Parent)
                bone.m_Parent = static_cast<int>(i);
        bone.m_Pos = bone.m_Parent < 0 ? position : position - modelPositions[std::size_t(bone.m_Parent)];
        bones.push_back(bone);
        modelPositions.push_back(position);
    }
    return bones;
}

void CGeometryBuilder::Use(const std::string& material, const std::string& bone)
{
    m_Material = material;
    m_Bone = bone.empty() || m_Model.m_Bones.empty() ? 0 : m_Model.BoneIndex(bone);
}

CSubMesh& CGeometryBuilder::Current()
{
    for (CSubMesh& sub : m_Model.m_SubMeshes)
        if (sub.m_Material == m_Material)
            return sub;
    m_Model.m_SubMeshes.push_back(CSubMesh());
    m_Model.m_SubMeshes.back().m_Material = m_Material;
    return m_Model.m_SubMeshes.back();
}

std::uint16_t CGeometryBuilder::AddVertex(const sds::CVector& pos, const sds::CVector& normal, float u, float v)
{
    CSubMesh& sub = Current();
    if (sub.m_Vertices.size() >= 0xFFFF)
        throw std::length_error("mesh '" + m_Model.m_Name + "': too many vertices for one material");
    CVertex vertex;
    vertex.m_Pos = pos;
    vertex.m_Normal = normal;
    vertex.m_U = u;
    vertex.m_V = v;
    vertex.m_Bone = m_Bone;
    sub.m_Vertices.push_back(vertex);
    return static_cast<std::uint16_t>(sub.m_Vertices.size() - 1);
}

void CGeometryBuilder::AddTriangleIndices(std::uint16_t a, std::uint16_t b, std::uint16_t c)
{
    CSubMesh& sub = Current();
    sub.m_Indices.push_back(a);
    sub.m_Indices.push_back(b);
    sub.m_Indices.push_back(c);
}

void CGeometryBuilder::Quad(const sds::CVector& a, const sds::CVector& b, const sds::CVector& c, const sds::CVector& d)
{
    const sds::CVector normal = Normalised((b - a).Cross(c - a));
    const std::uint16_t ia = AddVertex(a, normal, 0, 1);
    const std::uint16_t ib = AddVertex(b, normal, 1, 1);
    const std::uint16_t ic = AddVertex(c, normal, 1, 0);
    const std::uint16_t id = AddVertex(d, normal, 0, 0);
    AddTriangleIndices(ia, ib, ic);
    AddTriangleIndices(ia, ic, id);
}

void CGeometryBuilder::Box(const sds::CVector& centre, const sds::CVector& half, const sds::CQuaternion& orientation)
{
    auto corner = [&](float x, float y, float z) {
        return centre + orientation * sds::CVector(x * half.x, y * half.y, z * half.z);
    };
    const sds::CVector p[8] = {corner(-1, -1, -1), corner(1, -1, -1), corner(1, 1, -1), corner(-1, 1, -1),
                               corner(-1, -1, 1),  corner(1, -1, 1),  corner(1, 1, 1),  corner(-1, 1, 1)};
    Quad(p[4], p[5], p[6], p[7]); // +z
    Quad(p[1], p[0], p[3], p[2]); // -z
    Quad(p[5], p[1], p[2], p[6]); // +x
    Quad(p[0], p[4], p[7], p[3]); // -x
    Quad(p[7], p[6], p[2], p[3]); // +y
    Quad(p[0], p[1], p[5], p[4]); // -y
}

void CGeometryBuilder::Ellipsoid(const sds::CVector& centre, const sds::CVector& radii,
                                 const sds::CQuaternion& orientation, int rings, int segments,
                                 bool (*keep)(const sds::CVector& local))
{
    // One vertex per ring and segment; the seam's vertices are repeated.
    std::vector<std::uint16_t> grid;
    std::vector<sds::CVector> local;
    for (int ring = 0; ring <= rings; ++ring) {
        const float theta = kPi * ring / rings;
        for (int segment = 0; segment <= segments; ++segment) {
            const float phi = 2.0f * kPi * segment / segments;
            const sds::CVector unit(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
            const sds::CVector onSurface(unit.x * radii.x, unit.y * radii.y, unit.z * radii.z);
            // The normal of an ellipsoid at a point: the gradient of its equation.
            const sds::CVector normal =
                Normalised(orientation * sds::CVector(unit.x / radii.x, unit.y / radii.y, unit.z / radii.z));
            grid.push_back(AddVertex(centre + orientation * onSurface, normal, float(segment) / segments,
                                     float(ring) / rings));
            local.push_back(onSurface);
        }
    }
    const int row = segments + 1;
    for (int ring = 0; ring < rings; ++ring) {
        for (int segment = 0; segment < segments; ++segment) {
            const int a = ring * row + segment;
            const int b = a + row;
            if (keep && !keep((local[a] + local[b] + local[a + 1] + local[b + 1]) * 0.25f))
                continue;
            AddTriangleIndices(grid[a], grid[a + 1], grid[b]);
            AddTriangleIndices(grid[b], grid[a + 1], grid[b + 1]);
        }
    }
}

void CGeometryBuilder::Tube(const sds::CVector& from, const sds::CVector& to, float fromRadius, float toRadius,
                            int segments)
{
    const sds::CVector axis = Normalised(to - from);
    const sds::CVector u = Perpendicular(axis);
    const sds::CVector v = axis.Cross(u);
    // The side leans by the taper, so its normals do too.
    const float slope = (fromRadius - toRadius) / std::max((to - from).Length(), 1e-6f);
    std::vector<std::uint16_t> side;
    for (int segment = 0; segment <= segments; ++segment) {
        const float phi = 2.0f * kPi * segment / segments;
        const sds::CVector radial = u * std::cos(phi) + v * std::sin(phi);
        const sds::CVector normal = Normalised(radial + axis * slope);
        side.push_back(AddVertex(from + radial * fromRadius, normal, float(segment) / segments, 1));
        side.push_back(AddVertex(to + radial * toRadius, normal, float(segment) / segments, 0));
    }
    for (int segment = 0; segment < segments; ++segment) {
        const std::uint16_t a = side[2 * segment], b = side[2 * segment + 1];
        const std::uint16_t c = side[2 * segment + 2], d = side[2 * segment + 3];
        AddTriangleIndices(a, c, b);
        AddTriangleIndices(b, c, d);
    }
    // The two caps, each a fan facing away from the tube.
    const std::uint16_t fromCentre = AddVertex(from, -axis, 0.5f, 0.5f);
    const std::uint16_t toCentre = AddVertex(to, axis, 0.5f, 0.5f);
    std::vector<std::uint16_t> fromRim, toRim;
    for (int segment = 0; segment <= segments; ++segment) {
        const float phi = 2.0f * kPi * segment / segments;
        const sds::CVector radial = u * std::cos(phi) + v * std::sin(phi);
        fromRim.push_back(AddVertex(from + radial * fromRadius, -axis, 0, 0));
        toRim.push_back(AddVertex(to + radial * toRadius, axis, 0, 0));
    }
    for (int segment = 0; segment < segments; ++segment) {
        AddTriangleIndices(fromCentre, fromRim[segment + 1], fromRim[segment]);
        AddTriangleIndices(toCentre, toRim[segment], toRim[segment + 1]);
    }
}

CPose& CPose::Aim(const std::string& bone, const sds::CVector& direction)
{
    m_Aims[bone] = Normalised(direction);
    return *this;
}

CPose& CPose::Turn(const std::string& bone, const sds::CQuaternion& rotation)
{
    m_Turns[bone] = rotation;
    return *this;
}

CPose& CPose::Move(const std::string& bone, const sds::CVector& translate)
{
    m_Moves[bone] = translate;
    return *this;
}

namespace {

// The direction a bone's rest pose points: to its first child, else its parent's.
sds::CVector RestAxis(const CMeshModel& model, std::uint16_t bone)
{
    for (std::size_t i = 0; i < model.m_Bones.size(); ++i) {
        if (model.m_Bones[i].m_Parent == bone) {
            const sds::CVector towards = model.BindPos(static_cast<std::uint16_t>(i)) - model.BindPos(bone);
            if (towards.Length() > 1e-6f)
                return Normalised(towards);
        }
    }
    const int parent = model.m_Bones[bone].m_Parent;
    return parent < 0 ? sds::CVector::UNIT_Y : RestAxis(model, static_cast<std::uint16_t>(parent));
}

// Each bone's turn relative to its bind pose in its parent's frame, for the pose.
std::vector<sds::CQuaternion> LocalTurns(const CMeshModel& model, const CPose& pose)
{
    std::vector<sds::CQuaternion> world(model.m_Bones.size());
    std::vector<sds::CQuaternion> local(model.m_Bones.size());
    for (std::size_t i = 0; i < model.m_Bones.size(); ++i) {
        const CBone& bone = model.m_Bones[i];
        const sds::CQuaternion parentWorld = bone.m_Parent < 0 ? sds::CQuaternion::IDENTITY : world[bone.m_Parent];
        const auto aim = pose.m_Aims.find(bone.m_Name);
        const auto turn = pose.m_Turns.find(bone.m_Name);
        if (aim != pose.m_Aims.end())
            world[i] = sds::GetRotationTo(RestAxis(model, static_cast<std::uint16_t>(i)), aim->second);
        else if (turn != pose.m_Turns.end())
            world[i] = turn->second;
        else
            world[i] = parentWorld;
        local[i] = parentWorld.Inverse() * world[i];
        local[i].NormaliseQuaternion();
    }
    return local;
}

void CheckBoneNames(const CMeshModel& model, const CPose& pose)
{
    for (const auto& aim : pose.m_Aims)
        model.BoneIndex(aim.first);
    for (const auto& turn : pose.m_Turns)
        model.BoneIndex(turn.first);
    for (const auto& move : pose.m_Moves)
        model.BoneIndex(move.first);
}

bool IsIdentity(const sds::CQuaternion& q)
{
    return std::fabs(std::fabs(q.w) - 1.0f) < 1e-6f;
}

} // namespace

CAnimation MakeAnimation(const CMeshModel& model, const std::string& name,
                         const std::vector<std::pair<float, CPose>>& keys, const CPose* base)
{
    if (keys.size() < 2 || keys.front().first != 0.0f || keys.back().first <= 0.0f)
        throw std::invalid_argument("animation '" + name + "' needs keys from 0 to a positive time");
    const CPose none;
    const CPose& from = base ? *base : none;
    CheckBoneNames(model, from);
    const std::vector<sds::CQuaternion> fromTurns = LocalTurns(model, from);
    std::vector<std::vector<sds::CQuaternion>> turns;
    for (const auto& key : keys) {
        CheckBoneNames(model, key.second);
        std::vector<sds::CQuaternion> local = LocalTurns(model, key.second);
        for (std::size_t bone = 0; bone < local.size(); ++bone) {
            local[bone] = fromTurns[bone].Inverse() * local[bone];
            local[bone].NormaliseQuaternion();
        }
        turns.push_back(local);
    }
    CAnimation animation;
    animation.m_Name = name;
    animation.m_Length = keys.back().first;
    for (std::size_t bone = 0; bone < model.m_Bones.size(); ++bone) {
        bool used = false;
        for (std::size_t k = 0; k < keys.size(); ++k)
            used = used || !IsIdentity(turns[k][bone]) || keys[k].second.m_Moves.count(model.m_Bones[bone].m_Name);
        if (!used)
            continue;
        CTrack track;
        track.m_Bone = static_cast<std::uint16_t>(bone);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            CKeyFrame frame;
            frame.m_Time = keys[k].first;
            frame.m_Rotate = turns[k][bone];
            const std::string& boneName = model.m_Bones[bone].m_Name;
            const auto move = keys[k].second.m_Moves.find(boneName);
            if (move != keys[k].second.m_Moves.end())
                frame.m_Translate = move->second;
            const auto fromMove = from.m_Moves.find(boneName);
            if (fromMove != from.m_Moves.end())
                frame.m_Translate -= fromMove->second;
            track.m_KeyFrames.push_back(frame);
        }
        animation.m_Tracks.push_back(track);
    }
    return animation;
}

CKeyedAnimation& CKeyedAnimation::Key(const std::string& bone, float time, const sds::CVector& translate,
                                      const sds::CQuaternion& rotate)
{
    const std::uint16_t index = m_Model.BoneIndex(bone);
    auto track = std::find_if(m_Animation.m_Tracks.begin(), m_Animation.m_Tracks.end(),
                              [index](const CTrack& t) { return t.m_Bone == index; });
    if (track == m_Animation.m_Tracks.end()) {
        m_Animation.m_Tracks.push_back(CTrack());
        track = m_Animation.m_Tracks.end() - 1;
        track->m_Bone = index;
    }
    CKeyFrame frame;
    frame.m_Time = time;
    frame.m_Translate = translate;
    frame.m_Rotate = rotate;
    track->m_KeyFrames.push_back(frame);
    m_Animation.m_Length = std::max(m_Animation.m_Length, time);
    return *this;
}

CAnimation CKeyedAnimation::Done()
{
    std::sort(m_Animation.m_Tracks.begin(), m_Animation.m_Tracks.end(),
              [](const CTrack& a, const CTrack& b) { return a.m_Bone < b.m_Bone; });
    for (CTrack& track : m_Animation.m_Tracks)
        std::stable_sort(track.m_KeyFrames.begin(), track.m_KeyFrames.end(),
                         [](const CKeyFrame& a, const CKeyFrame& b) { return a.m_Time < b.m_Time; });
    if (m_Animation.m_Length <= 0.0f)
        throw std::invalid_argument("animation '" + m_Animation.m_Name + "' has no length");
    return m_Animation;
}

sds::CQuaternion Turned(float degrees, const sds::CVector& axis)
{
    sds::CQuaternion q;
    q.FromAngleAxis(degrees * kPi / 180.0f, Normalised(axis));
    return q;
}

} // namespace meshgen
