#include "WorldFixture.h"

#include "PhysicsFiles.h"

#include "physics/PhyRagDoll.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IShape.h"
#include "physics/zavuvi/Exception.h"

using physics::CPhyRagDoll;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

const std::string kRagDollFile = std::string(SDS_TEST_PHS_DIR) + "/RagDoll.phs";

// The fixture's three-bone doll (hips, chest, head), inserted 5 m along x.
class RagDollTest : public WorldTest
{
protected:
    RagDollTest()
    {
        m_Object = m_World->CreateScyPhy(kRagDollFile, {5, 0, 0}, CQuaternion::IDENTITY,
                                         [this](const std::string& name, const std::shared_ptr<physics::IPhyObj>&) {
                                             m_Reported.push_back(name);
                                         });
        m_Doll = std::dynamic_pointer_cast<CPhyRagDoll>(m_Object);
    }

    sdk::IActor& Bone(const std::string& name) { return *m_Doll->GetBone(name)->GetActor(); }

    std::shared_ptr<physics::IPhyObj> m_Object;
    std::shared_ptr<CPhyRagDoll> m_Doll;
    std::vector<std::string> m_Reported;
};

} // namespace

TEST_F(RagDollTest, BonesNamesAndRoot)
{
    ASSERT_TRUE(m_Doll);
    EXPECT_EQ(std::vector<std::string>{"Doll"}, m_Reported);
    std::vector<std::string> names;
    m_Doll->GetBoneNames(names);
    EXPECT_EQ((std::vector<std::string>{"Hips", "Chest", "Head"}), names);
    EXPECT_EQ(3, m_Doll->GetBoneCount());
    EXPECT_EQ("Chest", m_Doll->GetBoneName(1));
    EXPECT_EQ(3, m_Doll->GetActorCount());
    EXPECT_EQ("Head", m_Doll->GetActorName(2));
    EXPECT_EQ("Hips", m_Doll->GetRootName());
    EXPECT_EQ(m_Doll->GetBone("Hips"), m_Doll->GetRootBone());
    EXPECT_EQ(2, m_Doll->GetJointCount()); // the prop's weld is not the doll's

    EXPECT_TRUE(m_Doll->HasBone("Head"));
    EXPECT_TRUE(m_Doll->HasActor("Head"));
    EXPECT_FALSE(m_Doll->HasBone("Prop")); // an actor of no skeleton
    EXPECT_FALSE(m_Doll->HasActor("Prop"));

    EXPECT_THROW(m_Doll->GetActorName(3), std::out_of_range);
    EXPECT_THROW(m_Doll->GetBoneName(3), std::out_of_range);
    EXPECT_THROW(m_Doll->GetJoint(2), std::out_of_range);
    for (const char* call : {"pos", "orientation", "pose", "bone"})
    {
        try
        {
            if (call == std::string("pos"))
                m_Doll->GetBonePos("Nose");
            else if (call == std::string("orientation"))
                m_Doll->GetBoneOrientation("Nose");
            else if (call == std::string("pose"))
                m_Doll->SetBonePose("Nose", {}, CQuaternion::IDENTITY);
            else
                m_Doll->GetBone("Nose");
            ADD_FAILURE() << call;
        }
        catch (const Zavuvi::CException& e)
        {
            EXPECT_STREQ("No bone found: Nose", e.what()) << call;
        }
    }
}

