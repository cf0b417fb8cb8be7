#include "WorldFixture.h"

#include <cfloat>
#include <cmath>
#include <fstream>

#include <boost/filesystem.hpp>

#include "PhysicsFiles.h"
#include "physics/PhyException.h"
#include "physics/PhyRagDoll.h"
#include "physics/ScyPhy.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IConvexMesh.h"
#include "physics/sdk/ITriangleMesh.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/IShape.h"
#include "physics/zavuvi/Exception.h"
#include "physics/ZavuviInsert.h"
#include "physics/ZavuviPhysicalObject.h"

using namespace test_files;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

// Ground (static), an empty actor, a crate with a model, a ball with a convex
// mesh, a static terrain of triangles, and a moving actor whose only shape is a
// triangle mesh; joints of every case that matters.
Zavuvi::PhysicsEntity SceneEntity()
{
    Zavuvi::PhysicsEntity e;
    e.m_Actors.push_back(Actor("Ground", {0, -0.5f, 0}, true, {Shape(0, {0, -0.5f, 0}, {20, 1, 20})}));
    Zavuvi::PhysicsActor crate = Actor("Crate", {0, 5, 0}, false,
                                       {Shape(0, {0, 5, 0}, {1, 1, 1}), Shape(Zavuvi::SHAPE_KIND_SPHERE, {0, 6, 0}, {0.5f, 0, 0})});
    crate.m_Mass = 2.0f;
    crate.m_AngularDamping = 0.4f;
    crate.m_NoGravity = true;
    Zavuvi::PhysicsModel box;
    box.m_Name = "crate.mesh";
    box.m_Position = {0, 5.5f, 0};
    crate.m_Models.push_back(box);
    e.m_Actors.push_back(crate);
    Zavuvi::PhysicsActor empty = Actor("Empty", {1, 1, 1}, false, {});
    empty.m_Models.push_back(box); // no shapes, no skeleton: nothing of it is built
    e.m_Actors.push_back(empty);
    Zavuvi::PhysicsActor ball = Actor("Ball", {3, 5, 0}, false, {MeshShape({3, 5, 0}, true)});
    ball.m_Group = 7;
    ball.m_Shapes[0].m_Group = 3;
    ball.m_Shapes[0].m_Material = 0x10002; // the low 16 bits count
    ball.m_VectorF = {0, 0, 2};
    ball.m_ApplyVectorF = true;
    e.m_Actors.push_back(ball);
    e.m_Actors.push_back(Actor("Terrain", {-5, 0, 0}, true, {MeshShape({-5, 0, 0}, false)}));
    e.m_Actors.push_back(Actor("Bad", {8, 0, 0}, false, {MeshShape({8, 0, 0}, false)}));

    e.m_Joints.push_back(Joint(Zavuvi::JOINT_KIND_FIXED, 0, 1, {0, 4.5f, 0}));     // static-dynamic: to the world
    e.m_Joints.push_back(Joint(Zavuvi::JOINT_KIND_SPHERICAL, 0, 4, {0, 0, 0}));    // static-static: skipped
    Zavuvi::PhysicsJoint rope = Joint(Zavuvi::JOINT_KIND_DISTANCE, 1, 3, {0, 5, 0});
    rope.m_LimitsEnabled = true;
    rope.m_LimitA = 1.0f;
    rope.m_LimitB = 4.0f;
    rope.m_MaxForce = 500.0f;
    e.m_Joints.push_back(rope);
    e.m_Joints.push_back(Joint(99, 1, 3, {}));                                     // no such kind
    e.m_Joints.push_back(Joint(Zavuvi::JOINT_KIND_REVOLUTE, -1, 3, {3, 5, 0}));   // world-dynamic
    e.m_Joints.push_back(Joint(Zavuvi::JOINT_KIND_FIXED, 2, 3, {}));              // an empty slot is the world
    return e;
}

sdk::IActor* ActorOf(const Zavuvi::PhysicalObject& object, std::size_t index)
{
    return object.m_Actors[index] ? object.m_Actors[index]->GetActor() : nullptr;
}

} // namespace

