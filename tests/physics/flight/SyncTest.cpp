#include "physics/flight/FlightFixture.h"

#include "physics/PhyRagDoll.h"
#include "physics/flight/SyncByMoving.h"
#include "physics/flight/SyncKinematic.h"
#include "physics/flight/SyncRagDollByMoving.h"
#include "physics/flight/SyncWithBallJoint.h"
#include "physics/sdk/IJoint.h"

using physics::CPhyRagDoll;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

const std::string kRagDollFile = std::string(SDS_TEST_PHS_DIR) + "/RagDoll.phs";

CQuaternion About(const CVector& axis, float radians)
{
    CQuaternion q;
    q.FromAngleAxis(radians, axis);
    return q;
}

// The fixture's three-bone doll (hips, chest, head) in the scene's gravity.
class RagDollSyncTest : public FlightTest
{
protected:
    RagDollSyncTest()
        : m_Doll(std::dynamic_pointer_cast<CPhyRagDoll>(
              m_World->CreateScyPhy(kRagDollFile, {0, 100, 0}, CQuaternion::IDENTITY, nullptr)))
    {
    }

    sdk::IActor& Bone(const std::string& name) { return *m_Doll->GetBone(name)->GetActor(); }
    std::vector<CVector> BonePositions()
    {
        return {Bone("Hips").GetGlobalPosition(), Bone("Chest").GetGlobalPosition(), Bone("Head").GetGlobalPosition()};
    }

    std::shared_ptr<CPhyRagDoll> m_Doll;
};

} // namespace

TEST_F(FlightTest, SyncByMovingCopiesPoseAndLinearVelocityButNotSpin)
{
    sdk::IActor& leader = Box({10, 50, -3});
    sdk::IActor& follower = Box({0, 0, 0});
    leader.SetGlobalOrientation(About(CVector::UNIT_Y, 0.7f));
    leader.SetLinearVelocity({3, -4, 5});
    leader.SetAngularVelocity({0, 2, 0});
    follower.SetAngularVelocity({1, 0, 0});

    const auto sync = physics::PhyJumperStates::CSyncByMoving::Create(leader, follower);
    sync->Sync();

    EXPECT_VECTOR_NEAR(leader.GetGlobalPosition(), follower.GetGlobalPosition(), 1e-5f);
    EXPECT_SAME_ROTATION(leader.GetGlobalOrientation(), follower.GetGlobalOrientation(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(3, -4, 5), follower.GetLinearVelocity(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(1, 0, 0), follower.GetAngularVelocity(), 1e-5f);
}

TEST_F(FlightTest, KinematicFollowerTracksItsLeaderAndPushesWhatItMeets)
{
    sdk::IActor& leader = Box({0, 10, 0}, {0.5f, 0.5f, 0.5f}, 1.0f, sdk::BF_DISABLE_GRAVITY);
    sdk::IActor& follower = Box({0, 0, 0}, {0.5f, 0.5f, 0.5f}, 1.0f, sdk::BF_KINEMATIC | sdk::BF_DISABLE_GRAVITY);
    sdk::IActor& obstacle = Box({3, 10, 0}, {0.5f, 0.5f, 0.5f}, 1.0f, sdk::BF_DISABLE_GRAVITY);
    Scene().SetActorPairFlags(leader, obstacle, sdk::PAIR_IGNORE);
    Scene().SetActorPairFlags(leader, follower, sdk::PAIR_IGNORE);
    leader.SetLinearVelocity({4, 0, 0});
    leader.SetAngularVelocity({0, 0, 1});

    physics::CSyncKinematic sync(leader, follower);
    for (int i = 0; i < 60; ++i)
    {
        sync.Sync();
        Steps(1);
    }
    // The follower lags its leader by the one step it takes to get there.
    EXPECT_LT(Distance(leader.GetGlobalPosition(), follower.GetGlobalPosition()), 4.0f / 60.0f + 1e-3f);
    EXPECT_GT(obstacle.GetGlobalPosition().x, 3.5f);
    EXPECT_GT(obstacle.GetLinearVelocity().x, 1.0f);
    EXPECT_TRUE(follower.ReadBodyFlag(sdk::BF_KINEMATIC));
}

TEST_F(RagDollSyncTest, ParkedRagDollNeitherCollidesPartsNorMovesAndGetsItsGravityBack)
{
    ASSERT_TRUE(m_Doll);
    // A body across the chest that a colliding doll would push away.
    sdk::IActor& across = Box(Bone("Chest").GetGlobalPosition(), {1, 0.1f, 0.1f}, 1.0f, sdk::BF_DISABLE_GRAVITY);
    Bone("Head").RaiseBodyFlag(sdk::BF_DISABLE_GRAVITY); // a bone that had none keeps none
    Bone("Chest").SetLinearVelocity({0, -20, 0});

    auto parked = std::make_unique<physics::CSyncRagDollExternally>(*m_Doll);
    const std::vector<CVector> before = BonePositions();
    const CVector acrossBefore = across.GetGlobalPosition();
    Frames(3600, m_World->GetMaxTimeStep()); // a minute
    parked->Sync();
    const std::vector<CVector> after = BonePositions();
    for (std::size_t i = 0; i < before.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_VECTOR_NEAR(before[i], after[i], 1e-3f);
    }
    EXPECT_VECTOR_NEAR(acrossBefore, across.GetGlobalPosition(), 1e-3f);
    EXPECT_TRUE(Bone("Chest").ReadActorFlag(sdk::AF_DISABLE_COLLISION));

    parked.reset();
    EXPECT_EQ(2, m_Doll->GetJointCount()); // its own joints, not the welds
    EXPECT_FALSE(Bone("Chest").ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    EXPECT_FALSE(Bone("Hips").ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));
    EXPECT_FALSE(Bone("Chest").ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));
    EXPECT_TRUE(Bone("Head").ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));
    Steps(30);
    EXPECT_LT(Bone("Hips").GetGlobalPosition().y, before[0].y - 1.0f); // falls again
}

