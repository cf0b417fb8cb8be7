#include <string>
#include <vector>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>
#include <OGRE/OgreBillboard.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreSkeletonInstance.h>
#include <OGRE/OgreSkeletonManager.h>
#include <OGRE/OgreSubMesh.h>

#include "GeneratedObjectTests.h"
#include "OgreWorld.h"
#include "graphics/ogre/OgreRope.h"
#include "graphics/ogre/OgreTriangle.h"
#include "graphics/ogre/RibbonTrail.h"

namespace {

class OgreGeneratedObjectsTest : public ::testing::Test
{
protected:
    COgreTestEnvironment& Env() { return COgreTestEnvironment::Get(); }
    sds::IGfxMgr& Mgr() { return m_World.Mgr(); }

    // The floats of one vertex buffer of the mesh's first sub-mesh.
    static std::vector<float> ReadBuffer(const Ogre::MeshPtr& mesh, unsigned short source)
    {
        const Ogre::HardwareVertexBufferSharedPtr buffer =
            mesh->getSubMesh(0)->vertexData->vertexBufferBinding->getBuffer(source);
        std::vector<float> data(buffer->getSizeInBytes() / sizeof(float));
        buffer->readData(0, buffer->getSizeInBytes(), data.data());
        return data;
    }

    COgreWorld m_World;
};

} // namespace

TEST_F(OgreGeneratedObjectsTest, RopeIsATubeSkinnedToManualBones)
{
    sds::CGfxObjPtr rope = Mgr().CreateRope(4.0f, 0.02f, 4, Mgr().GetRootObject());
    const std::string meshName = dynamic_cast<wrappers::COgreRope&>(*rope).GetMeshName();
    const Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().getByName(meshName);
    ASSERT_TRUE(mesh);
    const Ogre::SubMesh* sub = mesh->getSubMesh(0);
    EXPECT_EQ(20u, sub->vertexData->vertexCount);
    EXPECT_EQ(108u, sub->indexData->indexCount);
    const std::vector<float> vertices = ReadBuffer(mesh, 0);
    for (unsigned vertex = 16; vertex < 20; ++vertex)
        EXPECT_FLOAT_EQ(-4.0f, vertices[6 * vertex + 1]);
    EXPECT_FLOAT_EQ(4.0f, ReadBuffer(mesh, 1)[2 * 19 + 1]);

    EXPECT_EQ(meshName + "_skeleton", mesh->getSkeletonName());
    Ogre::Entity* entity = Env().m_Level->getEntity(rope->GetEntityName());
    Ogre::SkeletonInstance* skeleton = entity->getSkeleton();
    ASSERT_EQ(6u, skeleton->getNumBones());
    EXPECT_EQ("RootBone", skeleton->getBone(0)->getName());
    for (unsigned short handle = 0; handle < 6; ++handle)
        EXPECT_TRUE(skeleton->getBone(handle)->isManuallyControlled()) << handle;
    EXPECT_EQ("Rope", entity->getSubEntity(0)->getMaterialName());

    // Node, mesh and skeleton go with the rope, once each.
    rope.reset();
    EXPECT_FALSE(Env().m_Level->hasSceneNode("_RopeNode1"));
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists(meshName));
    EXPECT_FALSE(Ogre::SkeletonManager::getSingleton().resourceExists(meshName + "_skeleton"));
    Env().RenderFrame();
}

TEST_F(OgreGeneratedObjectsTest, TriangleCarriesItsNormalAndBounds)
{
    const sds::CGfxObjPtr flat = Mgr().CreateTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, sds::CFourFloats());
    const Ogre::MeshPtr mesh =
        Ogre::MeshManager::getSingleton().getByName(dynamic_cast<wrappers::COgreTriangle&>(*flat).GetMeshName());
    const std::vector<float> vertices = ReadBuffer(mesh, 0);
    for (unsigned vertex = 0; vertex < 3; ++vertex)
        EXPECT_EQ(Ogre::Vector3(0, 0, 1), Ogre::Vector3(&vertices[6 * vertex + 3])) << vertex;
    EXPECT_EQ(std::vector<float>({0, 0, 1, 0, 0, 1}), ReadBuffer(mesh, 1));

    const sds::CGfxObjPtr tall = Mgr().CreateTriangle({0, 0, 0}, {2, 0, 0}, {0, 3, 1}, sds::CFourFloats());
    const Ogre::MeshPtr tallMesh =
        Ogre::MeshManager::getSingleton().getByName(dynamic_cast<wrappers::COgreTriangle&>(*tall).GetMeshName());
    EXPECT_EQ(Ogre::AxisAlignedBox(0, 0, 0, 2, 3, 1), tallMesh->getBounds());

    const sds::CGfxObjPtr line = Mgr().CreateTriangle({0, 0, 0}, {1, 1, 0}, {2, 2, 0}, sds::CFourFloats());
    const std::vector<float> lineVertices = ReadBuffer(
        Ogre::MeshManager::getSingleton().getByName(dynamic_cast<wrappers::COgreTriangle&>(*line).GetMeshName()), 0);
    EXPECT_NEAR(1.0f, Ogre::Vector3(&lineVertices[3]).length(), 1e-5f);
    Env().RenderFrame();
}

