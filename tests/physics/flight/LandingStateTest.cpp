#include "physics/flight/JumperFixture.h"

#include <typeinfo>

#include "physics/PhyRagDoll.h"
#include "physics/flight/CanopyRideState.h"
#include "physics/flight/LandingState.h"
#include "physics/flight/PhyPilotChute.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IScene.h"
#include "physics/sdk/SdkConstants.h"

using physics::CPhyJumper;
using physics::CPhyRagDoll;
using physics::PhyJumperStates::CLandingState;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

sdk::IActor& Actor(const CPhyRagDoll& doll, std::uint16_t index)
{
    return *doll.GetBone(doll.GetActorName(index))->GetActor();
}

sdk::IActor& Root(const CPhyRagDoll& doll)
{
    return *doll.GetRootBone()->GetActor();
}

// A jump under canopy, flown for a while; it lands as it is.
class LandingTest : public JumperTest
{
protected:
    CPhyJumper& Fly(bool slider = false)
    {
        if (slider)
            RemoveAttribute(State("Landing")->GetChildById("RagDoll", "Slider", "Name,Id"), "Disabled");
        physics::CPhyJumperDesc desc;
        desc.m_Position = {0, 300, 0};
        CPhyJumper& jumper = Make(desc);
        Steps(60);
        return jumper;
    }
};

} // namespace

TEST_F(LandingTest, TheFirstEntryLetsTheRagDollsGoWhereTheBodiesTheyStandInForAre)
{
    CPhyJumper& jumper = Fly();
    CLandingState& landing = jumper.GetLanding();
    const CVector position = jumper.GetPos();
    const CQuaternion orientation = jumper.GetOrientation();
    const CVector velocity = jumper.GetVelocity();
    const CVector canopy = jumper.GetCanopyActor()->GetGlobalPosition();

    jumper.SwitchToLandingState();

    const CPhyRagDoll& doll = *landing.GetJumperRagDoll();
    EXPECT_EQ(landing.GetBody(), jumper.GetCurrentBody());
    EXPECT_VECTOR_NEAR(position, Root(doll).GetGlobalPosition(), 1e-3f);
    EXPECT_SAME_ROTATION(orientation, Root(doll).GetGlobalOrientation(), 1e-4f);
    for (std::uint16_t i = 0; i < doll.GetActorCount(); ++i)
    {
        SCOPED_TRACE(doll.GetActorName(i));
        EXPECT_VECTOR_NEAR(velocity, Actor(doll, i).GetLinearVelocity(), 1e-3f);
        EXPECT_FALSE(Actor(doll, i).ReadActorFlag(sdk::AF_DISABLE_COLLISION)) << doll.GetActorName(i);
    }
    EXPECT_VECTOR_NEAR(canopy, Root(*landing.GetCanopyRagDoll()).GetGlobalPosition(), 1e-3f);
    EXPECT_TRUE(landing.GetPilotChute()->IsActive());
    EXPECT_FALSE(jumper.GetCanopyRide().GetPilotChute()->IsActive());
}

TEST_F(LandingTest, WithoutASliderOneRopeTiesTheJumperToTheCanopy)
{
    CPhyJumper& jumper = Fly();
    CLandingState& landing = jumper.GetLanding();
    jumper.SwitchToLandingState();
    EXPECT_FALSE(landing.GetSliderRagDoll());
    EXPECT_TRUE(landing.GetJumperCanopyJoint());
    EXPECT_FALSE(landing.GetSliderCanopyJoint());
    EXPECT_FALSE(landing.GetJumperSliderJoint());
    EXPECT_EQ(sdk::JOINT_DISTANCE, landing.GetJumperCanopyJoint()->GetType());
}

TEST_F(LandingTest, TheSlidersRopeToTheCanopyHasItsSlack)
{
    CPhyJumper& jumper = Fly(true);
    CLandingState& landing = jumper.GetLanding();
    ASSERT_TRUE(landing.GetSliderRagDoll());
    jumper.SwitchToLandingState();
    EXPECT_TRUE(landing.GetJumperCanopyJoint());
    EXPECT_TRUE(landing.GetSliderCanopyJoint());
    EXPECT_TRUE(landing.GetJumperSliderJoint());
    // The slider sits 3 m above the body it stood in for.
    EXPECT_VECTOR_NEAR(jumper.GetPos() + jumper.GetOrientation() * CVector(0, 3, 0),
                       Root(*landing.GetSliderRagDoll()).GetGlobalPosition(), 1e-3f);

    sdk::IActor& slider = Root(*landing.GetSliderRagDoll());
    sdk::IActor& canopy = Root(*landing.GetCanopyRagDoll());
    const float distance = (slider.GetGlobalPosition() - canopy.GetGlobalPosition()).Length();
    const sdk::CJointDesc rope =
        CLandingState::DistanceJointDesc(slider, canopy, CVector::ZERO, CVector::ZERO, CVector::UNIT_Y, 5.0f);
    EXPECT_NEAR(distance + 5.0f, rope.m_MaxDistance, 1e-4f);
    EXPECT_NEAR(0.2f * distance, rope.m_MinDistance, 1e-4f);
    EXPECT_EQ(sdk::DISTANCE_MAX_ENABLED | sdk::DISTANCE_MIN_ENABLED | sdk::DISTANCE_SPRING_ENABLED, rope.m_Flags);
    EXPECT_TRUE(rope.m_JointFlags & sdk::JF_COLLISION_ENABLED);
    EXPECT_FLOAT_EQ(100.0f, rope.m_Spring.m_Spring);

    jumper.SwitchToCanopyRideState();
    EXPECT_FALSE(landing.GetSliderCanopyJoint());
    EXPECT_FALSE(landing.GetJumperCanopyJoint());
    EXPECT_TRUE(slider.ReadActorFlag(sdk::AF_DISABLE_COLLISION));
}

