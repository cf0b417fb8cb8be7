#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

#include "PhysicsFiles.h"
#include "physics/zavuvi/Exception.h"
#include "physics/zavuvi/LittleEndian.h"

using namespace test_files;
using Zavuvi::PhysicsEntity;
using sds::CVector;

namespace {

// A file that sets every field away from its default.
PhysicsEntity FullEntity()
{
    PhysicsEntity entity;
    Zavuvi::PhysicsActor body = Actor("Body", {1, 2, 3}, false, {Shape(Zavuvi::SHAPE_KIND_BOX, {1, 2, 3}, {1, 2, 3}),
                                                                 MeshShape({1, 3, 3}, true)});
    body.m_Shapes[0].m_Name = "Trunk";
    body.m_Shapes[1].m_Mesh.m_MeshFlag1 = true;
    body.m_Shapes[1].m_FlagD = true;
    body.m_Density = 2.0f;
    body.m_AngularDamping = 0.2f;
    body.m_LinearDamping = 0.3f;
    body.m_Mass = 4.0f;
    body.m_SleepLinearVelocity = 0.5f;
    body.m_VectorF = {1, 0, 0};
    body.m_ApplyVectorF = true;
    body.m_FlagE = true;
    body.m_NoGravity = true;
    body.m_SolverIterations = 9;
    body.m_SkeletonIndex = 0;
    body.m_BoneName = "Spine";
    body.m_ReferencePosition = {1, 2, 2};
    body.m_BoneDriven = true;
    Zavuvi::PhysicsModel arm;
    arm.m_Name = "arm.mesh";
    arm.m_Position = {0, 1, 0};
    body.m_Models.push_back(arm);
    body.m_Lights.resize(1);
    body.m_Lights[0].m_Raw[7] = 42;
    entity.m_Actors.push_back(body);
    entity.m_Actors.push_back(Actor("Floor", {0, 0, 0}, true, {Shape(Zavuvi::SHAPE_KIND_SPHERE, {}, {2, 0, 0})}));

    Zavuvi::PhysicsModel doll;
    doll.m_Name = "Doll";
    entity.m_SkeletonModels.push_back(doll);

    Zavuvi::PhysicsJoint neck = Joint(Zavuvi::JOINT_KIND_SPHERICAL, 0, 1, {1, 4, 3});
    neck.m_Name = "Neck";
    neck.m_LimitsEnabled = true;
    neck.m_LimitC = 45.0f;
    neck.m_MaxForce = 100.0f;
    neck.m_Springs[2] = {true, 0.1f, 10.0f, 1.0f};
    neck.m_Raw[40] = 7; // a reserved byte, carried
    entity.m_Joints.push_back(neck);
    entity.m_JointsEx.resize(1);
    entity.m_JointsEx[0].m_Raw[900] = 9;
    entity.m_FreeShapes.push_back(Shape(Zavuvi::SHAPE_KIND_CAPSULE, {5, 0, 0}, {1, 2, 0}));
    entity.m_FreeModels.push_back(arm);
    entity.m_FreeLights.resize(2);
    return entity;
}

PhysicsEntity ReadBack(const std::vector<std::uint8_t>& bytes)
{
    PhysicsEntity entity;
    entity.LoadFromMemory(bytes.data(), bytes.size(), "test.phs");
    return entity;
}

std::string ReadError(const std::vector<std::uint8_t>& bytes)
{
    try
    {
        ReadBack(bytes);
    }
    catch (const Zavuvi::CException& e)
    {
        return e.what();
    }
    return "(read without an error)";
}

} // namespace

