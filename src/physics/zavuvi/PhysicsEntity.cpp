#include "physics/zavuvi/PhysicsEntity.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "physics/zavuvi/Exception.h"
#include "physics/zavuvi/LittleEndian.h"

namespace Zavuvi {

namespace {

namespace LE = LittleEndian;

constexpr std::size_t kVectorBytes = 12;
// Where a joint record keeps its two actor indices.
constexpr std::size_t kJointActorsOffset = 108;
constexpr std::size_t kMatrixBytes = 36;

// A cursor over the file's bytes that checks every read against the end and
// every count against what is left, and names the file and the offset when
// something does not fit.
class CReader
{
public:
    CReader(const std::uint8_t* data, std::size_t size, const std::string& name)
        : m_Data(data), m_Size(size), m_Name(name)
    {
    }

    std::size_t GetOffset() const { return m_Offset; }

    [[noreturn]] void Fail(const std::string& what, std::size_t offset) const
    {
        throw CException("Physics file '" + m_Name + "', offset " + std::to_string(offset) + ": " + what);
    }

    // Fails unless `count` records of `recordBytes` each still fit in the file.
    void Need(std::uint64_t count, std::uint64_t recordBytes, const char* what) const
    {
        const std::uint64_t left = m_Size - m_Offset;
        if (recordBytes > 0 && count > left / recordBytes)
            Fail(std::string("the file ends inside ") + what + " (" +
                     (count == 1 ? std::string() : std::to_string(count) + " x ") + std::to_string(recordBytes) +
                     " bytes needed, " + std::to_string(left) + " left)",
                 m_Offset);
    }

    const std::uint8_t* Take(std::size_t bytes, const char* what)
    {
        Need(1, bytes, what);
        const std::uint8_t* p = m_Data + m_Offset;
        m_Offset += bytes;
        return p;
    }

    std::int32_t Int(const char* what) { return LE::ReadI32(Take(4, what)); }
    std::uint32_t Word(const char* what) { return LE::ReadU32(Take(4, what)); }
    float Float(const char* what) { return LE::ReadF32(Take(4, what)); }
    bool Bool(const char* what) { return *Take(1, what) != 0; }
    std::uint16_t Short(const char* what) { return LE::ReadU16(Take(2, what)); }

    Vector3 Vector(const char* what)
    {
        const std::uint8_t* p = Take(kVectorBytes, what);
        return {LE::ReadF32(p), LE::ReadF32(p + 4), LE::ReadF32(p + 8)};
    }

    // Three vectors: the first, second and third column.
    Matrix Rotation(const char* what)
    {
        Matrix m;
        for (Vector3& column : m.m_Columns)
            column = Vector(what);
        return m;
    }

    template <std::size_t N>
    void Bytes(std::array<std::uint8_t, N>& out, const char* what)
    {
        const std::uint8_t* p = Take(N, what);
        std::copy(p, p + N, out.begin());
    }

    // A length-prefixed name of at most `capacity` bytes.
    std::string Name(std::size_t capacity, const char* what)
    {
        const std::size_t at = m_Offset;
        const std::int32_t length = Int(what);
        if (length < 0 || std::size_t(length) > capacity)
            Fail(std::string(what) + " is " + std::to_string(length) + " bytes long; " + std::to_string(capacity) +
                     " is the most",
                 at);
        const char* text = reinterpret_cast<const char*>(Take(std::size_t(length), what));
        // The name ends at its first zero byte, as the editor's fixed buffers end it.
        return std::string(text, std::find(text, text + length, '\0'));
    }

