#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreVector.h>

namespace meshgen {

struct CMeshVertex
{
    Ogre::Vector3 m_Pos;
    Ogre::Vector3 m_Normal;
    Ogre::Vector2 m_Uv;
    // Written only for geometry with m_Coloured.
    Ogre::ColourValue m_Colour = Ogre::ColourValue::White;
    // The bone the vertex follows, for meshes with a skeleton.
    std::uint16_t m_Bone = 0;
};

// Triangles of one material, built from simple solids.
class CGeometry
{
public:
    std::vector<CMeshVertex> m_Vertices;
    std::vector<std::uint32_t> m_Indices;
    // The bone of the vertices added next.
    std::uint16_t m_Bone = 0;
    // Whether the vertices carry their colours, which materials may take as
    // their diffuse and ambient colour.
    bool m_Coloured = false;
    // The triangles of each lower level of detail, m_LodDistances of the
    // mesh; a part without a level of its own draws all of m_Indices there.
    std::vector<std::vector<std::uint32_t>> m_LodIndices;

    void AddVertex(const Ogre::Vector3& pos, const Ogre::Vector3& normal, const Ogre::Vector2& uv);
    // A quad of four corners in counter-clockwise order seen from its front,
    // its texture from (u0, v0) at the first corner to (u1, v1) at the third.
    void AddQuad(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c, const Ogre::Vector3& d,
                 float u0 = 0, float v0 = 1, float u1 = 1, float v1 = 0);
    void AddTriangle(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c);
    // An axis-aligned box between two corners, faces outwards, each face
    // textured once over `uvScale` metres (0: once per face).
    void AddBox(const Ogre::Vector3& low, const Ogre::Vector3& high, float uvScale = 0);
    // The side of a frustum about the y axis from `base` up `height`, smooth,
    // u once round, v from the top (0) to the bottom (1).
    void AddFrustum(const Ogre::Vector3& base, float bottomRadius, float topRadius, float height, int segments);
    // A flat disc facing +y (or -y), its texture laid over it from above.
    void AddDisc(const Ogre::Vector3& centre, float radius, int segments, bool up = true);
    // An ellipsoid with the given half-axes, u round, v from the top.
    void AddEllipsoid(const Ogre::Vector3& centre, const Ogre::Vector3& radii, int rings, int segments);
};

struct CMeshPart
{
    std::string m_Material;
    CGeometry m_Geometry;
};

struct CMeshBone
{
    std::string m_Name;
    // Index of the parent bone, or -1 for a root.
    int m_Parent = -1;
    // Relative to the parent.
    Ogre::Vector3 m_Position = Ogre::Vector3::ZERO;
};

// A mesh as the project describes it: sub-meshes by material and, when it
// has bones, the skeleton named m_Skeleton. The mesh tool writes it to a file
// and tests build the same mesh in memory.
struct CMeshDesc
{
    explicit CMeshDesc(std::string name = "") : m_Name(std::move(name)) {}

    std::string m_Name;
    // A deque, so that the geometry Part hands out stays where it is.
    std::deque<CMeshPart> m_SubMeshes;
    std::string m_Skeleton;
    std::vector<CMeshBone> m_Bones;
    // The distances from which the lower levels of detail are drawn, rising.
    std::vector<float> m_LodDistances;

    // The geometry of that material, added after the others when new.
    CGeometry& Part(const std::string& material);
};

// The project's meshes. Lengths in metres, y up, standing on y = 0 unless said.
CMeshDesc Cube(const std::string& name);      // edge 1, centred
CMeshDesc BoundaryWall();                     // edge 1, centred: a piece of the wall round a force-field area
CMeshDesc SimpleSphere();                     // diameter 1, centred
CMeshDesc UnitArrow();                        // length 1 along +y
CMeshDesc Tree();                             // a broadleaf tree, 10 m
CMeshDesc Pine();                             // a conifer, 14 m
CMeshDesc Bush();                             // a shrub, 2 m
CMeshDesc Target();                           // the landing target, a disc of 5 m radius
CMeshDesc ForceFieldTarget();                 // the target with a board of its face behind it, facing +z
CMeshDesc TrafficCone();                      // 0.75 m
CMeshDesc Barrel();                           // an oil drum, 0.9 m
// A mast with a ring ("Twist", turning on top at 5 m) and a sock ("Tail")
// hanging from the ring's arm along -x, as the windsock's physics file has them.
CMeshDesc WindSock();
CMeshDesc Hangar();                           // 40 x 30 m with an arched roof
CMeshDesc ClubHouse();                        // 16 x 9 m with a pitched roof

} // namespace meshgen