// Each version holds the fields from its own version on and no others; the
// fields of every version come back as written.
TEST(PhysicsFile, EveryVersionReadsBackWithTheFieldsItHolds)
{
    const PhysicsEntity full = FullEntity();
    for (const float version : {1.0f, 1.1f, 1.2f, 1.3f, 1.35f, 1.4f})
    {
        SCOPED_TRACE(version);
        const PhysicsEntity e = ReadBack(phsgen::WritePhysicsFile(full, version));
        EXPECT_EQ(version, e.m_Version);
        ASSERT_EQ(2u, e.m_Actors.size());
        const Zavuvi::PhysicsActor& body = e.m_Actors[0];

        // Fields of every version.
        EXPECT_EQ(CVector(1, 2, 3), body.m_Position);
        EXPECT_FALSE(body.m_Static);
        EXPECT_TRUE(e.m_Actors[1].m_Static);
        EXPECT_EQ(2.0f, body.m_Density);
        EXPECT_EQ(0.2f, body.m_AngularDamping);
        EXPECT_EQ(0.3f, body.m_LinearDamping);
        EXPECT_EQ(4.0f, body.m_Mass);
        EXPECT_EQ(0.5f, body.m_SleepLinearVelocity);
        EXPECT_EQ(-1.0f, body.m_SleepAngularVelocity);
        EXPECT_EQ(CVector(1, 0, 0), body.m_VectorF);
        ASSERT_EQ(2u, body.m_Shapes.size());
        EXPECT_EQ("Trunk", body.m_Shapes[0].m_Name);
        EXPECT_EQ(CVector(1, 2, 3), body.m_Shapes[0].m_Size);
        EXPECT_TRUE(body.m_Shapes[1].m_HasMeshData); // kind 9 before 1.2 by its has-mesh byte, from 1.2 by its kind
        EXPECT_EQ(4u, body.m_Shapes[1].m_Mesh.m_Vertices.size());
        EXPECT_EQ(12u, body.m_Shapes[1].m_Mesh.m_Triangles.size());
        EXPECT_TRUE(body.m_Shapes[1].m_Mesh.m_Convex);
        ASSERT_EQ(1u, body.m_Models.size());
        EXPECT_EQ("arm.mesh", body.m_Models[0].m_Name);
        ASSERT_EQ(1u, body.m_Lights.size());
        EXPECT_EQ(42, body.m_Lights[0].m_Raw[7]);
        ASSERT_EQ(1u, e.m_Joints.size());
        const Zavuvi::PhysicsJoint& joint = e.m_Joints[0];
        EXPECT_EQ(Zavuvi::JOINT_KIND_SPHERICAL, joint.m_Kind);
        EXPECT_EQ(0, joint.m_Actors[0]);
        EXPECT_EQ(1, joint.m_Actors[1]);
        EXPECT_EQ(CVector(1, 4, 3), joint.m_Anchor);
        EXPECT_TRUE(joint.m_LimitsEnabled);
        EXPECT_EQ(45.0f, joint.m_LimitC);
        EXPECT_EQ(100.0f, joint.m_MaxForce);
        EXPECT_TRUE(joint.m_Springs[2].m_Enabled);
        EXPECT_EQ(10.0f, joint.m_Springs[2].m_Spring);
        EXPECT_EQ(7, joint.m_Raw[40]);
        ASSERT_EQ(1u, e.m_JointsEx.size());
        EXPECT_EQ(9, e.m_JointsEx[0].m_Raw[900]);
        ASSERT_EQ(1u, e.m_FreeShapes.size());
        EXPECT_EQ(Zavuvi::SHAPE_KIND_CAPSULE, e.m_FreeShapes[0].m_Kind);
        EXPECT_EQ(1u, e.m_FreeModels.size());
        EXPECT_EQ(2u, e.m_FreeLights.size());

        // From 1.1.
        EXPECT_EQ(version >= 1.1f, body.m_ApplyVectorF);
        // From 1.2: names, flags and the mesh file.
        const bool v12 = version >= 1.2f;
        EXPECT_EQ(v12 ? "Body" : "Actor", body.m_Name);
        EXPECT_EQ(v12 ? "Floor" : "Actor", e.m_Actors[1].m_Name);
        EXPECT_EQ(v12 ? "Neck" : "Joint", joint.m_Name);
        EXPECT_EQ(v12, body.m_FlagE);
        EXPECT_EQ(v12, body.m_NoGravity);
        EXPECT_EQ(v12 ? "old.cooked" : "", body.m_Shapes[1].m_MeshFile);
        EXPECT_EQ(v12, body.m_Shapes[1].m_Mesh.m_MeshFlag1);
        EXPECT_EQ(v12, body.m_Shapes[1].m_FlagD);
        // From 1.3.
        EXPECT_EQ(version >= 1.3f ? 9 : 4, body.m_SolverIterations);
        // From 1.4: skeletons.
        const bool v14 = version >= 1.4f;
        EXPECT_EQ(v14 ? 1u : 0u, e.m_SkeletonModels.size());
        EXPECT_EQ(v14 ? 0 : -1, body.m_SkeletonIndex);
        EXPECT_EQ(v14 ? "Spine" : "", body.m_BoneName);
        EXPECT_EQ(v14, body.m_BoneDriven);
        EXPECT_EQ(v14 ? CVector(1, 2, 2) : CVector(), body.m_ReferencePosition);
    }
}

