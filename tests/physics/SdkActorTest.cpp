#include "SdkFixture.h"

#include <cmath>
#include <functional>
#include <limits>

using sds::CQuaternion;
using sds::CVector;

namespace {

const float NaN = std::numeric_limits<float>::quiet_NaN();
const float INF = std::numeric_limits<float>::infinity();

CQuaternion AboutY(float radians)
{
    CQuaternion q;
    q.FromAngleAxis(radians, CVector::UNIT_Y);
    return q;
}

} // namespace

// The actor frame is where the shapes are posed; the centre of mass lies
// wherever the shapes put it, and velocities are those of the centre of mass.
TEST_F(SdkTest, ActorFrameIsKeptApartFromTheCentreOfMass)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f}));
    desc.m_Shapes.back().m_LocalPosition = {1.0f, 0.0f, 0.0f};
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Body->m_Mass = 2.0f;
    desc.m_Body->m_AngularDamping = 0.0f;
    desc.m_GlobalPosition = {0.0f, 5.0f, 0.0f};
    sdk::IActor* actor = m_Scene->CreateActor(desc);
    ASSERT_TRUE(actor);

    EXPECT_VECTOR_NEAR(CVector(0, 5, 0), actor->GetGlobalPosition(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(1, 0, 0), actor->GetCMassLocalPosition(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(1, 5, 0), actor->GetShapes()[0]->GetGlobalPosition(), 1e-5f);
    EXPECT_FLOAT_EQ(2.0f, actor->GetMass());

    // Spinning about the centre of mass: the actor's origin, 1 m from it, moves.
    actor->SetAngularVelocity({0.0f, 2.0f, 0.0f});
    EXPECT_VECTOR_NEAR(CVector(0, 0, 2), actor->GetLocalPointVelocity(CVector::ZERO), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(0, 0, 0), actor->GetLocalPointVelocity({1.0f, 0.0f, 0.0f}), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(0, 0, -2), actor->GetLocalPointVelocity({2.0f, 0.0f, 0.0f}), 1e-5f);

    // A quarter turn later the origin has swung round the centre of mass.
    const int steps = 47; // 47 steps of 1/60 s at 2 rad/s is about pi/2
    Step(steps);
    const float angle = 2.0f * steps / 60.0f;
    EXPECT_VECTOR_NEAR(CVector(1 - std::cos(angle), 5, std::sin(angle)), actor->GetGlobalPosition(), 1e-3f);
    EXPECT_VECTOR_NEAR(CVector(1, 5, 0), actor->GetShapes()[0]->GetGlobalPosition(), 1e-3f);

    // Setting the pose places the actor's frame, not the centre of mass.
    actor->SetGlobalPose({10.0f, 0.0f, 0.0f}, AboutY(0.0f));
    EXPECT_VECTOR_NEAR(CVector(10, 0, 0), actor->GetGlobalPosition(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(11, 0, 0), actor->GetShapes()[0]->GetGlobalPosition(), 1e-5f);
}

TEST_F(SdkTest, MassFromShapesPlacesTheCentreOfMass)
{
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f}));
    desc.m_Shapes.back().m_LocalPosition = {-1.0f, 0.0f, 0.0f};
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.5f, 0.5f, 0.5f}));
    desc.m_Shapes.back().m_LocalPosition = {1.0f, 0.0f, 0.0f};
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Density = 2.0f;
    desc.m_GlobalPosition = {0.0f, 3.0f, 0.0f};
    sdk::IActor* actor = m_Scene->CreateActor(desc);
    ASSERT_TRUE(actor);
    EXPECT_FLOAT_EQ(4.0f, actor->GetMass()); // two 1 m3 boxes of density 2
    EXPECT_VECTOR_NEAR(CVector::ZERO, actor->GetCMassLocalPosition(), 1e-5f);

    // A given total spread by volume: the centre of mass stays between equal boxes.
    ASSERT_TRUE(actor->UpdateMassFromShapes(0.0f, 80.0f));
    EXPECT_FLOAT_EQ(80.0f, actor->GetMass());
    EXPECT_VECTOR_NEAR(CVector::ZERO, actor->GetCMassLocalPosition(), 1e-5f);

    // Densities of their own pull it towards the heavier box; the actor stays put.
    ASSERT_TRUE(actor->UpdateMassFromShapes(0.0f, 0.0f)); // each shape's density 1
    EXPECT_FLOAT_EQ(2.0f, actor->GetMass());
    EXPECT_VECTOR_NEAR(CVector(0, 3, 0), actor->GetGlobalPosition(), 1e-5f);
    EXPECT_VECTOR_NEAR(CVector(1, 3, 0), actor->GetShapes()[1]->GetGlobalPosition(), 1e-5f);

    // Spheres and capsules weigh their volume times their density.
    sdk::CActorDesc round;
    round.m_Shapes.push_back(sdk::CShapeDesc::Sphere(1.0f));
    round.m_Body = sdk::CBodyDesc();
    EXPECT_NEAR(4.18879f, m_Scene->CreateActor(round)->GetMass(), 1e-4f);
    round.m_Shapes[0] = sdk::CShapeDesc::Capsule(0.5f, 1.0f);
    round.m_Shapes[0].m_Density = 2.0f;
    EXPECT_NEAR(2.0f * float(M_PI) * 0.25f * (1.0f + 2.0f / 3.0f), m_Scene->CreateActor(round)->GetMass(), 1e-4f);

    EXPECT_FALSE(Box({0, 0, 0}, {1, 1, 1})->UpdateMassFromShapes(0.0f, 5.0f));
    EXPECT_TRUE(m_Output.HasContaining("UpdateMassFromShapes: the actor is static"));
}

