#include "meshgen/MeshDescription.h"

#include <cmath>

#include <OGRE/OgreMath.h>
#include <OGRE/OgreQuaternion.h>

namespace meshgen {

namespace {

const float kPi = Ogre::Math::PI;

} // namespace

void CGeometry::AddVertex(const Ogre::Vector3& pos, const Ogre::Vector3& normal, const Ogre::Vector2& uv)
{
    CMeshVertex vertex;
    vertex.m_Pos = pos;
    vertex.m_Normal = normal;
    vertex.m_Uv = uv;
    vertex.m_Bone = m_Bone;
    m_Vertices.push_back(vertex);
}

void CGeometry::AddQuad(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c, const Ogre::Vector3& d,
                        float u0, float v0, float u1, float v1)
{
    const Ogre::Vector3 normal = (b - a).crossProduct(c - a).normalisedCopy();
    const auto first = static_cast<std::uint32_t>(m_Vertices.size());
    AddVertex(a, normal, {u0, v0});
    AddVertex(b, normal, {u1, v0});
    AddVertex(c, normal, {u1, v1});
    AddVertex(d, normal, {u0, v1});
    for (std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u})
        m_Indices.push_back(first + i);
}

void CGeometry::AddTriangle(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c)
{
    const Ogre::Vector3 normal = (b - a).crossProduct(c - a).normalisedCopy();
    const auto first = static_cast<std::uint32_t>(m_Vertices.size());
    AddVertex(a, normal, {0, 1});
    AddVertex(b, normal, {1, 1});
    AddVertex(c, normal, {0.5f, 0});
    for (std::uint32_t i : {0u, 1u, 2u})
        m_Indices.push_back(first + i);
}

