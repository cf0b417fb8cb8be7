#include "phsgen/PhysicsFileWriter.h"

#include <fstream>
#include <stdexcept>

#include "physics/zavuvi/LittleEndian.h"
#include "physics/zavuvi/PhysicsEntity.h"

namespace phsgen {

namespace {

using namespace Zavuvi;

class CWriter
{
public:
    explicit CWriter(float version) : m_Version(version) {}

    bool From(float version) const { return m_Version >= version; }

    void Int(std::int32_t value)
    {
        std::uint8_t b[4];
        LittleEndian::WriteI32(b, value);
        Raw(b, 4);
    }
    void Word(std::uint32_t value)
    {
        std::uint8_t b[4];
        LittleEndian::WriteU32(b, value);
        Raw(b, 4);
    }
    void Float(float value)
    {
        std::uint8_t b[4];
        LittleEndian::WriteF32(b, value);
        Raw(b, 4);
    }
    void Short(std::uint16_t value)
    {
        std::uint8_t b[2];
        LittleEndian::WriteU16(b, value);
        Raw(b, 2);
    }
    void Bool(bool value) { m_Bytes.push_back(value ? 1 : 0); }
    void Vector(const Vector3& v)
    {
        Float(v.x);
        Float(v.y);
        Float(v.z);
    }
    void Rotation(const Matrix& m)
    {
        for (const Vector3& column : m.m_Columns)
            Vector(column);
    }
    void Name(const std::string& name, std::size_t capacity, const char* what)
    {
        if (name.size() > capacity)
            throw std::invalid_argument(std::string(what) + " '" + name + "' is longer than " +
                                        std::to_string(capacity) + " bytes");
        Int(std::int32_t(name.size()));
        Raw(name.data(), name.size());
    }
    template <class C>
    void Count(const C& container)
    {
        Int(std::int32_t(container.size()));
    }
    void Raw(const void* data, std::size_t size)
    {
        const auto* p = static_cast<const std::uint8_t*>(data);
        m_Bytes.insert(m_Bytes.end(), p, p + size);
    }