    // A count of records that take at least `recordBytes` each: never negative,
    // never more than the bytes left could hold.
    std::size_t Count(std::size_t recordBytes, const char* what)
    {
        const std::size_t at = m_Offset;
        const std::int32_t count = Int(what);
        if (count < 0)
            Fail(std::string(what) + " is negative (" + std::to_string(count) + ")", at);
        if (recordBytes > 0 && std::size_t(count) > (m_Size - m_Offset) / recordBytes)
            Fail(std::string(what) + " is " + std::to_string(count) + ", more than the " +
                     std::to_string(m_Size - m_Offset) + " bytes left can hold",
                 at);
        return std::size_t(count);
    }

private:
    const std::uint8_t* m_Data;
    std::size_t m_Size;
    std::size_t m_Offset = 0;
    const std::string& m_Name;
};

// The fewest bytes each record can take in a file of this version.
std::size_t MinShapeBytes(float version)
{
    std::size_t bytes = kMatrixBytes + kVectorBytes + 4 + 32 + 4 + kVectorBytes + 4 + 4 + 4 + 4 + 4 + 1 + 1;
    if (version >= kVersion12)
        bytes += 4 + 1 + 3; // mesh file name, flag D, flags C
    return bytes;
}

constexpr std::size_t kModelBytes = kMatrixBytes + kVectorBytes + 4 + 32 + 4 + kVectorBytes;

std::size_t MinActorBytes(float version)
{
    std::size_t bytes = 4 + 4 + 4 + 4 + kVectorBytes + 4 + 4 + 1 + 4 + 4 + 4 + 32 + 4 + 8 + kVectorBytes + kMatrixBytes;
    if (version >= kVersion11)
        bytes += 1;
    if (version >= kVersion12)
        bytes += 4 + 1 + 1;
    if (version >= kVersion13)
        bytes += 4;
    if (version >= kVersion14)
        bytes += 4 + 4 + kVectorBytes + kMatrixBytes + 1;
    return bytes;
}

PhysicsModel ReadModel(CReader& in)
{
    PhysicsModel model;
    model.m_Rotation = in.Rotation("a model's rotation");
    model.m_Position = in.Vector("a model's position");
    model.m_WordA = in.Word("a model record");
    in.Bytes(model.m_BlockB, "a model record");
    model.m_Name = in.Name(kModelNameSize, "a model's name");
    model.m_Scale = in.Vector("a model's scale");
    return model;
}

std::vector<PhysicsModel> ReadModels(CReader& in, const char* countName)
{
    std::vector<PhysicsModel> models(in.Count(kModelBytes, countName));
    for (PhysicsModel& model : models)
        model = ReadModel(in);
    return models;
}

std::vector<PhysicsLight> ReadLights(CReader& in, const char* countName)
{
    std::vector<PhysicsLight> lights(in.Count(PhysicsLight::kSize, countName));
    for (PhysicsLight& light : lights)
        in.Bytes(light.m_Raw, "a light record");
    return lights;
}

void ReadMeshData(CReader& in, float version, PhysicsMeshData& mesh)
{
    mesh.m_Convex = in.Bool("a mesh");
    const std::size_t countsAt = in.GetOffset();
    const std::int32_t vertices = in.Int("a mesh's vertex count");
    const std::int32_t triangles = in.Int("a mesh's triangle count");
    if (vertices < 0 || triangles < 0)
        in.Fail("a mesh has " + std::to_string(vertices) + " vertices and " + std::to_string(triangles) +
                    " triangles",
                countsAt);
    // Both arrays must fit in what is left before anything is allocated.
    in.Need(std::uint64_t(vertices) * 2 * kVectorBytes + std::uint64_t(triangles) * 6, 1,
            "a mesh's vertices and triangles");
    mesh.m_Vertices.resize(std::size_t(vertices));
    for (Vector3& v : mesh.m_Vertices)
        v = in.Vector("a mesh vertex");
    mesh.m_VertexVectors.resize(std::size_t(vertices));
    for (Vector3& v : mesh.m_VertexVectors)
        v = in.Vector("a mesh vertex vector");
    mesh.m_Triangles.resize(std::size_t(triangles) * 3);
    for (std::uint16_t& index : mesh.m_Triangles)
        index = in.Short("a mesh triangle");
    if (version >= kVersion12)
    {
        mesh.m_MeshFlag2 = in.Bool("a mesh's flags");
        mesh.m_MeshFlag1 = in.Bool("a mesh's flags");
    }
}

PhysicsShape ReadShape(CReader& in, float version)
{
    PhysicsShape shape;
    shape.m_Rotation = in.Rotation("a shape's rotation");
    shape.m_Position = in.Vector("a shape's position");
    shape.m_Kind = in.Int("a shape's kind");
    in.Bytes(shape.m_BlockA, "a shape record");
    shape.m_Group = in.Word("a shape's group");
    shape.m_Size = in.Vector("a shape's size");
    shape.m_Material = in.Word("a shape's material");
    shape.m_Density = in.Float("a shape's density");
    shape.m_Mass = in.Float("a shape's mass");
    shape.m_SkinWidth = in.Float("a shape's skin width");
    shape.m_Name = in.Name(kShapeNameSize, "a shape's name");
    if (version >= kVersion12)
        shape.m_MeshFile = in.Name(kMeshFileSize, "a shape's mesh file name");
    shape.m_FlagB = in.Bool("a shape record");
    shape.m_HasMesh = in.Bool("a shape record");
    shape.m_HasMeshData = version >= kVersion12 ? shape.m_Kind == SHAPE_KIND_MESH : shape.m_HasMesh;
    if (shape.m_HasMeshData)
        ReadMeshData(in, version, shape.m_Mesh);
    if (version >= kVersion12)
    {
        shape.m_FlagD = in.Bool("a shape record");
        in.Bytes(shape.m_FlagsC, "a shape record");
    }
    return shape;
}

std::vector<PhysicsShape> ReadShapes(CReader& in, float version, std::size_t count)
{
    std::vector<PhysicsShape> shapes;
    shapes.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        shapes.push_back(ReadShape(in, version));
    return shapes;
}

struct CActorOffsets
{
    std::size_t m_SkeletonIndex = 0;
};

PhysicsActor ReadActor(CReader& in, float version, CActorOffsets& offsets)
{
    PhysicsActor actor;
    const std::size_t shapeCountAt = in.GetOffset();
    const std::int32_t shapes = in.Int("an actor's shape count");
    const std::int32_t models = in.Int("an actor's model count");
    const std::int32_t lights = in.Int("an actor's light count");
    if (shapes < 0 || models < 0 || lights < 0)
        in.Fail("an actor has a negative count of shapes (" + std::to_string(shapes) + "), models (" +
                    std::to_string(models) + ") or lights (" + std::to_string(lights) + ")",
                shapeCountAt);
    actor.m_WordA = in.Word("an actor record");
    actor.m_Position = in.Vector("an actor's position");
    actor.m_WordB = in.Word("an actor record");
    actor.m_Group = in.Word("an actor's group");
    actor.m_Static = in.Bool("an actor record");
    actor.m_Density = in.Float("an actor's density");
    actor.m_AngularDamping = in.Float("an actor's angular damping");
    actor.m_LinearDamping = in.Float("an actor's linear damping");
    in.Bytes(actor.m_BlockC, "an actor record");
    actor.m_Mass = in.Float("an actor's mass");
    actor.m_SleepLinearVelocity = in.Float("an actor's sleep velocities");
    actor.m_SleepAngularVelocity = in.Float("an actor's sleep velocities");
    actor.m_VectorF = in.Vector("an actor record");
    actor.m_RotationD = in.Rotation("an actor record");
    if (version >= kVersion11)
        actor.m_ApplyVectorF = in.Bool("an actor record");
    if (version >= kVersion12)
    {
        actor.m_Name = in.Name(kActorNameSize, "an actor's name");
        actor.m_FlagE = in.Bool("an actor record");
        actor.m_NoGravity = in.Bool("an actor record");
    }
    if (version >= kVersion13)
        actor.m_SolverIterations = in.Int("an actor's solver iterations");
    if (version >= kVersion14)
    {
        offsets.m_SkeletonIndex = in.GetOffset();
        actor.m_SkeletonIndex = in.Int("an actor's skeleton index");
        actor.m_BoneName = in.Name(kBoneNameSize, "an actor's bone name");
        actor.m_ReferencePosition = in.Vector("an actor's reference position");
        actor.m_ReferenceRotation = in.Rotation("an actor's reference rotation");
        actor.m_BoneDriven = in.Bool("an actor record");
    }
    // Each count is bounded by the bytes left before anything is allocated.
    in.Need(std::uint64_t(shapes), MinShapeBytes(version), "an actor's shapes");
    actor.m_Shapes = ReadShapes(in, version, std::size_t(shapes));
    in.Need(std::uint64_t(models), kModelBytes, "an actor's models");
    actor.m_Models.resize(std::size_t(models));
    for (PhysicsModel& model : actor.m_Models)
        model = ReadModel(in);
    in.Need(std::uint64_t(lights), PhysicsLight::kSize, "an actor's lights");
    actor.m_Lights.resize(std::size_t(lights));
    for (PhysicsLight& light : actor.m_Lights)
        in.Bytes(light.m_Raw, "a light record");
    return actor;
}

} // namespace

void PhysicsEntity::Load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw CException("Could not open file: " + path);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw CException("Could not read file: " + path);
    LoadFromMemory(bytes.data(), bytes.size(), path);
}