TEST_F(WorldTest, InsertingAFileBuildsItsActorsAndJoints)
{
    CTempDir dir;
    auto entity = std::make_shared<Zavuvi::PhysicsEntity>();
    entity->Load(Write(dir, "scene.phs", SceneEntity()));

    // Turned a quarter about y and moved 10 m along x.
    CQuaternion quarter;
    quarter.FromAngleAxis(1.5707964f, CVector::UNIT_Y);
    const auto object = Zavuvi::Insert(entity, {10, 0, 0}, quarter);

    ASSERT_EQ(6u, object->m_Actors.size());
    EXPECT_FALSE(object->m_Actors[2]); // no shapes
    EXPECT_FALSE(object->m_Actors[5]); // its triangle mesh cannot move
    EXPECT_TRUE(m_Log.HasContaining("shape '' of actor 'Bad' is a triangle mesh on a moving actor; left out"));
    EXPECT_TRUE(m_Log.HasContaining("actor 'Bad' has no shape left; not built"));

    sdk::IActor* crate = ActorOf(*object, 1);
    sdk::IActor* ball = ActorOf(*object, 3);
    ASSERT_TRUE(crate && ball);
    EXPECT_EQ(3, object->m_Actors[3]->m_Index); // indices kept past the empty slot
    EXPECT_VECTOR_NEAR(CVector(10, 5, 0), crate->GetGlobalPosition(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(10, 5, -3), ball->GetGlobalPosition(), 1e-5f);
    const CQuaternion turned = crate->GetGlobalOrientation();
    EXPECT_NEAR(1.0f, std::fabs(turned.w * quarter.w + turned.x * quarter.x + turned.y * quarter.y + turned.z * quarter.z),
                1e-5f);
    EXPECT_NEAR(2.0f, crate->GetMass(), 1e-5f);
    EXPECT_NEAR(0.4f, crate->GetAngularDamping(), 1e-6f);
    EXPECT_TRUE(crate->ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));
    EXPECT_FALSE(ball->ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));
    EXPECT_FALSE(ActorOf(*object, 0)->IsDynamic());

    // Shapes: the crate's sphere sits 1 m above it in its own frame.
    ASSERT_EQ(2u, crate->GetShapes().size());
    EXPECT_EQ(sdk::SHAPE_BOX, crate->GetShapes()[0]->GetType());
    EXPECT_VECTOR_NEAR(CVector(0.5f, 0.5f, 0.5f), crate->GetShapes()[0]->GetDimensions(), 1e-6f);
    EXPECT_EQ(sdk::SHAPE_SPHERE, crate->GetShapes()[1]->GetType());
    EXPECT_FLOAT_EQ(0.25f, crate->GetShapes()[1]->GetRadius());
    EXPECT_VECTOR_NEAR(CVector(0, 1, 0), crate->GetShapes()[1]->GetLocalPosition(), 1e-6f);
    // The mesh shapes are made of the mesh data the file carries.
    const sdk::IShape& convex = *ball->GetShapes()[0];
    EXPECT_EQ(sdk::SHAPE_CONVEX, convex.GetType());
    EXPECT_EQ(4u, convex.GetConvexMesh()->GetVertexCount());
    EXPECT_EQ(7, convex.GetGroup()); // the actor's group replaces the shape's
    EXPECT_EQ(2, convex.GetMaterial());
    EXPECT_VECTOR_NEAR(CVector(2, 0, 0), ball->GetLinearVelocity(), 1e-5f); // turned with the file
    const sdk::IShape& terrain = *ActorOf(*object, 4)->GetShapes()[0];
    EXPECT_EQ(sdk::SHAPE_TRIANGLE_MESH, terrain.GetType());
    EXPECT_EQ(4u, terrain.GetTriangleMesh()->GetTriangleCount());

    // Joints: to the world for the static ground and the empty slot, none
    // between two static actors or of an unknown kind.
    ASSERT_EQ(4u, object->m_Joints.size());
    const sdk::IJoint& weld = *object->m_Joints[0];
    EXPECT_EQ(sdk::JOINT_FIXED, weld.GetType());
    EXPECT_EQ(nullptr, weld.GetActor(0));
    EXPECT_EQ(crate, weld.GetActor(1));
    const sdk::IJoint& rope = *object->m_Joints[1];
    EXPECT_EQ(sdk::JOINT_DISTANCE, rope.GetType());
    float maxForce = 0, maxTorque = 0;
    rope.GetBreakable(maxForce, maxTorque);
    EXPECT_EQ(500.0f, maxForce);
    EXPECT_EQ(FLT_MAX, maxTorque); // 0 in the file: unbreakable
    EXPECT_EQ(sdk::JOINT_REVOLUTE, object->m_Joints[2]->GetType());
    EXPECT_EQ(nullptr, object->m_Joints[2]->GetActor(0));
    EXPECT_EQ(nullptr, object->m_Joints[3]->GetActor(0));
    EXPECT_EQ(ball, object->m_Joints[3]->GetActor(1));

    // Place moves every built actor to the file's frame at a new pose.
    Zavuvi::Place(*object, {0, 100, 0}, Zavuvi::Matrix());
    EXPECT_VECTOR_NEAR(CVector(0, 105, 0), crate->GetGlobalPosition(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(3, 105, 0), ball->GetGlobalPosition(), 1e-5f);

    // Going, the object takes its actors and joints with it.
    const std::size_t actors = m_World->GetScene().GetActors().size();
    const_cast<std::shared_ptr<Zavuvi::PhysicalObject>&>(object).reset();
    EXPECT_EQ(actors - 4, m_World->GetScene().GetActors().size());
    EXPECT_THROW(Zavuvi::Insert(nullptr, {}, {}), std::runtime_error);
}

