#include "physics/flight/JumperFixture.h"

#include <cmath>

#include "physics/flight/DeploymentState.h"
#include "physics/flight/ExitState.h"
#include "physics/flight/FreeFallState.h"
#include "physics/sdk/SdkConstants.h"

using physics::CPhyJumper;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

TEST_F(JumperTest, FreeFallWeighsTheBodyAndDragsBehindItsBack)
{
    CPhyJumper& jumper = MakeStartingIn("FreeFall");
    physics::PhyJumperStates::CFreeFallState& fall = jumper.GetFreeFall();
    const float mass = fall.GetActor()->GetMass();
    EXPECT_NEAR(75.0f, mass, 1e-3f);
    EXPECT_VECTOR_NEAR(CVector(0, -9.8f * mass, 0), fall.GetGravity().GetForce(), 1e-3f);
    EXPECT_VECTOR_NEAR(CVector(-2, 0, 0), fall.GetDrag().GetPosition(), 0.0f);
    EXPECT_FALSE(fall.GetActor()->ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    EXPECT_TRUE(fall.GetActor()->ReadBodyFlag(sdk::BF_DISABLE_GRAVITY | sdk::BF_FROZEN_ROT_Y |
                                              sdk::BF_CONTINUOUS_COLLISION));

    Steps(60);
    EXPECT_FLOAT_EQ(fall.GetDrag().GetForce().Length(), fall.GetBodyDragMagnitude());
    EXPECT_GT(fall.GetBodyDragMagnitude(), 0.0f);
    EXPECT_EQ(0.0f, jumper.GetExit().GetBodyDragMagnitude());
    // About a second of falling from rest at 30 m/s across.
    EXPECT_NEAR(-9.8f, jumper.GetVelocity().y, 1.5f);
}

TEST_F(JumperTest, TheExitBodyIsPutBackWithTheFreeFallBodyAtTheNextStep)
{
    CPhyJumper& jumper = MakeStartingIn("FreeFall");
    physics::PhyJumperStates::CExitState& exit = jumper.GetExit();
    exit.SetPos({500, 3000, 0});
    EXPECT_VECTOR_NEAR(CVector(500, 3000, 0), exit.GetPos(), 1e-3f);
    Steps(1);
    EXPECT_VECTOR_NEAR(jumper.GetFreeFall().GetPos(), exit.GetPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(jumper.GetFreeFall().GetActor()->GetLinearVelocity(), exit.GetActor()->GetLinearVelocity(), 1e-4f);
}

TEST_F(JumperTest, TheExitBodyTakesOnlySoundValuesAndNeverCollides)
{
    CPhyJumper& jumper = MakeStartingIn("Exit");
    physics::PhyJumperStates::IExitState& exit = *jumper.GetExitState();
    exit.SetPos({0, 3000, 0});
    exit.SetVelocity({30, 0, 0});
    CQuaternion turned;
    turned.FromAngleAxis(0.3f, CVector::UNIT_Z);
    exit.SetOrientation(turned * 4.0f);

    exit.SetPos({NAN, 0, 0});
    exit.SetVelocity({0, INFINITY, 0});
    exit.SetOrientation(CQuaternion(NAN, 0, 0, 1));
    EXPECT_VECTOR_NEAR(CVector(0, 3000, 0), jumper.GetPos(), 1e-3f);
    EXPECT_VECTOR_NEAR(CVector(30, 0, 0), jumper.GetVelocity(), 1e-4f);
    EXPECT_SAME_ROTATION(turned, jumper.GetOrientation(), 1e-5f);
    EXPECT_TRUE(m_Log.Has("Warning: Exit position nan,0,0 ignored"));
    EXPECT_TRUE(m_Log.HasContaining("Exit velocity"));
    EXPECT_TRUE(m_Log.HasContaining("Exit orientation"));

    exit.SetOrientation(CQuaternion(0, 0, 0, 0));
    EXPECT_SAME_ROTATION(CQuaternion::IDENTITY, jumper.GetOrientation(), 1e-6f);

    // Before, during and after its phase the exit body reports no contact.
    int contacts = 0;
    jumper.SetCollisionCallback([&contacts](const physics::IPhyCollisionEvent&) { ++contacts; });
    exit.SetPos({0, 0.5f, 0});
    exit.SetVelocity({0, -5, 0});
    const sdk::IActor& body = *jumper.GetExit().GetActor();
    Steps(30);
    EXPECT_LT(body.GetGlobalPosition().y, -1.0f); // through the ground
    jumper.SwitchToFreeFallState();
    jumper.SwitchToExitState();
    EXPECT_TRUE(body.ReadActorFlag(sdk::AF_DISABLE_COLLISION | sdk::AF_DISABLE_RESPONSE));
    EXPECT_EQ(0, contacts);
}

TEST_F(JumperTest, DeploymentStagesGoFromThePilotChuteToTheSliderAndStartOverOnEntry)
{
    CPhyJumper& jumper = MakeStartingIn("FreeFall");
    physics::PhyJumperStates::CDeploymentState& deployment = jumper.GetDeployment();
    Steps(30);
    // Before the pull it falls with the free-fall body.
    EXPECT_VECTOR_NEAR(jumper.GetFreeFall().GetPos(), deployment.GetPos(), 1e-4f);
    EXPECT_SAME_ROTATION(jumper.GetFreeFall().GetOrientation(), deployment.GetOrientation(), 1e-5f);

    jumper.SwitchToDeploymentState();
    const struct
    {
        const physics::CDragForce* m_Active;
        int m_Counter;
    } stages[] = {
        {&deployment.GetPilotChuteDrag(), 0}, {&deployment.GetPilotChuteDrag(), 1}, {&deployment.GetCanopyOutDrag(), 2},
        {&deployment.GetSliderDownDrag(), 2}, {&deployment.GetSliderDownDrag(), 2}, {&deployment.GetSliderDownDrag(), 2},
    };
    for (const auto& stage : stages)
    {
        EXPECT_EQ(stage.m_Active, &deployment.GetActiveStageForce());
        EXPECT_EQ(stage.m_Counter, deployment.GetStageCounter());
        jumper.GetDeploymentState()->NextStage();
    }
    EXPECT_FLOAT_EQ(15.0f, deployment.GetSliderDownDrag().GetArea());
    EXPECT_FLOAT_EQ(4.0f, deployment.GetCanopyOutDrag().GetArea());
    EXPECT_FLOAT_EQ(5.0f, deployment.GetPilotChuteDrag().GetMaxMagnitude());

    jumper.SwitchToFreeFallState();
    jumper.SwitchToDeploymentState();
    EXPECT_EQ(&deployment.GetPilotChuteDrag(), &deployment.GetActiveStageForce());
    EXPECT_EQ(0, deployment.GetStageCounter());
}

TEST_F(JumperTest, TheStageDragSlowsTheFallAndStandsTheBodyUp)
{
    CPhyJumper& jumper = MakeStartingIn("FreeFall");
    Steps(600);
    const float fallSpeed = -jumper.GetVelocity().y;
    jumper.SwitchToDeploymentState();
    for (int i = 0; i < 3; ++i)
        jumper.GetDeploymentState()->NextStage();
    Steps(240);
    EXPECT_LT(-jumper.GetVelocity().y, 0.4f * fallSpeed);
    // The body's head (+y) points up.
    EXPECT_GT((jumper.GetOrientation() * CVector::UNIT_Y).y, 0.8f);
}

TEST_F(JumperTest, EveryStageDragMeetsTheWind)
{
    CPhyJumper& jumper = MakeStartingIn("FreeFall");
    Steps(600);
    const CVector wind(0, 0, 20);
    Blow(wind);
    jumper.SwitchToDeploymentState();
    physics::PhyJumperStates::CDeploymentState& deployment = jumper.GetDeployment();
    for (int stage = 0; stage < 4; ++stage)
    {
        if (stage > 0)
            jumper.GetDeploymentState()->NextStage();
        Steps(3);
        // The drag worked out after a step, for the next, is against the air its point meets now.
        const physics::CDragForce& drag = deployment.GetActiveStageForce();
        const CVector air = deployment.GetActor()->GetLocalPointVelocity(drag.GetPosition()) - wind;
        const CVector force = drag.GetForce();
        EXPECT_GT(force.Dot(air * -1.0f) / (force.Length() * air.Length()), 0.999f) << stage;
    }
}
