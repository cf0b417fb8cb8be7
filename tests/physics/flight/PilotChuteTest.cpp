#include "physics/flight/FlightFixture.h"

#include "physics/PhyException.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/PhyPilotChute.h"
#include "physics/sdk/IShape.h"

using physics::CPhyPilotChute;
using physics::CPhyRagDoll;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

// The shipped "PilotChute" element of the canopy ride.
xml::CNodePtr ShippedPilotChute()
{
    CMessageCapture quiet;
    const xml::CNodePtr physics = xml::LoadXmlFile("../data/physics/physics.xml")->GetChild("Physics");
    return physics->GetChild("PhyJumper")->GetChildById("State", "CanopyRide", "Name,Id")->GetChild("PilotChute");
}

// A pilot chute of the shipped file and data over a canopy box 100 m up.
class PilotChuteTest : public FlightTest
{
protected:
    PilotChuteTest()
        : m_Canopy(Box({0, 100, 0}, {1.5f, 0.2f, 0.8f}, 5.0f, sdk::BF_DISABLE_GRAVITY)),
          m_Doll(std::dynamic_pointer_cast<CPhyRagDoll>(
              m_World->CreateScyPhy("../data/models/PilotChute.phs", {0, 90, 0}, CQuaternion::IDENTITY, nullptr)))
    {
    }

    std::unique_ptr<CPhyPilotChute> Make(bool proxy, const xml::CNodePtr& element = ShippedPilotChute(),
                                         const std::vector<const physics::CPhyObj*>& ignored = {})
    {
        return std::make_unique<CPhyPilotChute>(m_Doll, m_Canopy, ignored, element, proxy);
    }

    // The chute, which its forces push.
    sdk::IActor& Base() { return *m_Doll->GetBone("PCBase")->GetActor(); }
    // The bridle's root, which hangs from the canopy.
    sdk::IActor& Root() { return *m_Doll->GetRootBone()->GetActor(); }
    // The point of the canopy the pilot chute hangs from.
    CVector Anchor() const
    {
        return m_Canopy.GetGlobalPosition() + m_Canopy.GetGlobalOrientation() * CVector(0, 0.3f, 0);
    }

    // Steps as the owning phase does: the syncs, the forces, the step.
    void Fly(CPhyPilotChute& pilotChute, int steps)
    {
        for (int i = 0; i < steps; ++i)
        {
            pilotChute.Sync();
            pilotChute.Update(sds::CTiming());
            Steps(1);
        }
    }

    sdk::IActor& m_Canopy;
    std::shared_ptr<CPhyRagDoll> m_Doll;
};

} // namespace