// The doll's place is its root's less the root's place in the file.
TEST_F(RagDollTest, PositionAndOrientationAreTheRootsOwn)
{
    EXPECT_VECTOR_NEAR(CVector(5, 2, 0), m_Doll->GetBonePos("Hips"), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(5, 0, 0), m_Doll->GetPos(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(5, 3.1f, 0), m_Doll->GetBonePos("Head"), 1e-5f);

    m_Doll->SetPos({1, 10, 1});
    EXPECT_VECTOR_NEAR(CVector(1, 10, 1), m_Doll->GetBonePos("Hips"), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(1, 8, 1), m_Doll->GetPos(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(5, 3.1f, 0), m_Doll->GetBonePos("Head"), 1e-5f); // only the root moves

    CQuaternion turned;
    turned.FromAngleAxis(0.5f, CVector::UNIT_Z);
    m_Doll->SetOrientation(turned);
    EXPECT_NEAR(turned.z, m_Doll->GetOrientation().z, 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(1, 10, 1), m_Doll->GetBonePos("Hips"), 1e-5f);

    m_Doll->SetBonePose("Chest", {0, 50, 0}, turned);
    EXPECT_VECTOR_NEAR(CVector(0, 50, 0), m_Doll->GetBonePos("Chest"), 1e-5f);
    EXPECT_NEAR(turned.w, m_Doll->GetBoneOrientation("Chest").w, 1e-5f);
}

// ResetPose puts the bones back around the root as in the file and makes the
// file's joints again; AttachTo welds the rest to one actor; ReleaseJoints
// leaves none.
TEST_F(RagDollTest, JointsAreReleasedRemadeAndWelded)
{
    m_Doll->SetBonePose("Chest", {40, 40, 40}, CQuaternion::IDENTITY);
    m_Doll->SetBonePose("Head", {-40, 0, 0}, CQuaternion::IDENTITY);
    m_Doll->SetPos({0, 10, 0});
    CQuaternion turned;
    turned.FromAngleAxis(3.1415927f, CVector::UNIT_Z); // upside down
    m_Doll->SetOrientation(turned);

    m_Doll->ResetPose();
    EXPECT_VECTOR_NEAR(CVector(0, 9.4f, 0), m_Doll->GetBonePos("Chest"), 1e-4f);
    EXPECT_VECTOR_NEAR(CVector(0, 8.9f, 0), m_Doll->GetBonePos("Head"), 1e-4f);
    ASSERT_EQ(2, m_Doll->GetJointCount());
    EXPECT_EQ(sdk::JOINT_SPHERICAL, m_Doll->GetJoint(0)->GetType());

    m_Doll->ReleaseJoints();
    EXPECT_EQ(0, m_Doll->GetJointCount());

    // Welded to its own root: n - 1 fixed joints, none to the root itself.
    sdk::IActor& root = Bone("Hips");
    m_Doll->AttachTo(root);
    ASSERT_EQ(2, m_Doll->GetJointCount());
    for (std::uint16_t i = 0; i < 2; ++i)
    {
        const sdk::IJoint& joint = *m_Doll->GetJoint(i);
        EXPECT_EQ(sdk::JOINT_FIXED, joint.GetType());
        EXPECT_EQ(&root, joint.GetActor(0));
        EXPECT_NE(&root, joint.GetActor(1));
    }
    // It falls as one piece.
    const float spread = (m_Doll->GetBonePos("Head") - m_Doll->GetBonePos("Hips")).Length();
    Frames(60);
    EXPECT_LT(m_Doll->GetBonePos("Hips").y, 8.0f);
    EXPECT_NEAR(spread, (m_Doll->GetBonePos("Head") - m_Doll->GetBonePos("Hips")).Length(), 0.02f);

    // Welded to an actor outside the doll: all three.
    auto anchor = m_World->CreateBox({30, 0, 0}, {1, 1, 1}, 0.0f, "");
    m_Doll->AttachTo(*std::static_pointer_cast<physics::CPhyObj>(anchor)->GetActor());
    EXPECT_EQ(3, m_Doll->GetJointCount());
    m_Doll->ReleaseJoints();
    EXPECT_EQ(0, m_Doll->GetJointCount());
}

TEST_F(RagDollTest, GroupSettingsReachEveryBone)
{
    m_Doll->EnableCollision(false);
    for (const char* bone : {"Hips", "Chest", "Head"})
        EXPECT_TRUE(Bone(bone).ReadActorFlag(sdk::AF_DISABLE_COLLISION | sdk::AF_DISABLE_RESPONSE)) << bone;
    m_Doll->EnableCollision(true);
    for (const char* bone : {"Hips", "Chest", "Head"})
        EXPECT_FALSE(Bone(bone).ReadActorFlag(sdk::AF_DISABLE_COLLISION)) << bone;

    const std::uint16_t ice = m_World->GetMaterialIndex("Ice");
    m_Doll->SetMaterial(ice);
    for (const char* bone : {"Hips", "Chest", "Head"})
        EXPECT_EQ(ice, Bone(bone).GetShapes()[0]->GetMaterial()) << bone;

    // One velocity for all bones.
    m_Doll->SetLinearVelocity({1, 2, 3});
    for (const char* bone : {"Hips", "Chest", "Head"})
    {
        SCOPED_TRACE(bone);
        EXPECT_VECTOR_NEAR(CVector(1, 2, 3), Bone(bone).GetLinearVelocity(), 1e-5f);
    }

    // Without gravity an unsupported doll hangs where it is.
    m_Doll->SetLinearVelocity(CVector::ZERO);
    m_Doll->EnableGravity(false);
    const CVector head = m_Doll->GetBonePos("Head");
    Frames(30);
    EXPECT_VECTOR_NEAR(head, m_Doll->GetBonePos("Head"), 1e-3f);
    m_Doll->EnableGravity(true);
    Frames(30);
    EXPECT_LT(m_Doll->GetBonePos("Head").y, head.y - 0.5f);

    // Every bone's contacts go to the root's handler.
    int calls = 0;
    m_Doll->GetRootBone()->SetCollisionCallback([&calls](const physics::IPhyCollisionEvent&) { ++calls; });
    m_Doll->ShareRootCallback();
    m_Doll->GetBone("Head")->OnCollision(physics::IPhyCollisionEvent());
    EXPECT_EQ(1, calls);
}

// An actor of its own name driving a bone of another: HasBone knows the bone,
// HasActor the actor, and the bone's pose is found by the bone's name.
TEST_F(WorldTest, ActorAndBoneNamesAreToldApart)
{
    CTempDir dir;
    Zavuvi::PhysicsEntity file;
    file.m_SkeletonModels.resize(1);
    file.m_SkeletonModels[0].m_Name = "Arm";
    Zavuvi::PhysicsActor upper = test_files::Actor("UpperArmActor", {0, 2, 0}, false,
                                                   {test_files::Shape(0, {0, 2, 0}, {0.2f, 0.5f, 0.2f})});
    upper.m_SkeletonIndex = 0;
    upper.m_BoneName = "Arm.Upper";
    upper.m_BoneDriven = true;
    file.m_Actors.push_back(upper);
    auto doll = std::dynamic_pointer_cast<CPhyRagDoll>(m_World->CreateScyPhy(
        test_files::Write(dir, "arm.phs", file), {3, 0, 0}, CQuaternion::IDENTITY, nullptr));
    ASSERT_TRUE(doll);

    EXPECT_TRUE(doll->HasBone("Arm.Upper"));
    EXPECT_FALSE(doll->HasActor("Arm.Upper"));
    EXPECT_TRUE(doll->HasActor("UpperArmActor"));
    EXPECT_FALSE(doll->HasBone("UpperArmActor"));
    EXPECT_VECTOR_NEAR(CVector(3, 2, 0), doll->GetBonePos("Arm.Upper"), 1e-5f);
    EXPECT_EQ("Arm.Upper", doll->GetActorName(0));
    EXPECT_EQ(doll->GetBone(doll->GetActorName(0)), doll->GetRootBone());
}