TEST_F(RagDollSyncTest, DroppedDollTakesOverFromWhereItsLeaderIsNow)
{
    ASSERT_TRUE(m_Doll);
    sdk::IActor& leader = Box({0, 200, 0}, {0.5f, 0.5f, 0.5f}, 1.0f, sdk::BF_DISABLE_GRAVITY);
    const CVector offset(0, 0.3f, 0.5f);
    auto sync = std::make_unique<physics::CSyncRagDollByMoving>(*m_Doll, &leader, offset);
    Steps(10);

    const CQuaternion turned = About(CVector::UNIT_Z, 1.2f);
    leader.SetGlobalPose({100, 200, 0}, turned);
    leader.SetLinearVelocity({40, -5, 2});
    sync.reset();

    EXPECT_VECTOR_NEAR(CVector(100, 200, 0) + turned * offset, Bone("Hips").GetGlobalPosition(), 1e-4f);
    EXPECT_SAME_ROTATION(turned, Bone("Hips").GetGlobalOrientation(), 1e-5f);
    // The others at rest around the root, all moving as the leader was.
    EXPECT_NEAR(0.6f, Distance(Bone("Hips").GetGlobalPosition(), Bone("Chest").GetGlobalPosition()), 1e-4f);
    for (const char* bone : {"Hips", "Chest", "Head"})
    {
        SCOPED_TRACE(bone);
        EXPECT_VECTOR_NEAR(CVector(40, -5, 2), Bone(bone).GetLinearVelocity(), 1e-4f);
    }
    EXPECT_EQ(2, m_Doll->GetJointCount());
}

TEST_F(RagDollSyncTest, WithoutALeaderTheDollIsLetGoWhereItIs)
{
    ASSERT_TRUE(m_Doll);
    const CVector hips = Bone("Hips").GetGlobalPosition();
    {
        physics::CSyncRagDollByMoving sync(*m_Doll, nullptr, {0, 1, 0});
        Steps(10);
    }
    EXPECT_VECTOR_NEAR(hips, Bone("Hips").GetGlobalPosition(), 1e-4f);
    EXPECT_EQ(2, m_Doll->GetJointCount());
}

TEST_F(FlightTest, BallJointHangsTheFollowerAboveItsPlaneUntilTheSyncGoes)
{
    // A leader turned on its side: the point and the normal are in its frame.
    sdk::IActor& leader = Box({0, 50, 0}, {0.5f, 0.5f, 0.5f}, 0.0f);
    leader.SetGlobalOrientation(About(CVector::UNIT_Z, float(M_PI / 2)));
    const CVector anchor(-1, 50, 0); // (0, 1, 0) in the leader's frame
    // A stick whose origin is on the anchor, standing on the leader's "up" (-x).
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.05f, 0.3f, 0.05f}));
    desc.m_Shapes.back().m_LocalPosition = {0, 0.3f, 0};
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Body->m_Mass = 0.5f;
    desc.m_GlobalPosition = anchor;
    desc.m_GlobalOrientation = About(CVector::UNIT_Z, float(M_PI / 2));
    sdk::IActor& follower = *Scene().CreateActor(desc);

    auto sync = std::make_unique<physics::CSyncWithBallJoint>(
        leader, follower, Xml("<LimitPlane Normal=\"0, 1, 0\" Point=\"0, 1, 0\" />"));
    EXPECT_EQ(sdk::JOINT_SPHERICAL, sync->GetJoint().GetType());
    EXPECT_EQ(1u, sync->GetJoint().GetLimitPlaneCount());
    // Pulled through the plane (towards +x, the leader's "down") it stays on its side.
    float deepest = anchor.x - 1.0f;
    for (int i = 0; i < 120; ++i)
    {
        follower.AddForceAtLocalPos({20, 10, 0}, {0, 0.3f, 0});
        Steps(1);
        const CVector centre =
            follower.GetGlobalPosition() + follower.GetGlobalOrientation() * follower.GetCMassLocalPosition();
        deepest = std::max(deepest, centre.x);
    }
    EXPECT_LT(Distance(anchor, follower.GetGlobalPosition()), 0.02f);
    EXPECT_LT(deepest, anchor.x + 0.02f);

    sync.reset();
    Steps(60);
    EXPECT_GT(Distance(anchor, follower.GetGlobalPosition()), 1.0f); // free, it falls
    EXPECT_THROW(physics::CSyncWithBallJoint(leader, follower, Xml("<LimitPlane Normal=\"0, 1, 0\" />")),
                 xml::CNoNodeException);
}