TEST_F(PilotChuteTest, GoesFromStowedToActiveAndBackWithOneJointAtATime)
{
    ASSERT_TRUE(m_Doll);
    auto pilotChute = Make(false);
    EXPECT_FALSE(pilotChute->IsActive());
    EXPECT_EQ(&Base(), pilotChute->GetActor());
    EXPECT_EQ(pilotChute.get(), Base().GetUserData());
    EXPECT_EQ(&m_Canopy, &pilotChute->GetLeader());
    EXPECT_TRUE(Base().ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    EXPECT_TRUE(Base().ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));

    m_Canopy.SetGlobalPose({50, 120, 0}, CQuaternion::IDENTITY);
    m_Canopy.SetLinearVelocity({8, -4, 0});
    pilotChute->Activate();
    pilotChute->Activate(); // the first joint goes
    EXPECT_TRUE(pilotChute->IsActive());
    EXPECT_VECTOR_NEAR(CVector(50, 120.3f, 0), Root().GetGlobalPosition(), 1e-4f);
    EXPECT_VECTOR_NEAR(CVector(8, -4, 0), Base().GetLinearVelocity(), 1e-4f);
    EXPECT_VECTOR_NEAR(CVector(8, -4, 0), Root().GetLinearVelocity(), 1e-4f);
    EXPECT_FALSE(Base().ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    EXPECT_TRUE(Base().ReadBodyFlag(sdk::BF_DISABLE_GRAVITY));

    Fly(*pilotChute, 60); // it hangs on as the canopy flies on
    EXPECT_LT(Distance(Anchor(), Root().GetGlobalPosition()), 0.02f);

    pilotChute->Deactivate();
    EXPECT_FALSE(pilotChute->IsActive());
    EXPECT_TRUE(Base().ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    // Stowed, it stays where it was parked: no joint is left to drag it along.
    const CVector parked = Root().GetGlobalPosition();
    Fly(*pilotChute, 60);
    EXPECT_VECTOR_NEAR(parked, Root().GetGlobalPosition(), 1e-3f);
    EXPECT_GT(Distance(m_Canopy.GetGlobalPosition(), parked), 5.0f);

    pilotChute->Activate();
    EXPECT_VECTOR_NEAR(Anchor(), Root().GetGlobalPosition(), 1e-4f);
}

TEST_F(PilotChuteTest, ActiveRootStaysAboveTheCanopysPlane)
{
    ASSERT_TRUE(m_Doll);
    auto pilotChute = Make(true);
    pilotChute->Activate();
    m_Doll->EnableGravity(true); // as after touch-down
    m_Canopy.SetLinearVelocity({10, 0, 0}); // its drag and its weight pull it back and down
    Fly(*pilotChute, 180);
    const CVector anchor = Anchor();
    EXPECT_LT(Distance(anchor, Root().GetGlobalPosition()), 0.02f);
    const CVector centre = Root().GetGlobalPosition() + Root().GetGlobalOrientation() * Root().GetCMassLocalPosition();
    EXPECT_GT(centre.y, anchor.y - 0.02f);
    EXPECT_VECTOR_NEAR(CVector(10, 0, 0), m_Canopy.GetLinearVelocity(), 1e-3f); // the proxy takes the pull
}

TEST_F(PilotChuteTest, ProxyIsAKinematicHalfSizeCopyThatFollowsTheCanopy)
{
    ASSERT_TRUE(m_Doll);
    sdk::IActor& cell = Box({3, 100, 0});
    physics::CPhyObj cellObject;
    auto pilotChute = Make(true, ShippedPilotChute(), {&cellObject, nullptr});
    sdk::IActor& proxy = *pilotChute->GetProxy().GetActor();
    EXPECT_EQ(&proxy, &pilotChute->GetLeader());
    EXPECT_TRUE(proxy.ReadBodyFlag(sdk::BF_KINEMATIC | sdk::BF_DISABLE_GRAVITY));
    EXPECT_FLOAT_EQ(m_Canopy.GetMass(), proxy.GetMass());
    EXPECT_VECTOR_NEAR(CVector(0.75f, 0.1f, 0.4f), proxy.GetShapes()[0]->GetDimensions(), 1e-5f);
    EXPECT_TRUE(proxy.ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    EXPECT_EQ(sdk::PAIR_IGNORE, Scene().GetActorPairFlags(m_Canopy, Base()) & sdk::PAIR_IGNORE);
    EXPECT_EQ(0u, Scene().GetActorPairFlags(proxy, cell) & sdk::PAIR_IGNORE);

    pilotChute->Activate();
    EXPECT_FALSE(proxy.ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    m_Canopy.SetLinearVelocity({10, 0, 0});
    Fly(*pilotChute, 30);
    EXPECT_LT(Distance(m_Canopy.GetGlobalPosition(), proxy.GetGlobalPosition()), 10.0f / 60.0f + 1e-3f);

    sdk::CActorDesc ball;
    ball.m_Shapes.push_back(sdk::CShapeDesc::Sphere(0.5f));
    ball.m_Body = sdk::CBodyDesc();
    sdk::IActor& round = *Scene().CreateActor(ball);
    EXPECT_THROW(CPhyPilotChute(m_Doll, round, {}, ShippedPilotChute(), true), physics::CPhyException);
}

TEST_F(PilotChuteTest, GravityIsAnAccelerationOfTheBase)
{
    ASSERT_TRUE(m_Doll);
    const xml::CNodePtr element = ShippedPilotChute();
    element->GetChildById("ForceGravity", "PilotChute", "Name,Id")->GetAttribute("Force")->SetValue("0, -2, 0.5");
    auto pilotChute = Make(false, element);
    EXPECT_VECTOR_NEAR(CVector(0, -2, 0.5f) * Base().GetMass(), pilotChute->GetGravity().GetForce(), 1e-6f);
    EXPECT_VECTOR_NEAR(CVector::ZERO, Make(false)->GetGravity().GetForce(), 0.0f);
}

TEST_F(PilotChuteTest, MissingKeysAreReported)
{
    ASSERT_TRUE(m_Doll);
    const std::string gravity = "<ForceGravity Name=\"PilotChute\" Force=\"0, 0, 0\" Position=\"0, 0, 0\" Color=\"0, 1, 0, 1\" />";
    const std::string drag =
        "<ForceDrag Name=\"PilotChute\" Force=\"0, 0, 0\" Position=\"0, 0, 0\" Color=\"1, 0, 0, 1\" Cd=\"1\" Area=\"1\" />";
    const std::string plane = "<LimitPlane Name=\"Canopy\" Normal=\"0, 1, 0\" Point=\"0, 0.3, 0\" />";
    const struct
    {
        const char* what;
        std::string text;
    } cases[] = {
        {"gravity", "<PilotChute PCBone=\"PCBase\">" + drag + plane + "</PilotChute>"},
        {"drag", "<PilotChute PCBone=\"PCBase\">" + gravity + plane + "</PilotChute>"},
        {"plane", "<PilotChute PCBone=\"PCBase\">" + gravity + drag + "</PilotChute>"},
        {"bone", "<PilotChute>" + gravity + drag + plane + "</PilotChute>"},
        {"point", "<PilotChute PCBone=\"PCBase\">" + gravity + drag + "<LimitPlane Name=\"Canopy\" Normal=\"0, 1, 0\" /></PilotChute>"},
    };
    for (const auto& c : cases)
        EXPECT_THROW(Make(false, Xml(c.text)), xml::CNoNodeException) << c.what;
    EXPECT_NO_THROW(Make(false, Xml("<PilotChute PCBone=\"PCBase\">" + gravity + drag + plane + "</PilotChute>")));
}
