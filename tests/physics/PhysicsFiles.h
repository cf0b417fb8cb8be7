#pragma once

#include <string>
#include <vector>

#include "physics/zavuvi/PhysicsEntity.h"
#include "phsgen/PhysicsFileWriter.h"
#include "support/TempDir.h"

// Records of physics-editor files for the tests, built in code.
namespace test_files {

inline Zavuvi::PhysicsShape Shape(std::int32_t kind, const sds::CVector& position, const sds::CVector& size)
{
    Zavuvi::PhysicsShape shape;
    shape.m_Kind = kind;
    shape.m_Position = position;
    shape.m_Size = size;
    shape.m_Density = 1.0f;
    return shape;
}

// A shape of kind 9 carrying a mesh: a tetrahedron around `position`.
inline Zavuvi::PhysicsShape MeshShape(const sds::CVector& position, bool convex)
{
    Zavuvi::PhysicsShape shape = Shape(Zavuvi::SHAPE_KIND_MESH, position, {1, 1, 1});
    shape.m_HasMesh = true;
    shape.m_HasMeshData = true;
    shape.m_MeshFile = "old.cooked";
    shape.m_Mesh.m_Convex = convex;
    shape.m_Mesh.m_Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    shape.m_Mesh.m_VertexVectors.resize(4);
    shape.m_Mesh.m_Triangles = {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2};
    return shape;
}

inline Zavuvi::PhysicsActor Actor(const std::string& name, const sds::CVector& position, bool isStatic,
                                  std::vector<Zavuvi::PhysicsShape> shapes)
{
    Zavuvi::PhysicsActor actor;
    actor.m_Name = name;
    actor.m_Position = position;
    actor.m_Static = isStatic;
    actor.m_Shapes = std::move(shapes);
    return actor;
}

inline Zavuvi::PhysicsJoint Joint(std::int32_t kind, std::int32_t first, std::int32_t second,
                                  const sds::CVector& anchor)
{
    Zavuvi::PhysicsJoint joint;
    joint.m_Kind = kind;
    joint.m_Actors[0] = first;
    joint.m_Actors[1] = second;
    joint.m_Anchor = anchor;
    joint.m_Axis = {0, 1, 0};
    joint.m_Normal = {1, 0, 0};
    return joint;
}

// Writes the entity as a file of `version` in the folder and gives its path.
inline std::string Write(const CTempDir& dir, const std::string& name, const Zavuvi::PhysicsEntity& entity,
                         float version = Zavuvi::kVersion14)
{
    const std::string path = dir.File(name);
    phsgen::SavePhysicsFile(entity, version, path);
    return path;
}

} // namespace test_files
