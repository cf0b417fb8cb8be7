#include "fuzz/physics/PhsReaderFuzz.h"

#include <cstdlib>

#include "fuzz/FuzzTarget.h"
#include "physics/zavuvi/Exception.h"
#include "physics/zavuvi/PhysicsEntity.h"
#include "phsgen/PhysicsFileWriter.h"

namespace sds {
namespace fuzz {

namespace {

void CheckMesh(const Zavuvi::PhysicsShape& shape)
{
    Check(shape.m_Mesh.m_VertexVectors.size() == shape.m_Mesh.m_Vertices.size());
    Check(shape.m_Mesh.m_Triangles.size() % 3 == 0);
    Check(shape.m_Name.size() <= Zavuvi::kShapeNameSize && shape.m_MeshFile.size() <= Zavuvi::kMeshFileSize);
}

void CheckIndices(const Zavuvi::PhysicsEntity& entity)
{
    const auto actors = std::int32_t(entity.m_Actors.size());
    const auto skeletons = std::int32_t(entity.m_SkeletonModels.size());
    for (const Zavuvi::PhysicsActor& actor : entity.m_Actors)
    {
        Check(actor.m_SkeletonIndex >= -1 && actor.m_SkeletonIndex < skeletons);
        Check(actor.m_Name.size() <= Zavuvi::kActorNameSize && actor.m_BoneName.size() <= Zavuvi::kBoneNameSize);
        for (const Zavuvi::PhysicsShape& shape : actor.m_Shapes)
            CheckMesh(shape);
    }
    for (const Zavuvi::PhysicsJoint& joint : entity.m_Joints)
        for (std::int32_t index : joint.m_Actors)
            Check(index >= -1 && index < actors);
    for (const Zavuvi::PhysicsShape& shape : entity.m_FreeShapes)
        CheckMesh(shape);
}

} // namespace

int FuzzPhsReader(const std::uint8_t* data, std::size_t size)
{
    Zavuvi::PhysicsEntity entity;
    try
    {
        entity.LoadFromMemory(data, size, "fuzz");
    }
    catch (const Zavuvi::CException&)
    {
        // A refused file leaves nothing behind.
        Check(entity.m_Actors.empty() && entity.m_Joints.empty());
        return 0;
    }
    CheckIndices(entity);

    // What was read is what a writer of that version puts down again.
    const std::vector<std::uint8_t> written = phsgen::WritePhysicsFile(entity, entity.m_Version);
    Zavuvi::PhysicsEntity again;
    again.LoadFromMemory(written.data(), written.size(), "fuzz again");
    Check(phsgen::WritePhysicsFile(again, again.m_Version) == written);
    Check(again.m_Actors.size() == entity.m_Actors.size() && again.m_Joints.size() == entity.m_Joints.size());
    return 0;
}

} // namespace fuzz
} // namespace sds

SDS_FUZZ_EXPORT(sds::fuzz::FuzzPhsReader)