void CGeometry::AddBox(const Ogre::Vector3& low, const Ogre::Vector3& high, float uvScale)
{
    const Ogre::Vector3 p[8] = {{low.x, low.y, low.z},   {high.x, low.y, low.z},   {high.x, high.y, low.z},
                                {low.x, high.y, low.z},  {low.x, low.y, high.z},   {high.x, low.y, high.z},
                                {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    const Ogre::Vector3 size = high - low;
    auto tiles = [uvScale](float length) { return uvScale > 0 ? length / uvScale : 1.0f; };
    AddQuad(p[4], p[5], p[6], p[7], 0, tiles(size.y), tiles(size.x), 0); // +z
    AddQuad(p[1], p[0], p[3], p[2], 0, tiles(size.y), tiles(size.x), 0); // -z
    AddQuad(p[5], p[1], p[2], p[6], 0, tiles(size.y), tiles(size.z), 0); // +x
    AddQuad(p[0], p[4], p[7], p[3], 0, tiles(size.y), tiles(size.z), 0); // -x
    AddQuad(p[7], p[6], p[2], p[3], 0, tiles(size.z), tiles(size.x), 0); // +y
    AddQuad(p[0], p[1], p[5], p[4], 0, tiles(size.z), tiles(size.x), 0); // -y
}

void CGeometry::AddFrustum(const Ogre::Vector3& base, float bottomRadius, float topRadius, float height, int segments)
{
    const auto first = static_cast<std::uint32_t>(m_Vertices.size());
    const float slope = (bottomRadius - topRadius) / height;
    for (int s = 0; s <= segments; ++s) {
        const float angle = 2 * kPi * s / segments;
        const Ogre::Vector3 out(std::cos(angle), 0, -std::sin(angle));
        const Ogre::Vector3 normal = (out + Ogre::Vector3(0, slope, 0)).normalisedCopy();
        const float u = static_cast<float>(s) / segments;
        AddVertex(base + out * bottomRadius, normal, {u, 1});
        AddVertex(base + out * topRadius + Ogre::Vector3(0, height, 0), normal, {u, 0});
    }
    for (int s = 0; s < segments; ++s) {
        const std::uint32_t a = first + 2 * s;
        for (std::uint32_t i : {a, a + 2, a + 3, a, a + 3, a + 1})
            m_Indices.push_back(i);
    }
}

void CGeometry::AddDisc(const Ogre::Vector3& centre, float radius, int segments, bool up)
{
    const auto first = static_cast<std::uint32_t>(m_Vertices.size());
    const Ogre::Vector3 normal = up ? Ogre::Vector3::UNIT_Y : Ogre::Vector3::NEGATIVE_UNIT_Y;
    AddVertex(centre, normal, {0.5f, 0.5f});
    for (int s = 0; s <= segments; ++s) {
        const float angle = 2 * kPi * s / segments;
        const float x = std::cos(angle);
        const float z = -std::sin(angle);
        AddVertex(centre + Ogre::Vector3(x, 0, z) * radius, normal, {0.5f + 0.5f * x, 0.5f + 0.5f * z});
    }
    for (int s = 0; s < segments; ++s) {
        const std::uint32_t a = first + 1 + s;
        if (up)
            m_Indices.insert(m_Indices.end(), {first, a, a + 1});
        else
            m_Indices.insert(m_Indices.end(), {first, a + 1, a});
    }
}

void CGeometry::AddEllipsoid(const Ogre::Vector3& centre, const Ogre::Vector3& radii, int rings, int segments)
{
    const auto first = static_cast<std::uint32_t>(m_Vertices.size());
    for (int ring = 0; ring <= rings; ++ring) {
        const float theta = kPi * ring / rings;
        for (int segment = 0; segment <= segments; ++segment) {
            const float phi = 2 * kPi * segment / segments;
            const Ogre::Vector3 unit(std::sin(theta) * std::cos(phi), std::cos(theta), -std::sin(theta) * std::sin(phi));
            const Ogre::Vector3 normal = (unit / radii).normalisedCopy();
            AddVertex(centre + unit * radii, normal,
                      {static_cast<float>(segment) / segments, static_cast<float>(ring) / rings});
        }
    }
    for (int ring = 0; ring < rings; ++ring) {
        for (int segment = 0; segment < segments; ++segment) {
            const std::uint32_t a = first + ring * (segments + 1) + segment;
            const std::uint32_t b = a + segments + 1;
            m_Indices.insert(m_Indices.end(), {a, b, a + 1, b, b + 1, a + 1});
        }
    }
}

CGeometry& CMeshDesc::Part(const std::string& material)
{
    for (CMeshPart& sub : m_SubMeshes) {
        if (sub.m_Material == material)
            return sub.m_Geometry;
    }
    m_SubMeshes.push_back({material, CGeometry()});
    return m_SubMeshes.back().m_Geometry;
}

CMeshDesc Cube(const std::string& name)
{
    CMeshDesc mesh{name};
    mesh.Part("Dravonkel/Default").AddBox({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f});
    return mesh;
}

// One 1 m piece of the wall around a force-field area.
CMeshDesc BoundaryWall()
{
    CMeshDesc mesh{"BoundaryWall.mesh"};
    mesh.Part("DovuvUvozeVozediza/BoundaryWall").AddBox({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f});
    return mesh;
}

CMeshDesc SimpleSphere()
{
    CMeshDesc mesh{"SimpleSphere.mesh"};
    mesh.Part("Dravonkel/Default").AddEllipsoid(Ogre::Vector3::ZERO, Ogre::Vector3(0.5f), 12, 24);
    return mesh;
}

CMeshDesc UnitArrow()
{
    const float shaft = 0.02f;
    const float head = 0.06f;
    const float headStart = 0.8f;
    CMeshDesc mesh{"UnitArrow.mesh"};
    CGeometry& arrow = mesh.Part("Dravonkel/Arrow");
    arrow.AddBox({-shaft, 0.0f, -shaft}, {shaft, headStart, shaft});
    const Ogre::Vector3 tip(0.0f, 1.0f, 0.0f);
    const Ogre::Vector3 base[4] = {{-head, headStart, -head}, {head, headStart, -head}, {head, headStart, head},
                                   {-head, headStart, head}};
    for (int i = 0; i < 4; ++i)
        arrow.AddTriangle(base[(i + 1) % 4], base[i], tip);
    arrow.AddQuad(base[0], base[1], base[2], base[3]);
    return mesh;
}

CMeshDesc Tree()
{
    CMeshDesc mesh{"Tree.mesh"};
    CGeometry& bark = mesh.Part("Tree/Bark");
    bark.AddFrustum(Ogre::Vector3::ZERO, 0.35f, 0.22f, 4.0f, 8);
    bark.AddFrustum({0, 4.0f, 0}, 0.22f, 0.08f, 2.5f, 6);
    CGeometry& leaves = mesh.Part("Tree/Leaves");
    leaves.AddEllipsoid({0, 6.2f, 0}, {3.2f, 2.8f, 3.2f}, 8, 12);
    leaves.AddEllipsoid({1.6f, 5.0f, 0.6f}, {2.0f, 1.8f, 2.0f}, 6, 10);
    leaves.AddEllipsoid({-1.3f, 5.3f, -1.1f}, {2.1f, 1.9f, 2.1f}, 6, 10);
    leaves.AddEllipsoid({0.2f, 8.3f, -0.3f}, {1.8f, 1.6f, 1.8f}, 6, 10);
    return mesh;
}

CMeshDesc Pine()
{
    CMeshDesc mesh{"Pine.mesh"};
    mesh.Part("Tree/Bark").AddFrustum(Ogre::Vector3::ZERO, 0.3f, 0.1f, 3.0f, 8);
    CGeometry& needles = mesh.Part("Pine/Needles");
    const float tiers[3][3] = {{2.0f, 3.2f, 6.0f}, {5.5f, 2.5f, 5.0f}, {8.6f, 1.7f, 5.4f}};
    for (const auto& tier : tiers) {
        needles.AddFrustum({0, tier[0], 0}, tier[1], 0.05f, tier[2], 12);
        needles.AddDisc({0, tier[0], 0}, tier[1], 12, false);
    }
    return mesh;
}

CMeshDesc Bush()
{
    CMeshDesc mesh{"Bush.mesh"};
    CGeometry& leaves = mesh.Part("Bush/Leaves");
    leaves.AddEllipsoid({0, 0.9f, 0}, {1.3f, 1.0f, 1.3f}, 6, 10);
    leaves.AddEllipsoid({0.7f, 0.7f, 0.4f}, {0.8f, 0.7f, 0.8f}, 5, 8);
    return mesh;
}

CMeshDesc Target()
{
    CMeshDesc mesh{"Target.mesh"};
    mesh.Part("Target/Face").AddDisc({0, 0.06f, 0}, 5.0f, 48);
    mesh.Part("Target/Rim").AddFrustum(Ogre::Vector3::ZERO, 5.05f, 5.0f, 0.06f, 48);
    return mesh;
}

CMeshDesc ForceFieldTarget()
{
    // Seen from the side, as the force-field edition shows its scenes, the
    // disc on the ground is a line: a board of its face stands behind it.
    CMeshDesc mesh = Target();
    mesh.m_Name = "ForceFieldTarget.mesh";
    // Two sides in one plane, each seen only from its own side.
    mesh.Part("Target/Face").AddQuad({-5, 0, -5.5f}, {5, 0, -5.5f}, {5, 10, -5.5f}, {-5, 10, -5.5f});
    mesh.Part("Target/Rim").AddQuad({5, 0, -5.5f}, {-5, 0, -5.5f}, {-5, 10, -5.5f}, {5, 10, -5.5f});
    return mesh;
}

CMeshDesc TrafficCone()
{
    CMeshDesc mesh{"TrafficCone.mesh"};
    CGeometry& body = mesh.Part("TrafficCone/Body");
    body.AddFrustum({0, 0.04f, 0}, 0.17f, 0.03f, 0.71f, 16);
    body.AddDisc({0, 0.75f, 0}, 0.03f, 8);
    mesh.Part("TrafficCone/Base").AddBox({-0.2f, 0, -0.2f}, {0.2f, 0.04f, 0.2f});
    return mesh;
}

CMeshDesc Barrel()
{
    CMeshDesc mesh{"Barrel.mesh"};
    CGeometry& steel = mesh.Part("Barrel/Steel");
    steel.AddFrustum(Ogre::Vector3::ZERO, 0.29f, 0.29f, 0.9f, 20);
    steel.AddDisc({0, 0.9f, 0}, 0.29f, 20);
    steel.AddDisc(Ogre::Vector3::ZERO, 0.29f, 20, false);
    return mesh;
}

CMeshDesc WindSock()
{
    CMeshDesc mesh{"WindSock.mesh"};
    mesh.m_Skeleton = "WindSock.skeleton";
    mesh.m_Bones = {{"Mast", -1, Ogre::Vector3::ZERO}, {"Twist", 0, {0, 5, 0}}, {"Tail", 1, {-0.25f, 0, 0}}};
    CGeometry& metal = mesh.Part("WindSock/Mast");
    metal.m_Bone = 0;
    metal.AddFrustum(Ogre::Vector3::ZERO, 0.08f, 0.06f, 4.85f, 8);
    metal.m_Bone = 1;
    metal.AddEllipsoid({0, 5, 0}, Ogre::Vector3(0.12f), 4, 8);
    metal.AddBox({-0.27f, 4.97f, -0.02f}, {0.0f, 5.03f, 0.02f});
    // The sock lies along -x: a frustum about y, turned so that its axis runs
    // from the mouth at the ring's arm to the tail.
    CGeometry sock;
    sock.m_Bone = 2;
    sock.AddFrustum(Ogre::Vector3::ZERO, 0.2f, 0.09f, 1.4f, 12);
    const Ogre::Quaternion alongMinusX(Ogre::Degree(90), Ogre::Vector3::UNIT_Z);
    for (CMeshVertex& v : sock.m_Vertices) {
        v.m_Pos = alongMinusX * v.m_Pos + Ogre::Vector3(-0.25f, 5.0f, 0);
        v.m_Normal = alongMinusX * v.m_Normal;
    }
    mesh.Part("WindSock/Sock") = sock;
    return mesh;
}

CMeshDesc Hangar()
{
    const float width = 40.0f;
    const float depth = 30.0f;
    const float wall = 7.0f;
    const float rise = 5.0f;
    CMeshDesc mesh{"Hangar.mesh"};
    CGeometry& walls = mesh.Part("HomeField/HangarWall");
    const float x0 = -width / 2, x1 = width / 2, z0 = -depth / 2, z1 = depth / 2;
    walls.AddQuad({x1, 0, z1}, {x1, 0, z0}, {x1, wall, z0}, {x1, wall, z1}, 0, 1, depth / 4, 0);
    walls.AddQuad({x0, 0, z0}, {x0, 0, z1}, {x0, wall, z1}, {x0, wall, z0}, 0, 1, depth / 4, 0);
    walls.AddQuad({x1, 0, z0}, {x0, 0, z0}, {x0, wall, z0}, {x1, wall, z0}, 0, 1, width / 4, 0);
    // The front (+z) around the door, and both gable ends under the arch.
    const float door = 14.0f;
    walls.AddQuad({x0, 0, z1}, {-door, 0, z1}, {-door, wall, z1}, {x0, wall, z1}, 0, 1, (x1 - door) / 4, 0);
    walls.AddQuad({door, 0, z1}, {x1, 0, z1}, {x1, wall, z1}, {door, wall, z1}, 0, 1, (x1 - door) / 4, 0);
    CGeometry& roof = mesh.Part("HomeField/HangarRoof");
    const int arcs = 12;
    for (int i = 0; i < arcs; ++i) {
        auto at = [&](int k) {
            const float angle = kPi * k / arcs;
            return Ogre::Vector2(x1 * std::cos(angle), wall + rise * std::sin(angle));
        };
        const Ogre::Vector2 a = at(i), b = at(i + 1);
        roof.AddQuad({a.x, a.y, z1}, {a.x, a.y, z0}, {b.x, b.y, z0}, {b.x, b.y, z1}, 0, 1, depth / 4, 0);
        // The gables, one triangle fan each.
        walls.AddTriangle({0, wall, z1}, {a.x, a.y, z1}, {b.x, b.y, z1});
        walls.AddTriangle({0, wall, z0}, {b.x, b.y, z0}, {a.x, a.y, z0});
    }
    mesh.Part("HomeField/HangarDoor").AddQuad({-door, 0, z1 + 0.05f}, {door, 0, z1 + 0.05f}, {door, wall, z1 + 0.05f},
                                              {-door, wall, z1 + 0.05f}, 0, 1, 4, 0);
    return mesh;
}

CMeshDesc ClubHouse()
{
    const float width = 16.0f;
    const float depth = 9.0f;
    const float wall = 3.2f;
    const float ridge = 6.0f;
    CMeshDesc mesh{"ClubHouse.mesh"};
    const float x0 = -width / 2, x1 = width / 2, z0 = -depth / 2, z1 = depth / 2;
    mesh.Part("HomeField/ClubWall").AddBox({x0, 0, z0}, {x1, wall, z1}, 3.0f);
    CGeometry& walls = mesh.Part("HomeField/ClubWall");
    walls.AddTriangle({x1, wall, z1}, {x1, wall, z0}, {x1, ridge, 0});
    walls.AddTriangle({x0, wall, z0}, {x0, wall, z1}, {x0, ridge, 0});
    CGeometry& roof = mesh.Part("HomeField/ClubRoof");
    const float eave = 0.6f;
    roof.AddQuad({x0 - eave, wall - 0.3f, z1 + eave}, {x1 + eave, wall - 0.3f, z1 + eave}, {x1 + eave, ridge, 0},
                 {x0 - eave, ridge, 0}, 0, 2, width / 2, 0);
    roof.AddQuad({x1 + eave, wall - 0.3f, z0 - eave}, {x0 - eave, wall - 0.3f, z0 - eave}, {x0 - eave, ridge, 0},
                 {x1 + eave, ridge, 0}, 0, 2, width / 2, 0);
    CGeometry& windows = mesh.Part("HomeField/Window");
    for (float x : {-5.0f, -1.5f, 2.0f, 5.5f})
        windows.AddQuad({x - 0.8f, 1.0f, z1 + 0.03f}, {x + 0.8f, 1.0f, z1 + 0.03f}, {x + 0.8f, 2.3f, z1 + 0.03f},
                        {x - 0.8f, 2.3f, z1 + 0.03f});
    return mesh;
}

} // namespace meshgen