TEST_F(WorldTest, TheFileStoreReadsEachFileOnceAndReportsItsObjects)
{
    CTempDir dir;
    const std::string path = Write(dir, "scene.phs", SceneEntity());
    physics::CZavuviInstancer& store = m_World->GetInstancer();

    std::vector<std::pair<std::string, std::shared_ptr<physics::IPhyObj>>> models;
    auto keep = [&models](const std::string& name, const std::shared_ptr<physics::IPhyObj>& object) {
        models.emplace_back(name, object);
    };
    m_World->LoadScyPhy(path, {0, 0, 10}, CQuaternion::IDENTITY, keep, nullptr, "Grass");
    ASSERT_EQ(1u, models.size()); // the empty actor's model is not built
    EXPECT_EQ("crate.mesh", models[0].first);
    auto crateModel = std::dynamic_pointer_cast<physics::CScyPhy>(models[0].second);
    ASSERT_TRUE(crateModel);
    EXPECT_VECTOR_NEAR(CVector(0, 5.5f, 10), crateModel->GetPos(), 1e-5f);
    crateModel->SetPos({1, 20, 1}); // moves the crate itself
    EXPECT_VECTOR_NEAR(CVector(1, 20.5f, 1), crateModel->GetPos(), 1e-5f);

    // The material was set on every shape; the model keeps the object alive.
    const std::size_t actors = m_World->GetScene().GetActors().size();
    int grass = 0;
    for (sdk::IActor* actor : m_World->GetScene().GetActors())
        for (sdk::IShape* shape : actor->GetShapes())
            grass += shape->GetMaterial() == m_World->GetMaterialIndex("Grass");
    EXPECT_EQ(5, grass);

    // A second load of the path reads nothing from disk, and builds anew.
    boost::filesystem::remove(path);
    m_World->LoadScyPhy(path, {}, CQuaternion::IDENTITY, nullptr, nullptr, "");
    EXPECT_EQ(1u, store.GetFileCount());
    EXPECT_EQ(actors, m_World->GetScene().GetActors().size()); // nothing held it
    EXPECT_EQ(nullptr, m_World->CreateScyPhy(path, {}, CQuaternion::IDENTITY, nullptr)); // no skeleton, no rag doll
    models.clear();
    crateModel.reset();
    EXPECT_EQ(actors - 4, m_World->GetScene().GetActors().size());
}

// A hinge along the file's x axis, inserted turned a quarter about z: it now
// turns about the world's y axis, within its limits, and about nothing else.
TEST_F(WorldTest, AJointTurnsWithTheFileItIsInsertedWith)
{
    CTempDir dir;
    Zavuvi::PhysicsEntity door;
    door.m_Actors.push_back(Actor("Leaf", {0, 0, 1}, false, {Shape(0, {0, 0, 1}, {0.1f, 0.1f, 1.0f})}));
    door.m_Actors[0].m_NoGravity = true;
    door.m_Actors[0].m_Mass = 5.0f;
    Zavuvi::PhysicsJoint hinge = Joint(Zavuvi::JOINT_KIND_REVOLUTE, -1, 0, {0, 0, 0});
    hinge.m_Axis = {1, 0, 0};
    hinge.m_Normal = {0, 0, 1};
    hinge.m_LimitsEnabled = true;
    hinge.m_LimitA = -30.0f;
    hinge.m_LimitB = 30.0f;
    door.m_Joints.push_back(hinge);
    CQuaternion quarter;
    quarter.FromAngleAxis(1.5707964f, CVector::UNIT_Z);
    auto entity = std::make_shared<Zavuvi::PhysicsEntity>();
    entity->Load(Write(dir, "door.phs", door));
    const std::shared_ptr<Zavuvi::PhysicalObject> object = Zavuvi::Insert(entity, {5, 0, 0}, quarter);
    sdk::IActor* leaf = ActorOf(*object, 0);
    ASSERT_TRUE(leaf);
    ASSERT_EQ(1u, object->m_Joints.size());

    // Pushed across and up: it swings about world y alone, and stops at 30 degrees.
    float widest = 0.0f;
    for (int i = 0; i < 120; ++i)
    {
        leaf->AddForceAtLocalPos({20, 20, 0}, {0, 0, 1});
        Frames(1, 0.02f);
        const CVector arm = leaf->GetGlobalPosition() - CVector(5, 0, 0);
        EXPECT_NEAR(0.0f, arm.y, 0.03f); // free, the push would lift it a metre
        widest = std::max(widest, std::atan2(arm.x, arm.z));
    }
    EXPECT_NEAR(30.0f * float(M_PI) / 180.0f, widest, 0.03f);
}

