#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "meshgen/MeshModel.h"

namespace meshgen {

// The bones that a physics source's "Bones" list gives a mesh (the one list of
// bone names the mesh and its physics file share), in bind pose: each bone
// where the actor that carries it rests, a bone of the mesh alone at its
// "Position"; no bone is turned. Throws std::invalid_argument for a source
// without such a list.
std::vector<CBone> ReadSkeleton(const std::string& sourceFile);

// Adds shapes to a model, each carried rigidly by one bone and coloured by one
// material. Positions are in model space, bind pose.
class CGeometryBuilder
{
public:
    explicit CGeometryBuilder(CMeshModel& model) : m_Model(model) {}

    // The material and the bone of the shapes that follow; without bones the
    // bone is ignored.
    void Use(const std::string& material, const std::string& bone = std::string());

    // Corners counter-clockwise seen from the front.
    void Quad(const sds::CVector& a, const sds::CVector& b, const sds::CVector& c, const sds::CVector& d);
    void Box(const sds::CVector& centre, const sds::CVector& half,
             const sds::CQuaternion& orientation = sds::CQuaternion::IDENTITY);
    // Rings from top to bottom; `keep`, when given, drops the triangles whose
    // centre it refuses (an opening).
    void Ellipsoid(const sds::CVector& centre, const sds::CVector& radii,
                   const sds::CQuaternion& orientation = sds::CQuaternion::IDENTITY, int rings = 10,
                   int segments = 16, bool (*keep)(const sds::CVector& local) = nullptr);
    // A tapered round tube between two points, closed at both ends.
    void Tube(const sds::CVector& from, const sds::CVector& to, float fromRadius, float toRadius,
              int segments = 12);
    void Sphere(const sds::CVector& centre, float radius) { Ellipsoid(centre, {radius, radius, radius}); }

private:
    CSubMesh& Current();
    std::uint16_t AddVertex(const sds::CVector& pos, const sds::CVector& normal, float u, float v);
    void AddTriangleIndices(std::uint16_t a, std::uint16_t b, std::uint16_t c);

    CMeshModel& m_Model;
    std::string m_Material = "Dravonkel/Default";
    std::uint16_t m_Bone = 0;
};

// A pose of a skeleton told by where its limbs point, in the model's axes. A
// bone that is aimed turns by the shortest arc from its rest axis (towards its
// first child, or its parent's axis for a bone without children) onto the
// direction; one that is not turns with its parent.
class CPose
{
public:
    CPose& Aim(const std::string& bone, const sds::CVector& direction);
    // A turn in model space, in place of an aim.
    CPose& Turn(const std::string& bone, const sds::CQuaternion& rotation);
    // Adds to the bone's bind position, in its parent's frame.
    CPose& Move(const std::string& bone, const sds::CVector& translate);

    std::map<std::string, sds::CVector> m_Aims;
    std::map<std::string, sds::CQuaternion> m_Turns;
    std::map<std::string, sds::CVector> m_Moves;
};

// The animation through the poses at their times (the first at 0, the last
// giving the length). It has tracks only for the bones that one of its poses
// turns or moves, so it blends with animations of the other bones. With a
// `base` it keys the change from that pose instead, for an animation played
// on top of another that holds the base.
CAnimation MakeAnimation(const CMeshModel& model, const std::string& name,
                         const std::vector<std::pair<float, CPose>>& keys, const CPose* base = nullptr);

// An animation keyed bone by bone, in each bone's own terms.
class CKeyedAnimation
{
public:
    CKeyedAnimation(const CMeshModel& model, const std::string& name) : m_Model(model) { m_Animation.m_Name = name; }
    CKeyedAnimation& Key(const std::string& bone, float time, const sds::CVector& translate,
                         const sds::CQuaternion& rotate = sds::CQuaternion::IDENTITY);
    // Tracks in bone order, keys in time order; the length is the last key's time.
    CAnimation Done();

private:
    const CMeshModel& m_Model;
    CAnimation m_Animation;
};

// A turn of `degrees` about an axis.
sds::CQuaternion Turned(float degrees, const sds::CVector& axis);

} // namespace meshgen
