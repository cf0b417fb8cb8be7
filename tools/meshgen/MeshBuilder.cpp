#include "meshgen/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <OGRE/OgreBone.h>
#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreLodStrategy.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreMeshSerializer.h>
#include <OGRE/OgreSkeletonManager.h>
#include <OGRE/OgreSkeletonSerializer.h>
#include <OGRE/OgreSubMesh.h>

namespace meshgen {

namespace {

// Index data of the triangles over that many vertices; a new IndexData.
Ogre::IndexData* Indices(const std::vector<std::uint32_t>& triangles, std::size_t vertices)
{
    auto* data = new Ogre::IndexData();
    const bool wide = vertices > 0xFFFF;
    Ogre::HardwareIndexBufferSharedPtr indices = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        wide ? Ogre::HardwareIndexBuffer::IT_32BIT : Ogre::HardwareIndexBuffer::IT_16BIT, triangles.size(),
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    if (wide) {
        indices->writeData(0, indices->getSizeInBytes(), triangles.data(), true);
    } else {
        const std::vector<Ogre::uint16> narrow(triangles.begin(), triangles.end());
        indices->writeData(0, indices->getSizeInBytes(), narrow.data(), true);
    }
    data->indexBuffer = indices;
    data->indexCount = triangles.size();
    data->indexStart = 0;
    return data;
}

// The mesh's lower levels of detail, from the parts' own triangles.
void AddLodLevels(Ogre::Mesh& mesh, const CMeshDesc& desc)
{
    if (desc.m_LodDistances.empty())
        return;
    const auto levels = static_cast<unsigned short>(desc.m_LodDistances.size() + 1);
    mesh._setLodInfo(levels);
    for (unsigned short level = 1; level < levels; ++level) {
        Ogre::MeshLodUsage usage;
        usage.userValue = desc.m_LodDistances[level - 1];
        usage.value = mesh.getLodStrategy()->transformUserValue(usage.userValue);
        mesh._setLodUsage(level, usage);
        for (unsigned short i = 0; i < desc.m_SubMeshes.size(); ++i) {
            const CGeometry& part = desc.m_SubMeshes[i].m_Geometry;
            const auto& triangles = level <= part.m_LodIndices.size() ? part.m_LodIndices[level - 1] : part.m_Indices;
            mesh._setSubMeshLodFaceList(i, level, Indices(triangles, part.m_Vertices.size()));
        }
    }
}

void FillSubMesh(Ogre::SubMesh* sub, const CGeometry& geometry)
{
    sub->useSharedVertices = false;
    sub->vertexData = new Ogre::VertexData();
    sub->vertexData->vertexCount = geometry.m_Vertices.size();
    Ogre::VertexDeclaration* declaration = sub->vertexData->vertexDeclaration;
    size_t offset = 0;
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0).getSize();

    if (geometry.m_Coloured)
        offset += declaration->addElement(0, offset, Ogre::VET_UBYTE4_NORM, Ogre::VES_DIFFUSE).getSize();

    std::vector<unsigned char> data(offset * geometry.m_Vertices.size());
    unsigned char* out = data.data();
    for (const CMeshVertex& v : geometry.m_Vertices) {
        const float values[] = {v.m_Pos.x, v.m_Pos.y, v.m_Pos.z, v.m_Normal.x, v.m_Normal.y, v.m_Normal.z, v.m_Uv.x, v.m_Uv.y};
        std::memcpy(out, values, sizeof values);
        out += sizeof values;
        if (geometry.m_Coloured) {
            // Bytes in the order red, green, blue, alpha.
            for (float channel : {v.m_Colour.r, v.m_Colour.g, v.m_Colour.b, v.m_Colour.a})
                *out++ = static_cast<unsigned char>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255));
        }
    }
    Ogre::HardwareVertexBufferSharedPtr vertices = Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
        offset, geometry.m_Vertices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    vertices->writeData(0, vertices->getSizeInBytes(), data.data(), true);
    sub->vertexData->vertexBufferBinding->setBinding(0, vertices);

    delete sub->indexData;
    sub->indexData = Indices(geometry.m_Indices, geometry.m_Vertices.size());
}

} // namespace

Ogre::SkeletonPtr BuildSkeleton(const CMeshDesc& desc, const std::string& group)
{
    Ogre::SkeletonPtr skeleton = Ogre::SkeletonManager::getSingleton().create(desc.m_Skeleton, group, true);
    std::vector<Ogre::Bone*> bones;
    for (std::size_t i = 0; i < desc.m_Bones.size(); ++i) {
        const CMeshBone& bone = desc.m_Bones[i];
        Ogre::Bone* made = skeleton->createBone(bone.m_Name, static_cast<unsigned short>(i));
        if (bone.m_Parent >= 0)
            bones[bone.m_Parent]->addChild(made);
        made->setPosition(bone.m_Position);
        bones.push_back(made);
    }
    skeleton->setBindingPose();
    return skeleton;
}

Ogre::MeshPtr BuildMesh(const CMeshDesc& desc, const std::string& group)
{
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(desc.m_Name, group);
    mesh->setVertexBufferPolicy(Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    mesh->setIndexBufferPolicy(Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    Ogre::AxisAlignedBox bounds;
    for (const CMeshPart& part : desc.m_SubMeshes) {
        Ogre::SubMesh* sub = mesh->createSubMesh();
        // The serializer writes the name of a material that exists; the real
        // one comes from the scripts when the mesh is loaded.
        if (!Ogre::MaterialManager::getSingleton().resourceExists(part.m_Material, group))
            Ogre::MaterialManager::getSingleton().create(part.m_Material, group);
        sub->setMaterialName(part.m_Material, group);
        FillSubMesh(sub, part.m_Geometry);
        for (const CMeshVertex& v : part.m_Geometry.m_Vertices)
            bounds.merge(v.m_Pos);
        if (!desc.m_Bones.empty()) {
            for (std::size_t i = 0; i < part.m_Geometry.m_Vertices.size(); ++i) {
                Ogre::VertexBoneAssignment assignment;
                assignment.vertexIndex = static_cast<unsigned int>(i);
                assignment.boneIndex = part.m_Geometry.m_Vertices[i].m_Bone;
                assignment.weight = 1.0f;
                sub->addBoneAssignment(assignment);
            }
        }
    }
    AddLodLevels(*mesh, desc);
    mesh->_setBounds(bounds, false);
    mesh->_setBoundingSphereRadius(std::max(bounds.getMaximum().length(), bounds.getMinimum().length()));
    if (!desc.m_Bones.empty()) {
        if (!Ogre::SkeletonManager::getSingleton().resourceExists(desc.m_Skeleton, group))
            BuildSkeleton(desc, group);
        mesh->setSkeletonName(desc.m_Skeleton);
        mesh->_compileBoneAssignments();
    }
    return mesh;
}

void SaveMesh(const CMeshDesc& desc, const std::string& folder, const std::string& group)
{
    Ogre::MeshPtr mesh = BuildMesh(desc, group);
    if (!desc.m_Bones.empty())
        Ogre::SkeletonSerializer().exportSkeleton(
            Ogre::SkeletonManager::getSingleton().getByName(desc.m_Skeleton, group).get(),
            folder + "/" + desc.m_Skeleton);
    Ogre::MeshSerializer().exportMesh(mesh.get(), folder + "/" + desc.m_Name);
}

} // namespace meshgen
