// Writes the project's meshes, skeletons and textures through the rendering
// engine's serializers, with no window:
//   meshgen <mesh folder> <texture folder> <test folder> <physics sources folder>
// The skinned models (tools/meshgen/Models.h) take their bones from the rag
// dolls' physics sources.

#include <cmath>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>
#include <OGRE/OgreMeshSerializer.h>
#include <OGRE/OgreSkeletonSerializer.h>

#include "core/XmlFile.h"
#include "meshgen/MeshBuilder.h"
#include "meshgen/Models.h"
#include "meshgen/Textures.h"

namespace {

const char* const kGroup = "MeshGen";

struct CVertex
{
    Ogre::Vector3 m_Pos;
    Ogre::Vector3 m_Normal;
    Ogre::Vector2 m_Uv;
};

struct CGeometry
{
    std::vector<CVertex> m_Vertices;
    std::vector<Ogre::uint16> m_Indices;

    // A quad of four corners in counter-clockwise order seen from its front.
    void AddQuad(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c, const Ogre::Vector3& d)
    {
        const Ogre::Vector3 normal = (b - a).crossProduct(c - a).normalisedCopy();
        const auto first = static_cast<Ogre::uint16>(m_Vertices.size());
        m_Vertices.push_back({a, normal, {0, 1}});
        m_Vertices.push_back({b, normal, {1, 1}});
        m_Vertices.push_back({c, normal, {1, 0}});
        m_Vertices.push_back({d, normal, {0, 0}});
        for (int i : {0, 1, 2, 0, 2, 3})
            m_Indices.push_back(static_cast<Ogre::uint16>(first + i));
    }

    void AddTriangle(const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c)
    {
        const Ogre::Vector3 normal = (b - a).crossProduct(c - a).normalisedCopy();
        const auto first = static_cast<Ogre::uint16>(m_Vertices.size());
        m_Vertices.push_back({a, normal, {0, 1}});
        m_Vertices.push_back({b, normal, {1, 1}});
        m_Vertices.push_back({c, normal, {0.5f, 0}});
        for (int i : {0, 1, 2})
            m_Indices.push_back(static_cast<Ogre::uint16>(first + i));
    }

    // An axis-aligned box between two corners, faces outwards.
    void AddBox(const Ogre::Vector3& low, const Ogre::Vector3& high)
    {
        const Ogre::Vector3 p[8] = {
            {low.x, low.y, low.z},   {high.x, low.y, low.z},   {high.x, high.y, low.z},   {low.x, high.y, low.z},
            {low.x, low.y, high.z},  {high.x, low.y, high.z},  {high.x, high.y, high.z},  {low.x, high.y, high.z}};
        AddQuad(p[4], p[5], p[6], p[7]); // +z
        AddQuad(p[1], p[0], p[3], p[2]); // -z
        AddQuad(p[5], p[1], p[2], p[6]); // +x
        AddQuad(p[0], p[4], p[7], p[3]); // -x
        AddQuad(p[7], p[6], p[2], p[3]); // +y
        AddQuad(p[0], p[1], p[5], p[4]); // -y
    }
};
// A sub-mesh of its own vertices in one material.
Ogre::SubMesh* AddSubMesh(Ogre::Mesh& mesh, const CGeometry& geometry, const std::string& material)
{
    Ogre::SubMesh* sub = mesh.createSubMesh();
    sub->useSharedVertices = false;
    // The serializer writes the name of a material that exists; the real one
    // comes from the scripts when the mesh is loaded.
    if (!Ogre::MaterialManager::getSingleton().resourceExists(material, kGroup))
        Ogre::MaterialManager::getSingleton().create(material, kGroup);
    sub->setMaterialName(material, kGroup);
    sub->vertexData = new Ogre::VertexData();
    sub->vertexData->vertexCount = geometry.m_Vertices.size();
    Ogre::VertexDeclaration* declaration = sub->vertexData->vertexDeclaration;
    size_t offset = 0;
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0).getSize();

    std::vector<float> data;
    for (const CVertex& v : geometry.m_Vertices)
        data.insert(data.end(), {v.m_Pos.x, v.m_Pos.y, v.m_Pos.z, v.m_Normal.x, v.m_Normal.y, v.m_Normal.z,
                                 v.m_Uv.x, v.m_Uv.y});
    Ogre::HardwareVertexBufferSharedPtr vertices = Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
        offset, geometry.m_Vertices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    vertices->writeData(0, vertices->getSizeInBytes(), data.data(), true);
    sub->vertexData->vertexBufferBinding->setBinding(0, vertices);

    Ogre::HardwareIndexBufferSharedPtr indices = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        Ogre::HardwareIndexBuffer::IT_16BIT, geometry.m_Indices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    indices->writeData(0, indices->getSizeInBytes(), geometry.m_Indices.data(), true);
    sub->indexData->indexBuffer = indices;
    sub->indexData->indexCount = geometry.m_Indices.size();
    sub->indexData->indexStart = 0;
    return sub;
}
void Save(const Ogre::MeshPtr& mesh, const std::string& folder)
{
    Ogre::MeshSerializer().exportMesh(mesh.get(), folder + "/" + mesh->getName());
}
Ogre::Vector3 ToOgre(const sds::CVector& v)
{
    return Ogre::Vector3(v.x, v.y, v.z);
}

Ogre::Quaternion ToOgre(const sds::CQuaternion& q)
{
    return Ogre::Quaternion(q.w, q.x, q.y, q.z);
}