TEST_F(LandingTest, AStandUpLandingCollapsesTheCanopyAndLoosensTheJumper)
{
    // The same flight landed both ways: what differs for the canopy is its own forces.
    CVector mean[2];
    CVector forces;
    for (int mode : {0, 1})
    {
        m_Jumpers.clear(); // one jump at a time in the world
        CPhyJumper& jumper = Fly();
        CLandingState& landing = jumper.GetLanding();
        const CPhyRagDoll& canopy = *landing.GetCanopyRagDoll();
        const std::uint16_t joints = landing.GetJumperRagDoll()->GetJointCount();
        EXPECT_EQ(14, joints);
        landing.SetLandingMode(mode);
        jumper.SwitchToLandingState();
        EXPECT_EQ(mode == 1 ? 0 : joints, landing.GetJumperRagDoll()->GetJointCount()) << mode;
        Steps(1); // the forces worked out now act in the next step

        auto* holder = dynamic_cast<physics::CPhyMovingBody*>(Root(canopy).GetUserData());
        ASSERT_TRUE(holder);
        EXPECT_EQ(mode == 1, holder->GetDrag().GetForce().Length() > 0.0f) << mode;
        forces = holder->GetDrag().GetForce() + holder->GetGravity().GetForce();
        Steps(1);
        for (std::uint16_t i = 0; i < canopy.GetActorCount(); ++i)
            mean[mode] += Actor(canopy, i).GetLinearVelocity() * (1.0f / canopy.GetActorCount());
    }
    // Every part of the canopy, all of one mass, took the root's forces. The
    // lines, taut above the jumper at the touch-down, hold back some of the
    // drag that slows the canopy's fall, none of what acts across them.
    const float mass = 0.7f;
    const CVector expected = forces * (m_World->GetMaxTimeStep() / mass);
    const CVector taken = mean[1] - mean[0];
    EXPECT_NEAR(expected.x, taken.x, 0.005f);
    EXPECT_NEAR(expected.z, taken.z, 0.005f);
    EXPECT_GT(expected.y, 0.05f);
    EXPECT_GT(taken.y, 0.5f * expected.y);
    EXPECT_LT(taken.y, expected.y + 0.005f);
}

TEST_F(LandingTest, EveryEntryMakesTheJumpersRagDollWholeAgain)
{
    CPhyJumper& jumper = Fly();
    CLandingState& landing = jumper.GetLanding();
    const CPhyRagDoll& doll = *landing.GetJumperRagDoll();
    const std::uint16_t joints = doll.GetJointCount();
    landing.SetLandingMode(1);
    jumper.SwitchToLandingState();
    Steps(30);
    jumper.SwitchToCanopyRideState();
    EXPECT_TRUE(Root(doll).ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    Steps(60);
    const CVector position = jumper.GetPos();
    const CVector velocity = jumper.GetVelocity();

    landing.SetLandingMode(0);
    jumper.SwitchToLandingState();
    EXPECT_EQ(joints, doll.GetJointCount());
    EXPECT_VECTOR_NEAR(position, Root(doll).GetGlobalPosition(), 0.01f);
    for (std::uint16_t i = 0; i < doll.GetActorCount(); ++i)
    {
        EXPECT_FALSE(Actor(doll, i).ReadActorFlag(sdk::AF_DISABLE_COLLISION)) << doll.GetActorName(i);
        SCOPED_TRACE(doll.GetActorName(i));
        EXPECT_VECTOR_NEAR(velocity, Actor(doll, i).GetLinearVelocity(), 0.1f);
        // Every part is back in its place around the root.
        EXPECT_LT((Actor(doll, i).GetGlobalPosition() - position).Length(), 1.2f) << doll.GetActorName(i);
    }
}

TEST_F(LandingTest, ARopeTheSceneRefusesIsABadCastInTheSystemsWords)
{
    // A rope between two fixed boxes moves nothing, so the scene makes none.
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f}));
    sdk::IActor* first = m_World->GetScene().CreateActor(desc);
    desc.m_GlobalPosition = {0, 3, 0};
    sdk::IActor* second = m_World->GetScene().CreateActor(desc);
    ASSERT_TRUE(first && second);
    try
    {
        CLandingState::MakeDistanceJoint(*first, *second, 0.0f);
        ADD_FAILURE() << "no bad cast";
    }
    catch (const std::bad_cast& e)
    {
        EXPECT_STREQ("bad cast", e.what());
    }
}