TEST_F(OgreGeneratedObjectsTest, KeylessTrailTakesTheDefaultsAndNoHead)
{
    const sds::CGfxObjPtr jumper = Mgr().CreateObject("Cube", nullptr);
    const auto trail = Mgr().CreateRibbonTrail(TestDialElement("<Trail/>"), Mgr().GetRootObject());
    trail->AddObject(jumper);
    const auto& wrapped = dynamic_cast<const wrappers::CRibbonTrail&>(*trail);
    const Ogre::RibbonTrail* ribbon = wrapped.GetTrail();
    EXPECT_EQ(1u, ribbon->getNumberOfChains());
    EXPECT_EQ(20u, ribbon->getMaxChainElements());
    EXPECT_FLOAT_EQ(400.0f, ribbon->getTrailLength());
    EXPECT_EQ("LightRibbonTrail", ribbon->getMaterialName());
    EXPECT_TRUE(ribbon->getUseVertexColours());
    EXPECT_TRUE(ribbon->getUseTextureCoords());
    EXPECT_EQ(0u, wrapped.GetHead()->getNumBillboards());
    EXPECT_EQ(Env().m_Level->getRootSceneNode(), ribbon->getParentSceneNode());
}

TEST_F(OgreGeneratedObjectsTest, IntensityDimsTheHeadsWithinTheirColours)
{
    const sds::CGfxObjPtr jumper = Mgr().CreateObject("Cube", nullptr);
    const auto trail = Mgr().CreateRibbonTrail(
        TestDialElement("<Trail HeadMaterial='BaseWhite' HeadWidth='2' HeadHeight='3'><Chain Index='0' "
                        "InitialColor='0.8 0.4 0.2 1' ColorChange='0 0 0 0.5' InitialWidth='0.3' WidthChange='0'/>"
                        "</Trail>"),
        Mgr().GetRootObject());
    trail->AddObject(jumper);
    const auto& wrapped = dynamic_cast<const wrappers::CRibbonTrail&>(*trail);
    Ogre::BillboardSet* head = wrapped.GetHead();
    ASSERT_EQ(1u, head->getNumBillboards());
    EXPECT_FLOAT_EQ(2.0f, head->getDefaultWidth());
    EXPECT_EQ(Env().m_Level->getSceneNode(jumper->GetName()), head->getParentSceneNode());
    for (int frame = 0; frame < 5; ++frame) {
        jumper->SetPos(sds::CVector(0, 0, -static_cast<float>(frame)));
        Env().RenderFrame();
    }
    ASSERT_GT(wrapped.GetTrail()->getNumChainElements(0), 0u);

    struct Case
    {
        float factor, expected;
    };
    for (const Case& c : {Case{2.0f, 1.0f}, Case{0.5f, 0.5f}, Case{-1.0f, 0.0f}, Case{1.0f, 1.0f}}) {
        trail->SetIntensity(c.factor);
        const Ogre::ColourValue expected = Ogre::ColourValue(0.8f, 0.4f, 0.2f, 1.0f) * c.expected;
        EXPECT_EQ(expected, wrapped.GetTrail()->getChainElement(0, 0).colour) << c.factor;
        EXPECT_EQ(expected, head->getBillboard(0)->getColour()) << c.factor;
    }

    trail->RemoveObject(jumper);
    EXPECT_FALSE(head->isAttached());
    EXPECT_EQ(0u, head->getNumBillboards());
}

TEST_F(OgreGeneratedObjectsTest, PictureOfARopeATriangleAndATrail)
{
    Ogre::SceneNode* eye = Env().m_Camera->getParentSceneNode();
    eye->setPosition(0, 1.0f, 7);
    eye->lookAt(Ogre::Vector3(0, 0.5f, 0), Ogre::Node::TS_WORLD);
    Ogre::Light* sun = Env().m_Level->createLight("Sun");
    sun->setType(Ogre::Light::LT_DIRECTIONAL);
    Ogre::SceneNode* sunNode = Env().m_Level->getRootSceneNode()->createChildSceneNode();
    sunNode->setDirection(Ogre::Vector3(-0.3f, -0.6f, -1.0f).normalisedCopy(), Ogre::Node::TS_WORLD);
    sunNode->attachObject(sun);

    // A line hanging from 3 m, its lower bones swung aside.
    const sds::CGfxObjPtr rope = Mgr().CreateRope(3.0f, 0.05f, 6, nullptr);
    rope->SetPos(sds::CVector(-1.5f, 3.0f, 0));
    const sds::CSkeletonPtr bones = rope->GetSkeleton();
    for (std::uint16_t handle = 2; handle <= 6; ++handle) {
        const float k = static_cast<float>(handle - 1);
        bones->GetJoint(handle)->SetPos(sds::CVector(0.06f * k * k, -0.5f * k, 0));
    }
    sds::CFourFloats orange;
    orange.ParseQuaternion("1,0.5,0,1");
    const sds::CGfxObjPtr mark = Mgr().CreateTriangle({0.5f, -0.5f, 0}, {2.0f, -0.5f, 0}, {1.25f, 0.8f, 0}, orange);

    const sds::CGfxObjPtr mover = Mgr().CreateObject(">novis", nullptr);
    mover->SetPos(sds::CVector(-2.5f, 1.8f, -1.0f));
    const auto trail = Mgr().CreateRibbonTrail(
        TestDialElement("<Trail TrailLength='6' MaxElements='40'><Chain Index='0' InitialColor='0.3 0.7 1 1' "
                        "ColorChange='0.3 0.3 0.3 0.3' InitialWidth='0.25' WidthChange='0.1'/></Trail>"),
        Mgr().GetRootObject());
    trail->AddObject(mover);
    for (int frame = 0; frame <= 30; ++frame) {
        const float t = frame / 30.0f;
        mover->SetPos(sds::CVector(-2.5f + 5.0f * t, 1.8f + 0.4f * std::sin(6.0f * t), -1.0f));
        Env().RenderFrame();
    }
    const std::string folder = std::string(SDS_TEST_ARTIFACT_DIR) + "/graphics";
    boost::filesystem::create_directories(folder);
    Env().m_Window->writeContentsToFile(folder + "/rope-triangle-trail.png");
    Env().m_Level->destroyLight(sun);
}
