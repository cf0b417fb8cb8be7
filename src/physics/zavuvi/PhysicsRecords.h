#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "physics/zavuvi/Matrix.h"

// The records of a physics-editor file as the reader keeps them. Fields that
// the program does not use are kept too, so that a file read and written again
// stays the same.
namespace Zavuvi {

// Versions from which fields are present; compared in single precision.
constexpr float kVersion11 = 1.1f;
constexpr float kVersion12 = 1.2f;
constexpr float kVersion13 = 1.3f;
constexpr float kVersion14 = 1.4f;

// The most bytes of each kind of name.
constexpr std::size_t kActorNameSize = 300;
constexpr std::size_t kBoneNameSize = 300;
constexpr std::size_t kJointNameSize = 300;
constexpr std::size_t kShapeNameSize = 400;
constexpr std::size_t kMeshFileSize = 400;
constexpr std::size_t kModelNameSize = 200;

// Shape kinds; any other value is a box.
enum EShapeKind : std::int32_t
{
    SHAPE_KIND_BOX = 0,
    SHAPE_KIND_SPHERE = 4,
    SHAPE_KIND_CAPSULE = 5,
    SHAPE_KIND_MESH = 9,
};

enum EJointKind : std::int32_t
{
    JOINT_KIND_REVOLUTE = 1,
    JOINT_KIND_SPHERICAL = 2,
    JOINT_KIND_CYLINDRICAL = 3,
    JOINT_KIND_PRISMATIC = 4,
    JOINT_KIND_FIXED = 5,
    JOINT_KIND_DISTANCE = 6,
    JOINT_KIND_POINT_ON_LINE = 7,
};

// The collision mesh a mesh shape carries.
struct PhysicsMeshData
{
    bool m_Convex = false;
    std::vector<Vector3> m_Vertices;
    std::vector<Vector3> m_VertexVectors; // a second vector per vertex
    std::vector<std::uint16_t> m_Triangles; // three vertex indices each
    bool m_MeshFlag2 = false; // from 1.2
    bool m_MeshFlag1 = false; // from 1.2
};

struct PhysicsShape
{
    Matrix m_Rotation;
    Vector3 m_Position; // in the file's frame
    std::int32_t m_Kind = SHAPE_KIND_BOX;
    std::array<std::uint8_t, 32> m_BlockA{};
    std::uint32_t m_Group = 0;    // low 16 bits: collision group
    Vector3 m_Size;               // box: edges; sphere: x diameter; capsule: x diameter, y height
    std::uint32_t m_Material = 0; // low 16 bits: material index
    float m_Density = 0.0f;
    float m_Mass = 0.0f;
    float m_SkinWidth = 0.0f;
    std::string m_Name;
    std::string m_MeshFile; // from 1.2: the cooked mesh of the editor's own engine
    bool m_FlagB = false;
    bool m_HasMesh = false; // the byte that decides on mesh data before 1.2
    bool m_HasMeshData = false;
    PhysicsMeshData m_Mesh;
    bool m_FlagD = false;                  // from 1.2
    std::array<std::uint8_t, 3> m_FlagsC{}; // from 1.2
};

// A graphical model or a skeleton placed in the file.
struct PhysicsModel
{
    Matrix m_Rotation;
    Vector3 m_Position;
    std::uint32_t m_WordA = 0;
    std::array<std::uint8_t, 32> m_BlockB{};
    std::string m_Name;
    Vector3 m_Scale = {1.0f, 1.0f, 1.0f};
};

// A joint record: its 612 bytes (312 before 1.2) as the file holds them, and
// the fields the program reads from them.
struct PhysicsJoint
{
    static constexpr std::size_t kSize = 612;
    static constexpr std::size_t kSizeBefore12 = 312;

    struct CSpring
    {
        bool m_Enabled = false;
        float m_Target = 0.0f;
        float m_Spring = 0.0f;
        float m_Damper = 0.0f;
    };

    // Reads the fields from `size` bytes (kSize or kSizeBefore12).
    static PhysicsJoint Decode(const std::uint8_t* bytes, std::size_t size);
    // The record's bytes: the kept bytes with the fields written over them.
    std::array<std::uint8_t, kSize> Encode() const;

    Vector3 m_Anchor; // in the file's frame
    Vector3 m_Normal;
    Vector3 m_Axis;
    std::int32_t m_Kind = 0;
    float m_LimitA = 0.0f; // degrees for angular kinds
    float m_LimitB = 0.0f;
    float m_LimitC = 0.0f;
    bool m_LimitsEnabled = false;
    std::int32_t m_Actors[2] = {-1, -1}; // -1: the world
    float m_MaxForce = 0.0f;  // used when above 0
    float m_MaxTorque = 0.0f; // used when above 0
    bool m_CollideConnected = false;
    std::int32_t m_ProjectionMode = 0;
    float m_ProjectionDistance = 0.0f;
    float m_ProjectionAngle = 0.0f;
    bool m_MotorEnabled = false;
    float m_Motor[2] = {0.0f, 0.0f};
    CSpring m_Springs[3];
    std::string m_Name = "Joint";
    // Every byte of the record, the reserved ones included.
    std::array<std::uint8_t, kSize> m_Raw{};
};

// A joint of the editor's extended kind: kept, never built.
struct PhysicsJointEx
{
    static constexpr std::size_t kSize = 908;
    std::array<std::uint8_t, kSize> m_Raw{};
};

// A light: kept and handed to the light hook, never built.
struct PhysicsLight
{
    static constexpr std::size_t kSize = 124;
    std::array<std::uint8_t, kSize> m_Raw{};
};

struct PhysicsActor
{
    std::uint32_t m_WordA = 0;
    Vector3 m_Position; // the actor's origin in the file's frame
    std::uint32_t m_WordB = 0;
    std::uint32_t m_Group = 0; // low 16 bits: the collision group of every shape
    bool m_Static = false;
    float m_Density = 1.0f;
    float m_AngularDamping = 0.05f;
    float m_LinearDamping = 0.0f;
    std::array<std::uint8_t, 32> m_BlockC{};
    float m_Mass = 0.0f;
    float m_SleepLinearVelocity = -1.0f;
    float m_SleepAngularVelocity = -1.0f;
    Vector3 m_VectorF; // the initial velocity when m_ApplyVectorF
    Matrix m_RotationD;
    bool m_ApplyVectorF = false; // from 1.1
    std::string m_Name = "Actor"; // from 1.2
    bool m_FlagE = false;         // from 1.2
    bool m_NoGravity = false;     // from 1.2
    std::int32_t m_SolverIterations = 4; // from 1.3
    std::int32_t m_SkeletonIndex = -1;   // from 1.4; -1: no skeleton
    std::string m_BoneName;              // from 1.4
    Vector3 m_ReferencePosition;         // from 1.4
    Matrix m_ReferenceRotation;          // from 1.4
    bool m_BoneDriven = false;           // from 1.4
    std::vector<PhysicsShape> m_Shapes;
    std::vector<PhysicsModel> m_Models;
    std::vector<PhysicsLight> m_Lights;
};

} // namespace Zavuvi