TEST(PhysicsFile, MeshDataFollowsTheHasMeshByteBefore12AndTheKindFrom12)
{
    PhysicsEntity entity;
    Zavuvi::PhysicsShape meshWithout = Shape(Zavuvi::SHAPE_KIND_MESH, {}, {1, 1, 1}); // kind 9, has-mesh 0
    Zavuvi::PhysicsShape sphereFlagged = Shape(Zavuvi::SHAPE_KIND_SPHERE, {}, {1, 1, 1});
    sphereFlagged.m_HasMesh = true; // from 1.2 only the kind decides
    Zavuvi::PhysicsShape unnamed = Shape(Zavuvi::SHAPE_KIND_BOX, {}, {1, 1, 1});
    entity.m_Actors.push_back(Actor("", {}, false, {meshWithout, sphereFlagged, unnamed}));

    const PhysicsEntity v11 = ReadBack(phsgen::WritePhysicsFile(entity, 1.1f));
    EXPECT_FALSE(v11.m_Actors[0].m_Shapes[0].m_HasMeshData);
    EXPECT_FALSE(v11.m_Actors[0].m_Shapes[1].m_HasMeshData);

    const PhysicsEntity v12 = ReadBack(phsgen::WritePhysicsFile(entity, 1.2f));
    EXPECT_TRUE(v12.m_Actors[0].m_Shapes[0].m_HasMeshData); // an empty mesh
    EXPECT_TRUE(v12.m_Actors[0].m_Shapes[0].m_Mesh.m_Vertices.empty());
    EXPECT_TRUE(v12.m_Actors[0].m_Shapes[1].m_HasMesh);
    EXPECT_FALSE(v12.m_Actors[0].m_Shapes[1].m_HasMeshData);
    EXPECT_EQ("", v12.m_Actors[0].m_Name); // a name of length 0
    EXPECT_EQ(-1, v12.m_Actors[0].m_SkeletonIndex);
}

// Every way a file can lie about itself is refused with the file's name and
// the offset of the lie, and leaves nothing behind.
TEST(PhysicsFile, BadFilesAreRefusedWithTheirOffset)
{
    namespace LE = Zavuvi::LittleEndian;
    PhysicsEntity one;
    one.m_Actors.push_back(Actor("A", {}, false, {Shape(Zavuvi::SHAPE_KIND_BOX, {}, {1, 1, 1})}));
    one.m_SkeletonModels.resize(1);
    one.m_Joints.push_back(Joint(Zavuvi::JOINT_KIND_FIXED, 0, -1, {}));
    const std::vector<std::uint8_t> good = phsgen::WritePhysicsFile(one, 1.4f);
    ASSERT_NO_THROW(ReadBack(good));

    // Offsets in a 1.4 file of one actor: its record starts at 8, its name's
    // length at 8 + 141 + 1, its skeleton index after the name and the flags.
    const std::size_t nameAt = 150;
    const std::size_t skeletonAt = nameAt + 4 + 1 + 1 + 1 + 4;
    auto patched = [&](std::size_t offset, std::int32_t value) {
        std::vector<std::uint8_t> bytes = good;
        LE::WriteI32(bytes.data() + offset, value);
        return bytes;
    };
    const std::size_t jointsAt = good.size() - 4 * 4 - Zavuvi::PhysicsJoint::kSize;

    struct CCase
    {
        const char* m_Name;
        std::vector<std::uint8_t> m_Bytes;
        const char* m_Expected;
    };
    const CCase cases[] = {
        {"empty", {}, "offset 0: the file ends inside the version"},
        {"negative actor count", patched(4, -1), "offset 4: the actor count is negative (-1)"},
        {"huge actor count", patched(4, 0x7fffffff), "offset 4: the actor count is 2147483647, more than the"},
        {"negative shape count", patched(8, -3), "offset 8: an actor has a negative count of shapes (-3)"},
        {"huge shape count", patched(8, 100000), "the file ends inside an actor's shapes"},
        {"name past its buffer", patched(nameAt, 301), "offset 150: an actor's name is 301 bytes long; 300 is the most"},
        {"negative name length", patched(nameAt, -1), "offset 150: an actor's name is -1 bytes long"},
        {"skeleton out of range", patched(skeletonAt, 1), "offset 161: actor 0 names skeleton 1 of 1"},
        {"skeleton below -1", patched(skeletonAt, -2), "offset 161: actor 0 names skeleton -2 of 1"},
        {"joint actor out of range", patched(jointsAt + 108, 1), "joint 0 names actor 1 of 1"},
        {"joint world side out of range", patched(jointsAt + 112, -7), "joint 0 names actor -7 of 1"},
    };
    for (const CCase& c : cases)
    {
        const std::string error = ReadError(c.m_Bytes);
        EXPECT_NE(std::string::npos, error.find("Physics file 'test.phs', ")) << c.m_Name << ": " << error;
        EXPECT_NE(std::string::npos, error.find(c.m_Expected)) << c.m_Name << ": " << error;
    }
    EXPECT_NE(std::string::npos, ReadError(patched(jointsAt + 108, 1)).find("offset " + std::to_string(jointsAt + 108)));

    // A mesh whose counts promise more than the file holds.
    PhysicsEntity meshed;
    meshed.m_Actors.push_back(Actor("M", {}, true, {MeshShape({}, false)}));
    std::vector<std::uint8_t> bytes = phsgen::WritePhysicsFile(meshed, 1.4f);
    std::size_t vertexCountAt = 0;
    for (std::size_t i = 0; i + 8 <= bytes.size(); ++i)
        if (LE::ReadI32(&bytes[i]) == 4 && LE::ReadI32(&bytes[i + 4]) == 4 && bytes[i - 1] == 0)
            vertexCountAt = i;
    ASSERT_NE(0u, vertexCountAt);
    LE::WriteI32(&bytes[vertexCountAt], 0x7fffffff);
    EXPECT_NE(std::string::npos, ReadError(bytes).find("the file ends inside a mesh's vertices and triangles"));

    // A refused file leaves the entity empty.
    PhysicsEntity entity = ReadBack(good);
    EXPECT_THROW(entity.LoadFromMemory(good.data(), good.size() - 1, "cut.phs"), Zavuvi::CException);
    EXPECT_TRUE(entity.m_Actors.empty());
    EXPECT_TRUE(entity.m_Joints.empty());
}