// A skeleton actor without shapes builds no actor: its model stays where the
// file put it, and its skeleton's rag doll has no bones.
TEST_F(WorldTest, AModelWithoutAnActorKeepsItsPlace)
{
    CTempDir dir;
    Zavuvi::PhysicsEntity rig;
    rig.m_SkeletonModels.resize(1);
    rig.m_SkeletonModels[0].m_Name = "Rig";
    Zavuvi::PhysicsActor socket = Actor("Socket", {1, 2, 3}, false, {});
    socket.m_SkeletonIndex = 0;
    socket.m_BoneName = "Socket";
    Zavuvi::PhysicsModel mesh;
    mesh.m_Name = "socket.mesh";
    mesh.m_Position = {1, 2, 3};
    socket.m_Models.push_back(mesh);
    rig.m_Actors.push_back(socket);

    std::vector<std::shared_ptr<physics::IPhyObj>> models, ragDolls;
    m_World->LoadScyPhy(Write(dir, "rig.phs", rig), {10, 0, 0}, CQuaternion::IDENTITY,
                        [&](const std::string&, const std::shared_ptr<physics::IPhyObj>& o) { models.push_back(o); },
                        [&](const std::string&, const std::shared_ptr<physics::IPhyObj>& o) { ragDolls.push_back(o); },
                        "");
    ASSERT_EQ(1u, models.size());
    EXPECT_EQ(CVector(11, 2, 3), models[0]->GetPos());
    EXPECT_EQ(CQuaternion::IDENTITY, models[0]->GetOrientation());
    models[0]->SetPos({0, 1, 0});
    EXPECT_EQ(CVector(0, 1, 0), models[0]->GetPos());

    ASSERT_EQ(1u, ragDolls.size());
    auto doll = std::dynamic_pointer_cast<physics::CPhyRagDoll>(ragDolls[0]);
    EXPECT_EQ(0, doll->GetBoneCount());
    EXPECT_FALSE(doll->HasActor("Socket"));
    EXPECT_THROW(doll->GetPos(), Zavuvi::CException);
}

// A file that cannot be read is not remembered: once it is there, it loads.
TEST_F(WorldTest, AFailedReadIsNotCached)
{
    CTempDir dir;
    const std::string path = dir.File("late.phs");
    try
    {
        m_World->CreateScyPhy(path, {}, CQuaternion::IDENTITY, nullptr);
        ADD_FAILURE();
    }
    catch (const Zavuvi::CException& e)
    {
        EXPECT_EQ("Could not open file: " + path, std::string(e.what()));
    }
    EXPECT_EQ(0u, m_World->GetInstancer().GetFileCount());

    // A file the reader refuses fails again on the next try, with its reason.
    {
        std::ofstream bad(path, std::ios::binary);
        bad << "abc";
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_THROW(m_World->CreateScyPhy(path, {}, CQuaternion::IDENTITY, nullptr), Zavuvi::CException);

    phsgen::SavePhysicsFile(SceneEntity(), 1.4f, path);
    EXPECT_NO_THROW(m_World->CreateScyPhy(path, {}, CQuaternion::IDENTITY, nullptr));
    EXPECT_EQ(1u, m_World->GetInstancer().GetFileCount());

    // An actor the scene refuses fails the load and leaves nothing in the scene.
    Zavuvi::PhysicsEntity refused = SceneEntity();
    refused.m_Actors[1].m_Density = -1.0f;
    refused.m_Actors[1].m_Mass = 0.0f;
    const std::size_t actors = m_World->GetScene().GetActors().size();
    try
    {
        m_World->LoadScyPhy(Write(dir, "refused.phs", refused), {}, CQuaternion::IDENTITY, nullptr, nullptr, "");
        ADD_FAILURE();
    }
    catch (const physics::CPhyException& e)
    {
        EXPECT_STREQ("Could not create an actor", e.what());
    }
    EXPECT_EQ(actors, m_World->GetScene().GetActors().size());
}