    std::vector<std::uint8_t> m_Bytes;

private:
    float m_Version;
};

void WriteModel(CWriter& out, const PhysicsModel& model)
{
    out.Rotation(model.m_Rotation);
    out.Vector(model.m_Position);
    out.Word(model.m_WordA);
    out.Raw(model.m_BlockB.data(), model.m_BlockB.size());
    out.Name(model.m_Name, kModelNameSize, "model name");
    out.Vector(model.m_Scale);
}

void WriteMeshData(CWriter& out, const PhysicsMeshData& mesh)
{
    if (mesh.m_VertexVectors.size() != mesh.m_Vertices.size() || mesh.m_Triangles.size() % 3 != 0)
        throw std::invalid_argument("a mesh needs one vertex vector per vertex and three indices per triangle");
    out.Bool(mesh.m_Convex);
    out.Count(mesh.m_Vertices);
    out.Int(std::int32_t(mesh.m_Triangles.size() / 3));
    for (const Vector3& v : mesh.m_Vertices)
        out.Vector(v);
    for (const Vector3& v : mesh.m_VertexVectors)
        out.Vector(v);
    for (std::uint16_t index : mesh.m_Triangles)
        out.Short(index);
    if (out.From(kVersion12))
    {
        out.Bool(mesh.m_MeshFlag2);
        out.Bool(mesh.m_MeshFlag1);
    }
}

void WriteShape(CWriter& out, const PhysicsShape& shape)
{
    out.Rotation(shape.m_Rotation);
    out.Vector(shape.m_Position);
    out.Int(shape.m_Kind);
    out.Raw(shape.m_BlockA.data(), shape.m_BlockA.size());
    out.Word(shape.m_Group);
    out.Vector(shape.m_Size);
    out.Word(shape.m_Material);
    out.Float(shape.m_Density);
    out.Float(shape.m_Mass);
    out.Float(shape.m_SkinWidth);
    out.Name(shape.m_Name, kShapeNameSize, "shape name");
    if (out.From(kVersion12))
        out.Name(shape.m_MeshFile, kMeshFileSize, "mesh file name");
    out.Bool(shape.m_FlagB);
    // Before 1.2 the has-mesh byte says whether mesh data follows; from 1.2 the
    // kind alone does, and the byte is only carried.
    if (!out.From(kVersion12))
    {
        out.Bool(shape.m_HasMeshData);
        if (shape.m_HasMeshData)
            WriteMeshData(out, shape.m_Mesh);
        return;
    }
    out.Bool(shape.m_HasMesh);
    if (shape.m_Kind == SHAPE_KIND_MESH)
        WriteMeshData(out, shape.m_HasMeshData ? shape.m_Mesh : PhysicsMeshData());
    out.Bool(shape.m_FlagD);
    out.Raw(shape.m_FlagsC.data(), shape.m_FlagsC.size());
}

void WriteActor(CWriter& out, const PhysicsActor& actor)
{
    out.Count(actor.m_Shapes);
    out.Count(actor.m_Models);
    out.Count(actor.m_Lights);
    out.Word(actor.m_WordA);
    out.Vector(actor.m_Position);
    out.Word(actor.m_WordB);
    out.Word(actor.m_Group);
    out.Bool(actor.m_Static);
    out.Float(actor.m_Density);
    out.Float(actor.m_AngularDamping);
    out.Float(actor.m_LinearDamping);
    out.Raw(actor.m_BlockC.data(), actor.m_BlockC.size());
    out.Float(actor.m_Mass);
    out.Float(actor.m_SleepLinearVelocity);
    out.Float(actor.m_SleepAngularVelocity);
    out.Vector(actor.m_VectorF);
    out.Rotation(actor.m_RotationD);
    if (out.From(kVersion11))
        out.Bool(actor.m_ApplyVectorF);
    if (out.From(kVersion12))
    {
        out.Name(actor.m_Name, kActorNameSize, "actor name");
        out.Bool(actor.m_FlagE);
        out.Bool(actor.m_NoGravity);
    }
    if (out.From(kVersion13))
        out.Int(actor.m_SolverIterations);
    if (out.From(kVersion14))
    {
        out.Int(actor.m_SkeletonIndex);
        out.Name(actor.m_BoneName, kBoneNameSize, "bone name");
        out.Vector(actor.m_ReferencePosition);
        out.Rotation(actor.m_ReferenceRotation);
        out.Bool(actor.m_BoneDriven);
    }
    for (const PhysicsShape& shape : actor.m_Shapes)
        WriteShape(out, shape);
    for (const PhysicsModel& model : actor.m_Models)
        WriteModel(out, model);
    for (const PhysicsLight& light : actor.m_Lights)
        out.Raw(light.m_Raw.data(), light.m_Raw.size());
}

} // namespace

std::vector<std::uint8_t> WritePhysicsFile(const Zavuvi::PhysicsEntity& entity, float version)
{
    CWriter out(version);
    out.Float(version);
    out.Count(entity.m_Actors);
    for (const PhysicsActor& actor : entity.m_Actors)
        WriteActor(out, actor);
    if (out.From(kVersion14))
    {
        out.Count(entity.m_SkeletonModels);
        for (const PhysicsModel& model : entity.m_SkeletonModels)
            WriteModel(out, model);
    }
    out.Count(entity.m_Joints);
    for (const PhysicsJoint& joint : entity.m_Joints)
    {
        if (out.From(kVersion12) && joint.m_Name.size() > kJointNameSize)
            throw std::invalid_argument("joint name '" + joint.m_Name + "' is longer than " +
                                        std::to_string(kJointNameSize) + " bytes");
        const auto bytes = joint.Encode();
        out.Raw(bytes.data(), out.From(kVersion12) ? PhysicsJoint::kSize : PhysicsJoint::kSizeBefore12);
    }
    out.Count(entity.m_JointsEx);
    for (const PhysicsJointEx& joint : entity.m_JointsEx)
        out.Raw(joint.m_Raw.data(), joint.m_Raw.size());
    out.Count(entity.m_FreeShapes);
    for (const PhysicsShape& shape : entity.m_FreeShapes)
        WriteShape(out, shape);
    out.Count(entity.m_FreeModels);
    for (const PhysicsModel& model : entity.m_FreeModels)
        WriteModel(out, model);
    out.Count(entity.m_FreeLights);
    for (const PhysicsLight& light : entity.m_FreeLights)
        out.Raw(light.m_Raw.data(), light.m_Raw.size());
    return std::move(out.m_Bytes);
}

void SavePhysicsFile(const Zavuvi::PhysicsEntity& entity, float version, const std::string& path)
{
    const std::vector<std::uint8_t> bytes = WritePhysicsFile(entity, version);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file)
        throw std::runtime_error("Could not write physics file '" + path + "'");
}

} // namespace phsgen