// Writes a model's mesh and, when it has bones, its skeleton: one sub-mesh per
// material, each vertex carried by its one bone.
void SaveModel(const meshgen::CMeshModel& model, const std::string& folder)
{
    const bool skinned = !model.m_Bones.empty();
    const std::string skeletonName = model.m_Name + ".skeleton";
    if (skinned) {
        Ogre::SkeletonPtr skeleton = Ogre::SkeletonManager::getSingleton().create(skeletonName, kGroup, true);
        for (std::size_t i = 0; i < model.m_Bones.size(); ++i) {
            const meshgen::CBone& desc = model.m_Bones[i];
            Ogre::Bone* bone = skeleton->createBone(desc.m_Name, static_cast<unsigned short>(i));
            if (desc.m_Parent >= 0)
                skeleton->getBone(static_cast<unsigned short>(desc.m_Parent))->addChild(bone);
            bone->setPosition(ToOgre(desc.m_Pos));
            bone->setOrientation(ToOgre(desc.m_Orientation));
        }
        skeleton->setBindingPose();
        for (const meshgen::CAnimation& desc : model.m_Animations) {
            Ogre::Animation* animation = skeleton->createAnimation(desc.m_Name, desc.m_Length);
            for (const meshgen::CTrack& trackDesc : desc.m_Tracks) {
                Ogre::NodeAnimationTrack* track =
                    animation->createNodeTrack(trackDesc.m_Bone, skeleton->getBone(trackDesc.m_Bone));
                for (const meshgen::CKeyFrame& key : trackDesc.m_KeyFrames) {
                    Ogre::TransformKeyFrame* frame = track->createNodeKeyFrame(key.m_Time);
                    frame->setTranslate(ToOgre(key.m_Translate));
                    frame->setRotation(ToOgre(key.m_Rotate));
                }
            }
        }
        Ogre::SkeletonSerializer().exportSkeleton(skeleton.get(), folder + "/" + skeletonName);
    }

    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(model.m_Name + ".mesh", kGroup);
    for (const meshgen::CSubMesh& subDesc : model.m_SubMeshes) {
        CGeometry geometry;
        for (const meshgen::CVertex& v : subDesc.m_Vertices)
            geometry.m_Vertices.push_back({ToOgre(v.m_Pos), ToOgre(v.m_Normal), {v.m_U, v.m_V}});
        geometry.m_Indices = subDesc.m_Indices;
        Ogre::SubMesh* sub = AddSubMesh(*mesh, geometry, subDesc.m_Material);
        if (skinned) {
            for (std::size_t i = 0; i < subDesc.m_Vertices.size(); ++i) {
                Ogre::VertexBoneAssignment assignment;
                assignment.vertexIndex = static_cast<unsigned int>(i);
                assignment.boneIndex = subDesc.m_Vertices[i].m_Bone;
                assignment.weight = 1.0f;
                sub->addBoneAssignment(assignment);
            }
        }
    }
    const sds::CBoundingBox bounds = model.Bounds();
    const Ogre::AxisAlignedBox box(ToOgre(bounds.m_Min), ToOgre(bounds.m_Max));
    mesh->_setBounds(box, false);
    mesh->_setBoundingSphereRadius(std::max(box.getMaximum().length(), box.getMinimum().length()));
    if (skinned) {
        mesh->setSkeletonName(skeletonName);
        mesh->_compileBoneAssignments();
    }
    Save(mesh, folder);
}

// A white texture: the fader and the loading bars tint it.
void SaveWhiteTexture(const std::string& folder)
{
    const size_t size = 8;
    std::vector<Ogre::uchar> pixels(size * size * 4, 255);
    Ogre::Image image;
    image.loadDynamicImage(pixels.data(), size, size, 1, Ogre::PF_A8R8G8B8);
    image.save(folder + "/White.dds");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "Usage: meshgen <mesh folder> <texture folder> <test folder> <physics sources folder>"
                  << std::endl;
        return 2;
    }
    const std::string folder = argv[1];
    const std::string textureFolder = argv[2];
    const std::string testFolder = argv[3];
    const std::string physicsSources = argv[4];
    // The XML layer's statistics are not worth a line in the build's output.
    xml::MessageHandler = [](const std::string&) {};
    try {
        auto* logs = new Ogre::LogManager();
        logs->createLog("meshgen.log", true, false, true);
        Ogre::Root root("", "", "");
        Ogre::DefaultHardwareBufferManager buffers;
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup(kGroup);

        for (const meshgen::CMeshDesc& mesh :
             {meshgen::Cube("Cube.mesh"), meshgen::Cube("cube.mesh"), meshgen::SimpleSphere(), meshgen::UnitArrow(),
              meshgen::Tree(), meshgen::Pine(), meshgen::Bush(), meshgen::Target(), meshgen::ForceFieldTarget(),
              meshgen::TrafficCone(),
              meshgen::Barrel(), meshgen::WindSock(), meshgen::BoundaryWall()})
            meshgen::SaveMesh(mesh, folder, kGroup);
        for (const meshgen::CMeshModel& model : meshgen::ProjectModels(physicsSources))
            SaveModel(model, folder);
        for (const meshgen::CMeshModel& model : meshgen::TestModels())
            SaveModel(model, testFolder);
        SaveWhiteTexture(textureFolder);
        meshgen::SaveObjectTextures(textureFolder);
        Ogre::MeshManager::getSingleton().removeAll();
        Ogre::SkeletonManager::getSingleton().removeAll();
    } catch (const std::exception& e) {
        std::cerr << "meshgen: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
