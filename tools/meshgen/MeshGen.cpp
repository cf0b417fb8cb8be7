// Writes the project's general meshes, skeletons and textures through the
// rendering engine's serializers, with no window:
//   meshgen <mesh folder> <texture folder> <test folder>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>
#include <OGRE/OgreMeshSerializer.h>
#include <OGRE/OgreSkeletonSerializer.h>

#include "meshgen/MeshBuilder.h"
#include "meshgen/Textures.h"

namespace {

const char* const kGroup = "MeshGen";

// A three-bone chain (Root, Arm, Hand) over a box, with animations of known
// lengths: "Move" (2 s, Arm 2 m along +X), "Lift" (4 s, Arm 4 m along +Z),
// "Turn" (1 s, Hand a quarter turn about Y) and "Still" (length 0).
void SaveSkeletonTest(const std::string& folder)
{
    meshgen::CMeshDesc desc = meshgen::Cube("SkeletonTest.mesh");
    desc.m_Skeleton = "SkeletonTest.skeleton";
    desc.m_Bones = {{"Root", -1, Ogre::Vector3::ZERO}, {"Arm", 0, {0, 1, 0}}, {"Hand", 1, {0, 1, 0}}};
    Ogre::SkeletonPtr skeleton = meshgen::BuildSkeleton(desc, kGroup);
    Ogre::Bone* arm = skeleton->getBone("Arm");
    Ogre::Bone* hand = skeleton->getBone("Hand");
    auto track = [](Ogre::Animation* animation, unsigned short handle, Ogre::Bone* bone, float end,
                    const Ogre::Vector3& translate, const Ogre::Quaternion& rotate) {
        Ogre::NodeAnimationTrack* t = animation->createNodeTrack(handle, bone);
        t->createNodeKeyFrame(0.0f);
        Ogre::TransformKeyFrame* last = t->createNodeKeyFrame(end);
        last->setTranslate(translate);
        last->setRotation(rotate);
    };
    track(skeleton->createAnimation("Move", 2.0f), 1, arm, 2.0f, {2, 0, 0}, Ogre::Quaternion::IDENTITY);
    track(skeleton->createAnimation("Lift", 4.0f), 1, arm, 4.0f, {0, 0, 4}, Ogre::Quaternion::IDENTITY);
    track(skeleton->createAnimation("Turn", 1.0f), 2, hand, 1.0f, Ogre::Vector3::ZERO,
          Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y));
    skeleton->createAnimation("Still", 0.0f);
    meshgen::SaveMesh(desc, folder, kGroup);
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
    if (argc != 4) {
        std::cerr << "Usage: meshgen <mesh folder> <texture folder> <test folder>" << std::endl;
        return 2;
    }
    const std::string folder = argv[1];
    const std::string textureFolder = argv[2];
    const std::string testFolder = argv[3];
    try {
        auto* logs = new Ogre::LogManager();
        logs->createLog("meshgen.log", true, false, true);
        Ogre::Root root("", "", "");
        Ogre::DefaultHardwareBufferManager buffers;
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup(kGroup);

        for (const meshgen::CMeshDesc& mesh :
             {meshgen::Cube("Cube.mesh"), meshgen::Cube("cube.mesh"), meshgen::SimpleSphere(), meshgen::UnitArrow(),
              meshgen::Tree(), meshgen::Pine(), meshgen::Bush(), meshgen::Target(), meshgen::TrafficCone(),
              meshgen::Barrel(), meshgen::WindSock()})
            meshgen::SaveMesh(mesh, folder, kGroup);
        SaveSkeletonTest(testFolder);
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