// Every cut of a file short of its end is refused, never read past.
TEST(PhysicsFile, EveryTruncationIsRefused)
{
    for (const float version : {1.0f, 1.4f})
    {
        const std::vector<std::uint8_t> full = phsgen::WritePhysicsFile(FullEntity(), version);
        for (std::size_t size = 0; size < full.size(); ++size)
        {
            // A copy of exactly that size, so that the sanitizers see any overrun.
            const std::vector<std::uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(size));
            const std::string error = ReadError(cut);
            EXPECT_TRUE(error.find("the file ends inside") != std::string::npos ||
                        error.find("bytes left can hold") != std::string::npos)
                << version << " " << size << ": " << error;
        }
        // Bytes after the last record are ignored.
        std::vector<std::uint8_t> longer = full;
        longer.insert(longer.end(), {1, 2, 3});
        EXPECT_NO_THROW(ReadBack(longer));
    }
}

TEST(PhysicsFile, MissingFile)
{
    PhysicsEntity entity;
    try
    {
        entity.Load("no/such/file.phs");
        ADD_FAILURE();
    }
    catch (const Zavuvi::CException& e)
    {
        EXPECT_STREQ("Could not open file: no/such/file.phs", e.what());
    }
}

// The windsock the build writes is a 1.4 file with its two bones.
TEST(PhysicsFile, TheBuildWritesTheWindSock)
{
    PhysicsEntity entity;
    entity.Load("../data/physics/WindSock.phs");
    EXPECT_FLOAT_EQ(1.4f, entity.m_Version);
    ASSERT_EQ(1u, entity.m_SkeletonModels.size());
    std::vector<std::string> bones;
    for (const Zavuvi::PhysicsActor& actor : entity.m_Actors)
        if (actor.m_SkeletonIndex == 0)
            bones.push_back(actor.m_BoneName);
    EXPECT_EQ((std::vector<std::string>{"Twist", "Tail"}), bones);
}

// Rotations in a file may be slightly off, or hold nothing usable at all.
TEST(PhysicsFile, RotationsBecomeTheNearestQuaternion)
{
    sds::CQuaternion quarter;
    quarter.FromAngleAxis(1.5707964f, CVector::UNIT_Y);
    Zavuvi::Matrix skewed = Zavuvi::Matrix::FromQuaternion(quarter);
    skewed.m_Columns[0] = skewed.m_Columns[0] * 1.01f;
    Zavuvi::Matrix zero;
    for (CVector& column : zero.m_Columns)
        column = CVector::ZERO;
    Zavuvi::Matrix broken;
    broken.m_Columns[1].y = std::nanf("");

    const std::pair<Zavuvi::Matrix, sds::CQuaternion> cases[] = {
        {Zavuvi::Matrix(), sds::CQuaternion::IDENTITY},
        {skewed, quarter},
        {zero, sds::CQuaternion::IDENTITY},
        {broken, sds::CQuaternion::IDENTITY},
    };
    for (const auto& [matrix, expected] : cases)
    {
        const sds::CQuaternion q = matrix.ToQuaternion();
        EXPECT_NEAR(1.0f, std::fabs(q.w * expected.w + q.x * expected.x + q.y * expected.y + q.z * expected.z), 1e-4f)
            << q.w << " " << q.x << " " << q.y << " " << q.z;
    }
}