void PhysicsEntity::LoadFromMemory(const std::uint8_t* data, std::size_t size, const std::string& name)
{
    *this = PhysicsEntity();
    PhysicsEntity entity;
    entity.m_FileName = name;
    CReader in(data, size, name);

    entity.m_Version = in.Float("the version");
    const float version = entity.m_Version;
    const std::size_t actorCount = in.Count(MinActorBytes(version), "the actor count");
    std::vector<CActorOffsets> actorOffsets(actorCount);
    entity.m_Actors.reserve(actorCount);
    for (std::size_t i = 0; i < actorCount; ++i)
        entity.m_Actors.push_back(ReadActor(in, version, actorOffsets[i]));

    if (version >= kVersion14)
        entity.m_SkeletonModels = ReadModels(in, "the skeleton count");

    const std::size_t jointSize = version >= kVersion12 ? PhysicsJoint::kSize : PhysicsJoint::kSizeBefore12;
    const std::size_t jointsAt = in.GetOffset() + 4;
    entity.m_Joints.resize(in.Count(jointSize, "the joint count"));
    for (PhysicsJoint& joint : entity.m_Joints)
        joint = PhysicsJoint::Decode(in.Take(jointSize, "a joint record"), jointSize);

    entity.m_JointsEx.resize(in.Count(PhysicsJointEx::kSize, "the extended joint count"));
    for (PhysicsJointEx& joint : entity.m_JointsEx)
        in.Bytes(joint.m_Raw, "an extended joint record");

    const std::size_t freeShapes = in.Count(MinShapeBytes(version), "the free shape count");
    entity.m_FreeShapes = ReadShapes(in, version, freeShapes);
    entity.m_FreeModels = ReadModels(in, "the free model count");
    entity.m_FreeLights = ReadLights(in, "the free light count");

    // Indices between records are checked once every record is known.
    for (std::size_t i = 0; i < actorCount; ++i)
    {
        const std::int32_t skeleton = entity.m_Actors[i].m_SkeletonIndex;
        if (skeleton < -1 || skeleton >= std::int32_t(entity.m_SkeletonModels.size()))
            in.Fail("actor " + std::to_string(i) + " names skeleton " + std::to_string(skeleton) + " of " +
                        std::to_string(entity.m_SkeletonModels.size()),
                    actorOffsets[i].m_SkeletonIndex);
    }
    for (std::size_t j = 0; j < entity.m_Joints.size(); ++j)
        for (int side = 0; side < 2; ++side)
        {
            const std::int32_t actor = entity.m_Joints[j].m_Actors[side];
            if (actor < -1 || actor >= std::int32_t(actorCount))
                in.Fail("joint " + std::to_string(j) + " names actor " + std::to_string(actor) + " of " +
                            std::to_string(actorCount),
                        jointsAt + j * jointSize + kJointActorsOffset + 4 * side);
        }
    *this = std::move(entity);
}

} // namespace Zavuvi