// A force pushes for the next step only; its point decides the spin.
TEST_F(SdkTest, ForcesActForOneStep)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::IActor* body = Box({0, 0, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    body->AddForceAtLocalPos({10.0f, 0.0f, 0.0f}, CVector::ZERO);
    Step(1, 0.1f);
    EXPECT_VECTOR_NEAR(CVector(1, 0, 0), body->GetLinearVelocity(), 1e-4f);
    Step(5, 0.1f);
    EXPECT_VECTOR_NEAR(CVector(1, 0, 0), body->GetLinearVelocity(), 1e-4f);

    // Off the centre, the same push also turns the body.
    sdk::IActor* spun = Box({5, 0, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    spun->AddForceAtLocalPos({0.0f, 0.0f, 10.0f}, {0.5f, 0.0f, 0.0f});
    Step(1, 0.1f);
    EXPECT_NEAR(1.0f, spun->GetLinearVelocity().z, 1e-4f);
    EXPECT_LT(spun->GetAngularVelocity().y, -1.0f);

    // A force in the actor's axes turns with the actor: local x of a body
    // turned a quarter about y is world -z.
    sdk::IActor* turned = Box({-5, 0, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    turned->SetGlobalOrientation(AboutY(float(M_PI) / 2));
    turned->AddLocalForceAtLocalPos({10.0f, 0.0f, 0.0f}, CVector::ZERO);
    Step(1, 0.1f);
    EXPECT_VECTOR_NEAR(CVector(0, 0, -1), turned->GetLinearVelocity(), 1e-4f);
}

TEST_F(SdkTest, DampingIsARatePerSecond)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::IActor* body = Box({0, 0, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    body->SetLinearDamping(1.0f);
    body->SetLinearVelocity({10.0f, 0.0f, 0.0f});
    Step(60);
    EXPECT_NEAR(10.0f * std::exp(-1.0f), body->GetLinearVelocity().x, 0.05f);
}

// Body and actor flags switch at run time, and a jointed body keeps its joint.
TEST_F(SdkTest, FlagsSwitchAtRunTime)
{
    Ground();
    sdk::IActor* body = Box({0, 5, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);

    body->RaiseBodyFlag(sdk::BF_DISABLE_GRAVITY);
    Step(30);
    EXPECT_NEAR(5.0f, body->GetGlobalPosition().y, 1e-4f);
    body->ClearBodyFlag(sdk::BF_DISABLE_GRAVITY);
    Step(30);
    EXPECT_LT(body->GetGlobalPosition().y, 4.0f);

    body->SetGlobalPosition({0, 5, 0});
    body->SetLinearVelocity({1.0f, -1.0f, 0.0f});
    body->RaiseBodyFlag(sdk::BF_FROZEN_POS_Y);
    Step(30);
    EXPECT_NEAR(5.0f, body->GetGlobalPosition().y, 1e-4f);
    EXPECT_GT(body->GetGlobalPosition().x, 0.4f);
    body->ClearBodyFlag(sdk::BF_FROZEN_POS_Y);
    body->SetLinearVelocity(CVector::ZERO);

    // Without collision it falls through the ground; with collision again it lands.
    body->RaiseActorFlag(sdk::AF_DISABLE_COLLISION);
    Step(120);
    EXPECT_LT(body->GetGlobalPosition().y, -1.0f);
    body->ClearActorFlag(sdk::AF_DISABLE_COLLISION);
    body->SetGlobalPosition({0, 2, 0});
    body->SetLinearVelocity(CVector::ZERO);
    Step(120);
    EXPECT_NEAR(0.5f, body->GetGlobalPosition().y, 0.05f);

    // Kinematic and back, keeping a joint to a second body.
    sdk::IActor* second = Box({0, 0.5f, 3}, {0.5f, 0.5f, 0.5f}, 1.0f);
    sdk::CJointDesc fixed(sdk::JOINT_FIXED);
    fixed.m_Actors[0] = body;
    fixed.m_Actors[1] = second;
    sdk::IJoint* joint = m_Scene->CreateJoint(fixed);
    ASSERT_TRUE(joint);
    body->RaiseBodyFlag(sdk::BF_KINEMATIC);
    EXPECT_TRUE(body->ReadBodyFlag(sdk::BF_KINEMATIC));
    body->SetGlobalPosition({0, 4, 0});
    Step(60);
    EXPECT_NEAR(4.0f, body->GetGlobalPosition().y, 1e-4f); // no gravity, no push moves it
    EXPECT_NEAR(4.0f, second->GetGlobalPosition().y, 0.05f); // held by the joint
    body->ClearBodyFlag(sdk::BF_KINEMATIC);
    EXPECT_FLOAT_EQ(1.0f, body->GetMass());
    Step(120);
    EXPECT_EQ(sdk::JS_SIMULATING, joint->GetState());
    EXPECT_NEAR(3.0f, Distance(body->GetGlobalPosition(), second->GetGlobalPosition()), 0.05f);
    EXPECT_LT(body->GetGlobalPosition().y, 1.0f);
}

TEST_F(SdkTest, KinematicActorPushesDynamicOnes)
{
    Ground();
    sdk::IActor* pusher = Box({-2, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, 10.0f);
    pusher->RaiseBodyFlag(sdk::BF_KINEMATIC);
    sdk::IActor* box = Box({0, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    Step(30);
    for (int i = 1; i <= 120; ++i)
    {
        pusher->MoveGlobalPosition({-2.0f + i * 0.025f, 0.5f, 0.0f}); // 1.5 m/s
        Step();
    }
    EXPECT_NEAR(1.0f, pusher->GetGlobalPosition().x, 1e-4f);
    EXPECT_NEAR(1.5f, pusher->GetLinearVelocity().x, 0.01f);
    EXPECT_GT(box->GetGlobalPosition().x, 1.9f); // pushed ahead of the pusher
    EXPECT_NEAR(0.5f, box->GetGlobalPosition().y, 0.1f);

    // A turn moved to is taken at the speed that reaches it in one step.
    pusher->MoveGlobalOrientation(AboutY(0.1f));
    Step();
    EXPECT_NEAR(6.0f, pusher->GetAngularVelocity().y, 0.01f);
    Step();
    EXPECT_NEAR(0.0f, pusher->GetAngularVelocity().y, 1e-4f);

    box->MoveGlobalPosition({5, 5, 5});
    EXPECT_TRUE(m_Output.HasContaining("MoveGlobalPosition: the actor is not kinematic"));
}

// Nothing non-finite reaches the engine: each kind of bad call is reported,
// as a bad parameter naming the call, and dropped.
TEST_F(SdkTest, NonFiniteValuesAreDropped)
{
    sdk::IActor* body = Box({0, 5, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    body->RaiseBodyFlag(sdk::BF_DISABLE_GRAVITY);
    struct CCall
    {
        const char* m_Report;
        std::function<void(const CVector&)> m_Call;
    };
    const CCall calls[] = {
        {"SetGlobalPosition: position", [&](const CVector& v) { body->SetGlobalPosition(v); }},
        {"SetGlobalPose: pose", [&](const CVector& v) { body->SetGlobalPose(v, CQuaternion::IDENTITY); }},
        {"SetGroupPose: pose", [&](const CVector& v) { body->SetGroupPose(v, CQuaternion::IDENTITY); }},
        {"SetLinearVelocity: velocity", [&](const CVector& v) { body->SetLinearVelocity(v); }},
        {"SetAngularVelocity: velocity", [&](const CVector& v) { body->SetAngularVelocity(v); }},
        {"SetGroupVelocity: velocity", [&](const CVector& v) { body->SetGroupVelocity(v, CVector::ZERO); }},
        {"AddForceAtLocalPos: force", [&](const CVector& v) { body->AddForceAtLocalPos(v, CVector::ZERO); }},
        {"AddForceAtLocalPos: force (1,0,0) at", [&](const CVector& v) { body->AddForceAtLocalPos({1, 0, 0}, v); }},
        {"AddLocalForceAtLocalPos: force", [&](const CVector& v) { body->AddLocalForceAtLocalPos(v, CVector::ZERO); }},
        {"SetGlobalOrientation: orientation",
         [&](const CVector& v) { body->SetGlobalOrientation({v.x, v.y, v.z, 0}); }},
        {"SetLinearDamping:", [&](const CVector& v) { body->SetLinearDamping(v.x + v.y + v.z); }},
        {"SetGravity: gravity", [&](const CVector& v) { m_Scene->SetGravity(v); }},
    };
    for (const CCall& call : calls)
        for (const CVector& bad : {CVector(NaN, 0, 0), CVector(0, INF, 0), CVector(0, 0, -INF)})
        {
            SCOPED_TRACE(call.m_Report);
            m_Output.m_Errors.clear();
            m_Output.m_Codes.clear();
            call.m_Call(bad);
            ASSERT_EQ(1u, m_Output.m_Errors.size());
            EXPECT_EQ(0u, m_Output.m_Errors[0].find(call.m_Report)) << m_Output.m_Errors[0];
            EXPECT_EQ(sdk::ERR_INVALID_PARAMETER, m_Output.m_Codes[0]);
        }
    body->AddForceAtLocalPos({NaN, 0, 0}, CVector::ZERO);
    EXPECT_TRUE(m_Output.HasContaining("AddForceAtLocalPos: force (nan,0,0) at (0,0,0) dropped"));
    body->SetGlobalOrientation(CQuaternion::ZERO);
    EXPECT_TRUE(m_Output.HasContaining("SetGlobalOrientation: orientation (0,0,0,0) dropped"));
    Step(10);
    EXPECT_VECTOR_NEAR(CVector(0, 5, 0), body->GetGlobalPosition(), 1e-6f);
    EXPECT_VECTOR_NEAR(CVector::ZERO, body->GetLinearVelocity(), 1e-6f);
    EXPECT_EQ(CQuaternion::IDENTITY, body->GetGlobalOrientation());

    m_Output.m_Errors.clear();
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    desc.m_GlobalPosition = {NaN, 0, 0};
    EXPECT_FALSE(m_Scene->CreateActor(desc));
    EXPECT_TRUE(m_Output.HasContaining("CreateActor: pose (nan,0,0)"));
    m_Scene->Simulate(NaN);
    EXPECT_TRUE(m_Output.HasContaining("Simulate: step nan dropped"));
}

TEST_F(SdkTest, DescriptorsThatCannotBeBuiltAreRefused)
{
    struct CCase
    {
        const char* m_Reason;
        sdk::CActorDesc m_Desc;
    };
    std::vector<CCase> cases;
    cases.push_back({"an actor needs a shape", {}});

    sdk::CActorDesc flat;
    flat.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 0, 1}));
    cases.push_back({"box half extents (1,0,1) are not positive", flat});

    sdk::CActorDesc movingPlane;
    movingPlane.m_Shapes.push_back(sdk::CShapeDesc::Plane(CVector::UNIT_Y, 0));
    movingPlane.m_Body = sdk::CBodyDesc();
    cases.push_back({"a plane belongs to a static actor", movingPlane});

    sdk::CActorDesc mixed;
    mixed.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    mixed.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    mixed.m_Shapes.back().m_Flags |= sdk::SF_TRIGGER_ENABLE;
    cases.push_back({"an actor's shapes are all triggers or none", mixed});

    sdk::CActorDesc massless;
    massless.m_Shapes.push_back(sdk::CShapeDesc::Box({1, 1, 1}));
    massless.m_Shapes.back().m_Density = 0.0f;
    massless.m_Body = sdk::CBodyDesc();
    cases.push_back({"the shapes give no mass", massless});

    for (const CCase& c : cases)
    {
        EXPECT_FALSE(m_Scene->CreateActor(c.m_Desc)) << c.m_Reason;
        EXPECT_TRUE(m_Output.HasContaining(c.m_Reason)) << c.m_Reason;
    }
    EXPECT_TRUE(m_Scene->GetActors().empty());
}

TEST_F(SdkTest, MaterialsCombineByAverage)
{
    const std::uint16_t grip = m_Scene->CreateMaterial({0.0f, 1.0f, 1.0f});
    const std::uint16_t ice = m_Scene->CreateMaterial({0.0f, 0.0f, 0.0f});
    EXPECT_EQ(1, grip);
    EXPECT_EQ(2, ice);
    EXPECT_EQ(3, m_Scene->GetMaterialCount());
    m_Scene->SetMaterial(0, {0.0f, 0.0f, 0.0f});

    // A 15 degree slope: grip (average friction 0.5) holds, ice (0) slides.
    CQuaternion slope;
    slope.FromAngleAxis(float(M_PI) / 12, CVector::UNIT_Z);
    sdk::CActorDesc ramp;
    ramp.m_Shapes.push_back(sdk::CShapeDesc::Box({20, 0.5f, 20}));
    ramp.m_GlobalOrientation = slope;
    ASSERT_TRUE(m_Scene->CreateActor(ramp));
    sdk::IActor* held = Box(slope * CVector(0, 1.01f, -3), {0.5f, 0.5f, 0.5f}, 1.0f, grip);
    sdk::IActor* sliding = Box(slope * CVector(0, 1.01f, 3), {0.5f, 0.5f, 0.5f}, 1.0f, ice);
    held->SetGlobalOrientation(slope);
    sliding->SetGlobalOrientation(slope);
    const CVector heldStart = held->GetGlobalPosition();
    const CVector slidingStart = sliding->GetGlobalPosition();
    Step(60);
    EXPECT_LT(Distance(heldStart, held->GetGlobalPosition()), 0.05f);
    EXPECT_GT(Distance(slidingStart, sliding->GetGlobalPosition()), 1.0f);
}

// A box resting on a 20 degree slope (sunk by the skin width, as resting
// shapes are) stays put while the static friction (0.6) holds it; set
// sliding, it slides on, the dynamic friction (0.1) too weak to stop it.
TEST_F(SdkTest, StaticFrictionHoldsWhatDoesNotSlide)
{
    m_Scene->SetMaterial(0, {0.0f, 0.6f, 0.1f});
    const CQuaternion slope = []() {
        CQuaternion q;
        q.FromAngleAxis(20.0f * float(M_PI) / 180.0f, CVector::UNIT_Z);
        return q;
    }();
    sdk::CActorDesc ramp;
    ramp.m_Shapes.push_back(sdk::CShapeDesc::Box({20, 0.5f, 20}));
    ramp.m_GlobalOrientation = slope;
    ASSERT_TRUE(m_Scene->CreateActor(ramp));
    const float rest = 1.0f - m_Sdk->GetParameter(sdk::PARAM_SKIN_WIDTH);
    sdk::IActor* resting = Box(slope * CVector(0, rest, -3), {0.5f, 0.5f, 0.5f}, 1.0f);
    sdk::IActor* pushed = Box(slope * CVector(0, rest, 3), {0.5f, 0.5f, 0.5f}, 1.0f);
    for (sdk::IActor* box : {resting, pushed})
        box->SetGlobalOrientation(slope);
    pushed->SetLinearVelocity(slope * CVector(-2.0f, 0, 0)); // down the slope
    const CVector restingAt = resting->GetGlobalPosition();
    const CVector pushedAt = pushed->GetGlobalPosition();
    Step(60);
    EXPECT_LT(Distance(restingAt, resting->GetGlobalPosition()), 0.02f);
    EXPECT_GT(Distance(pushedAt, pushed->GetGlobalPosition()), 3.0f);
}
