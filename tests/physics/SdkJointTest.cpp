#include "SdkFixture.h"

#include <cfloat>
#include <cmath>

using sds::CQuaternion;
using sds::CVector;

namespace {

sdk::CJointDesc MakeJoint(sdk::EJointType type, sdk::IActor* first, sdk::IActor* second)
{
    sdk::CJointDesc desc(type);
    desc.m_Actors[0] = first;
    desc.m_Actors[1] = second;
    return desc;
}

CQuaternion AboutAxis(float radians, const CVector& axis)
{
    CQuaternion q;
    q.FromAngleAxis(radians, axis);
    return q;
}

// The angle of `q` about the y axis.
float YawOf(const CQuaternion& q) { return 2.0f * std::atan2(q.y, q.w); }

} // namespace

// A canopy cell is a light box held to the heavy body by a fixed joint; the
// lift on the cell carries the body.
TEST_F(SdkTest, FixedJointHoldsUnderFiveKilonewtons)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::IActor* body = Box({0, 100, 0}, {0.15f, 0.75f, 0.25f}, 80.0f);
    sdk::IActor* cell = Box({0, 103, 0}, {0.5f, 0.1f, 1.0f}, 1.0f);
    ASSERT_TRUE(m_Scene->CreateJoint(MakeJoint(sdk::JOINT_FIXED, body, cell)));
    // A cell held to the world, pushed sideways off its centre.
    sdk::IActor* held = Box({10, 3, 0}, {0.5f, 0.1f, 1.0f}, 1.0f);
    ASSERT_TRUE(m_Scene->CreateJoint(MakeJoint(sdk::JOINT_FIXED, nullptr, held)));
    float worst = 0.0f;
    for (int i = 0; i < 120; ++i)
    {
        cell->AddForceAtLocalPos({0.0f, 5000.0f, 0.0f}, CVector::ZERO);
        held->AddForceAtLocalPos({5000.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.5f});
        Step();
        const CVector offset = body->GetGlobalOrientation().Inverse() * (cell->GetGlobalPosition() - body->GetGlobalPosition());
        worst = std::max(worst, Distance({0, 3, 0}, offset));
        worst = std::max(worst, Distance({10, 3, 0}, held->GetGlobalPosition()));
    }
    EXPECT_LT(worst, 0.01f);
    EXPECT_GT(body->GetLinearVelocity().y, 100.0f); // the cell carried the body
}

// A canopy of seven cells of 0.7 kg on a body turning at 5 rad/s, under
// 2 kN of lift pulled sideways on one side: each cell stays within a
// centimetre of its place and moves with the body instead of wobbling about it.
TEST_F(SdkTest, FixedJointsHoldLightCellsOnATurningBody)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::IActor* body = Box({0, 100, 0}, {0.15f, 0.65f, 0.25f}, 80.0f);
    std::vector<sdk::IActor*> cells;
    std::vector<CVector> places;
    for (int i = 0; i < 7; ++i)
    {
        const float x = (float(i) - 3.0f) * 0.45f;
        places.push_back({x, 4.0f - 0.08f * x * x, 0.0f});
        cells.push_back(Box(CVector(0, 100, 0) + places.back(), {0.2f, 0.1f, 1.25f}, 0.7f));
        ASSERT_TRUE(m_Scene->CreateJoint(MakeJoint(sdk::JOINT_FIXED, body, cells.back())));
    }
    body->SetAngularVelocity({0.0f, 5.0f, 0.0f});
    float worstPlace = 0.0f, worstWobble = 0.0f;
    for (int step = 0; step < 300; ++step)
    {
        const CQuaternion turn = body->GetGlobalOrientation();
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i]->AddForceAtLocalPos(turn * CVector(i < 3 ? 100.0f : 0.0f, 300.0f, 0.0f), {0.0f, 0.0f, 0.6f});
        Step();
        const CVector centre = body->GetGlobalPosition() + body->GetGlobalOrientation() * body->GetCMassLocalPosition();
        for (std::size_t i = 0; i < cells.size(); ++i)
        {
            const CVector offset = body->GetGlobalOrientation().Inverse() *
                                   (cells[i]->GetGlobalPosition() - body->GetGlobalPosition());
            worstPlace = std::max(worstPlace, Distance(places[i], offset));
            const CVector carried =
                body->GetLinearVelocity() + body->GetAngularVelocity().Cross(cells[i]->GetGlobalPosition() - centre);
            worstWobble = std::max(worstWobble, Distance(carried, cells[i]->GetLinearVelocity()));
        }
    }
    EXPECT_LT(worstPlace, 0.01f);
    EXPECT_LT(worstWobble, 0.05f);
    EXPECT_GT(body->GetAngularVelocity().Length(), 4.0f); // still turning fast
}

// The inactive canopy body follows the jumper carrying its cells: the body
// and all it is jointed to move as one piece, the rest stays.
TEST_F(SdkTest, AnActorMovesWithWhatIsJointedToIt)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::IActor* body = Box({0, 10, 0}, {0.15f, 0.65f, 0.25f}, 80.0f);
    sdk::IActor* cell = Box({-1, 14, 0}, {0.2f, 0.1f, 1.0f}, 1.0f);
    sdk::IActor* outer = Box({-2, 14, 0}, {0.2f, 0.1f, 1.0f}, 1.0f); // on the cell, not the body
    sdk::IActor* chute = Box({-1, 16, 0}, {0.1f, 0.1f, 0.1f}, 0.5f);
    sdk::IActor* loose = Box({5, 10, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    sdk::IActor* torn = Box({1, 14, 0}, {0.2f, 0.1f, 1.0f}, 1.0f);
    sdk::IActor* mast = Box({0, 0, 0}, {0.1f, 1.0f, 0.1f}); // static: the group ends there
    ASSERT_TRUE(m_Scene->CreateJoint(MakeJoint(sdk::JOINT_FIXED, body, cell)));
    ASSERT_TRUE(m_Scene->CreateJoint(MakeJoint(sdk::JOINT_FIXED, cell, outer)));
    sdk::CJointDesc ball = MakeJoint(sdk::JOINT_SPHERICAL, cell, chute);
    ball.SetGlobalAnchor({-1, 15, 0});
    ASSERT_TRUE(m_Scene->CreateJoint(ball));
    sdk::CJointDesc weak = MakeJoint(sdk::JOINT_FIXED, body, torn);
    weak.m_MaxForce = 1.0f;
    sdk::IJoint* tearing = m_Scene->CreateJoint(weak);
    sdk::CJointDesc line = MakeJoint(sdk::JOINT_DISTANCE, mast, outer);
    line.m_MaxDistance = 1000.0f;
    line.m_Flags = sdk::DISTANCE_MAX_ENABLED;
    ASSERT_TRUE(m_Scene->CreateJoint(line));
    ASSERT_TRUE(m_Scene->CreateJoint(MakeJoint(sdk::JOINT_FIXED, mast, loose)));
    torn->AddForceAtLocalPos({100, 0, 0}, CVector::ZERO);
    Step();
    ASSERT_EQ(sdk::JS_BROKEN, tearing->GetState());

    const std::vector<sdk::IActor*> group = {cell, outer, chute};
    std::vector<CVector> offsets;
    for (sdk::IActor* member : group)
        offsets.push_back(body->GetGlobalOrientation().Inverse() * (member->GetGlobalPosition() - body->GetGlobalPosition()));
    const CVector tornAt = torn->GetGlobalPosition();
    const CVector looseAt = loose->GetGlobalPosition();

    const CQuaternion turned = AboutAxis(float(M_PI) / 2, CVector::UNIT_Z);
    body->SetGroupPose({100, 50, 0}, turned);
    EXPECT_VECTOR_NEAR(CVector(100, 50, 0), body->GetGlobalPosition(), 1e-4f);
    for (std::size_t i = 0; i < group.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_VECTOR_NEAR(CVector(100, 50, 0) + turned * offsets[i], group[i]->GetGlobalPosition(), 1e-4f);
        const CQuaternion q = group[i]->GetGlobalOrientation();
        EXPECT_NEAR(1.0f, std::fabs(turned.w * q.w + turned.x * q.x + turned.y * q.y + turned.z * q.z), 1e-5f);
    }
    EXPECT_VECTOR_NEAR(tornAt, torn->GetGlobalPosition(), 1e-3f);
    EXPECT_VECTOR_NEAR(looseAt, loose->GetGlobalPosition(), 1e-6f);
    EXPECT_VECTOR_NEAR(CVector(0, 0, 0), mast->GetGlobalPosition(), 1e-6f);

    // Set going as one piece, it moves as one: the welded cells stay in place.
    body->SetGroupVelocity({0, 0, -10}, {0, 2, 0});
    const CVector centre = body->GetGlobalPosition() + body->GetGlobalOrientation() * body->GetCMassLocalPosition();
    for (sdk::IActor* member : group)
    {
        EXPECT_VECTOR_NEAR(CVector(0, 0, -10) + CVector(0, 2, 0).Cross(member->GetGlobalPosition() - centre),
                           member->GetLinearVelocity(), 1e-3f);
        EXPECT_VECTOR_NEAR(CVector(0, 2, 0), member->GetAngularVelocity(), 1e-5f);
    }
    EXPECT_EQ(CVector::ZERO, loose->GetLinearVelocity());
    Step(30);
    for (std::size_t i = 0; i < 2; ++i)
    {
        SCOPED_TRACE(i);
        const CVector offset =
            body->GetGlobalOrientation().Inverse() * (group[i]->GetGlobalPosition() - body->GetGlobalPosition());
        EXPECT_VECTOR_NEAR(offsets[i], offset, 0.01f);
    }
    EXPECT_NEAR(2.0f, body->GetAngularVelocity().y, 0.05f);
}

// The pilot chute hangs from the canopy by a ball joint whose twist is locked
// and whose limit plane keeps it above the canopy.
TEST_F(SdkTest, SphericalJointWithTwistLockAndLimitPlane)
{
    sdk::IActor* canopy = Box({0, 10, 0}, {1, 0.1f, 1});
    auto hang = [&](bool plane) {
        sdk::IActor* chute = Box({0, 11, 0}, {0.1f, 0.1f, 0.1f}, 0.5f);
        sdk::CJointDesc desc = MakeJoint(sdk::JOINT_SPHERICAL, canopy, chute);
        desc.SetGlobalAnchor({0, 10, 0});
        desc.SetGlobalAxis(CVector::UNIT_Y);
        desc.m_Flags = sdk::SPHERICAL_TWIST_LIMIT_ENABLED | sdk::SPHERICAL_TWIST_SPRING_ENABLED;
        desc.m_Spring = {500.0f, 0.5f, 0.0f};
        sdk::IJoint* joint = m_Scene->CreateJoint(desc);
        EXPECT_TRUE(joint);
        if (plane)
        {
            EXPECT_TRUE(joint->AddLimitPlane(CVector::UNIT_Y, {0, 10, 0}));
            EXPECT_EQ(1u, joint->GetLimitPlaneCount());
        }
        chute->SetLinearVelocity({1.0f, 0.0f, 0.0f});
        chute->SetAngularVelocity({0.0f, 5.0f, 0.0f});
        return chute;
    };
    auto lowest = [this](sdk::IActor* chute) {
        float y = chute->GetGlobalPosition().y;
        for (int i = 0; i < 180; ++i, Step())
            y = std::min(y, chute->GetGlobalPosition().y);
        return y;
    };
    sdk::IActor* limited = hang(true);
    EXPECT_GT(lowest(limited), 9.98f); // never below the plane
    const CVector p = limited->GetGlobalPosition();
    EXPECT_NEAR(1.0f, Distance(p, {0, 10, 0}), 0.02f); // still on the joint
    EXPECT_GT(p.x, 0.9f);                               // fallen over onto the plane
    EXPECT_NEAR(0.0f, YawOf(limited->GetGlobalOrientation()), 0.05f); // the twist held

    m_Scene->ReleaseActor(*limited);
    sdk::IActor* free = hang(false);
    EXPECT_LT(lowest(free), 9.1f); // swings down below without the plane
}

TEST_F(SdkTest, DistanceJointKeepsItsLimits)
{
    m_Scene->SetGravity(CVector::ZERO);
    sdk::IActor* a = Box({0, 0, 0}, {0.2f, 0.2f, 0.2f}, 1.0f);
    sdk::IActor* b = Box({0, 2, 0}, {0.2f, 0.2f, 0.2f}, 1.0f);
    sdk::CJointDesc desc = MakeJoint(sdk::JOINT_DISTANCE, a, b);
    desc.m_MinDistance = 1.0f;
    desc.m_MaxDistance = 3.0f;
    desc.m_Flags = sdk::DISTANCE_MIN_ENABLED | sdk::DISTANCE_MAX_ENABLED;
    ASSERT_TRUE(m_Scene->CreateJoint(desc));

    b->SetLinearVelocity({0, 5, 0});
    Step(60);
    EXPECT_NEAR(3.0f, Distance(a->GetGlobalPosition(), b->GetGlobalPosition()), 0.05f);
    b->SetLinearVelocity({0, -10, 0});
    a->SetLinearVelocity(CVector::ZERO);
    Step(60);
    EXPECT_NEAR(1.0f, Distance(a->GetGlobalPosition(), b->GetGlobalPosition()), 0.05f);

    // With the spring, the limits still hold, and within them the line is
    // slack: the spring's target is not used (a line that pulled a collapsing
    // canopy towards its jumper would lay it over him). A 75 kg body on
    // 100 N/m and a 1 kg weight whose spring aims at 1 m both hang at the end
    // of their 2 m lines.
    m_Scene->SetGravity({0, -9.8f, 0});
    const auto hang = [this](float x, float mass, float target) {
        sdk::IActor* hook = Box({x, 10, 0}, {0.1f, 0.1f, 0.1f});
        sdk::IActor* weight = Box({x, 9, 0}, {0.1f, 0.1f, 0.1f}, mass);
        sdk::CJointDesc line = MakeJoint(sdk::JOINT_DISTANCE, hook, weight);
        line.m_MinDistance = 0.2f;
        line.m_MaxDistance = 2.0f;
        line.m_Flags = sdk::DISTANCE_MIN_ENABLED | sdk::DISTANCE_MAX_ENABLED | sdk::DISTANCE_SPRING_ENABLED;
        line.m_Spring = {100.0f, 5.0f, target};
        EXPECT_TRUE(m_Scene->CreateJoint(line));
        return std::make_pair(hook, weight);
    };
    const auto heavy = hang(10, 75.0f, 0.0f);
    const auto light = hang(20, 1.0f, 1.0f);
    float farthest = 0.0f;
    for (int i = 0; i < 600; ++i, Step())
        farthest = std::max(farthest, Distance(heavy.first->GetGlobalPosition(), heavy.second->GetGlobalPosition()));
    EXPECT_LT(farthest, 2.02f);
    EXPECT_NEAR(2.0f, Distance(heavy.first->GetGlobalPosition(), heavy.second->GetGlobalPosition()), 0.01f);
    EXPECT_NEAR(2.0f, Distance(light.first->GetGlobalPosition(), light.second->GetGlobalPosition()), 0.01f);
}

TEST_F(SdkTest, RevolutePrismaticAndBreakableJoints)
{
    m_Scene->SetGravity(CVector::ZERO);

    // A motor turns a wheel about the joint axis only.
    sdk::IActor* wheel = Box({0, 0, 0}, {0.5f, 0.5f, 0.1f}, 1.0f);
    sdk::CJointDesc revolute = MakeJoint(sdk::JOINT_REVOLUTE, nullptr, wheel);
    revolute.SetGlobalAnchor(CVector::ZERO);
    revolute.SetGlobalAxis(CVector::UNIT_Z);
    revolute.m_Flags = sdk::REVOLUTE_MOTOR_ENABLED;
    revolute.m_Motor = {3.0f, 100.0f};
    ASSERT_TRUE(m_Scene->CreateJoint(revolute));
    wheel->AddForceAtLocalPos({10, 0, 0}, {0, 0, 0.5f}); // tries to tip it over
    Step(60);
    EXPECT_VECTOR_NEAR(CVector(0, 0, 3), wheel->GetAngularVelocity(), 0.05f);
    EXPECT_VECTOR_NEAR(CVector::ZERO, wheel->GetGlobalPosition(), 0.01f);

    // A prismatic joint lets a body slide along its axis only.
    sdk::IActor* slider = Box({5, 0, 0}, {0.2f, 0.2f, 0.2f}, 1.0f);
    sdk::CJointDesc prismatic = MakeJoint(sdk::JOINT_PRISMATIC, nullptr, slider);
    prismatic.SetGlobalAnchor({5, 0, 0});
    prismatic.SetGlobalAxis(CVector::UNIT_X);
    ASSERT_TRUE(m_Scene->CreateJoint(prismatic));
    slider->SetLinearVelocity({1, 1, 1});
    Step(60);
    EXPECT_VECTOR_NEAR(CVector(6, 0, 0), slider->GetGlobalPosition(), 0.02f);

    // Break limits: what the joint had to hold against passes them.
    sdk::IActor* anchor = Box({-5, 0, 0}, {0.2f, 0.2f, 0.2f});
    sdk::IActor* weak = Box({-5, 1, 0}, {0.2f, 0.2f, 0.2f}, 1.0f);
    sdk::IActor* strong = Box({-5, -1, 0}, {0.2f, 0.2f, 0.2f}, 1.0f);
    sdk::CJointDesc fixed = MakeJoint(sdk::JOINT_FIXED, anchor, weak);
    fixed.m_MaxForce = 100.0f;
    sdk::IJoint* breaks = m_Scene->CreateJoint(fixed);
    fixed.m_Actors[1] = strong;
    fixed.m_MaxForce = 1000.0f;
    sdk::IJoint* holds = m_Scene->CreateJoint(fixed);
    float maxForce = 0, maxTorque = 0;
    breaks->GetBreakable(maxForce, maxTorque);
    EXPECT_EQ(100.0f, maxForce);
    EXPECT_EQ(FLT_MAX, maxTorque);
    for (int i = 0; i < 10; ++i)
    {
        weak->AddForceAtLocalPos({0, 500, 0}, CVector::ZERO);
        strong->AddForceAtLocalPos({0, -500, 0}, CVector::ZERO);
        Step();
    }
    EXPECT_EQ(sdk::JS_BROKEN, breaks->GetState());
    EXPECT_EQ(sdk::JS_SIMULATING, holds->GetState());
    EXPECT_GT(weak->GetGlobalPosition().y, 1.5f);
    EXPECT_NEAR(-1.0f, strong->GetGlobalPosition().y, 0.01f);
}

// Joined actors do not collide unless asked, and collide again once the joint
// goes; an actor released under a joint leaves it unbound, and pairs can
// ignore each other.
TEST_F(SdkTest, JointAndPairCollisionRules)
{
    Ground();
    // Two boxes stacked at x, the upper joined to the lower by a loose rope.
    struct Stack {
        sdk::IActor* lower;
        sdk::IActor* upper;
        sdk::IJoint* joint;
    };
    auto stack = [this](float x) {
        sdk::IActor* lower = Box({x, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
        sdk::IActor* upper = Box({x, 1.5f, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
        sdk::CJointDesc desc = MakeJoint(sdk::JOINT_DISTANCE, lower, upper);
        desc.m_MaxDistance = 5.0f;
        desc.m_Flags = sdk::DISTANCE_MAX_ENABLED;
        return Stack{lower, upper, m_Scene->CreateJoint(desc)};
    };
    const Stack first = stack(0);
    sdk::IActor* lower = first.lower;
    sdk::IActor* upper = first.upper;
    sdk::IJoint* joint = first.joint;
    Step(120);
    EXPECT_LT(upper->GetGlobalPosition().y, 1.0f); // fell into the lower box

    // Released, the joint no longer keeps the two apart: the upper box is
    // pushed back out onto the lower, however long their pair was ignored.
    const Stack second = stack(2);
    sdk::IActor* sunk = second.upper;
    sdk::IJoint* held = second.joint;
    Step(12);
    ASSERT_LT(sunk->GetGlobalPosition().y, 1.4f);
    m_Scene->ReleaseJoint(*held);
    Step(120);
    EXPECT_NEAR(1.5f, sunk->GetGlobalPosition().y, 0.1f);

    m_Scene->ReleaseActor(*lower);
    EXPECT_EQ(sdk::JS_UNBOUND, joint->GetState());
    EXPECT_EQ(nullptr, joint->GetActor(0));
    Step(10);
    m_Scene->ReleaseJoint(*joint);

    sdk::IActor* table = Box({5, 0.5f, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    sdk::IActor* ghost = Box({5, 1.6f, 0}, {0.5f, 0.5f, 0.5f}, 1.0f);
    m_Scene->SetActorPairFlags(*table, *ghost, sdk::PAIR_IGNORE);
    EXPECT_EQ(sdk::PAIR_IGNORE, m_Scene->GetActorPairFlags(*ghost, *table));
    Step(120);
    EXPECT_LT(ghost->GetGlobalPosition().y, 1.0f);
    EXPECT_NEAR(0.5f, table->GetGlobalPosition().y, 0.05f);

    sdk::CJointDesc bad = MakeJoint(sdk::JOINT_FIXED, nullptr, nullptr);
    EXPECT_FALSE(m_Scene->CreateJoint(bad));
    EXPECT_TRUE(m_Output.HasContaining("CreateJoint: a joint needs a dynamic actor"));
}

// The remaining kinds and options: what each frees and what each holds.
TEST_F(SdkTest, JointKindsAndOptions)
{
    m_Scene->SetGravity(CVector::ZERO);
    auto joined = [&](sdk::EJointType type, const CVector& at, std::uint32_t flags) {
        sdk::IActor* body = Box(at, {0.2f, 0.2f, 0.2f}, 1.0f);
        sdk::CJointDesc desc = MakeJoint(type, nullptr, body);
        desc.SetGlobalAnchor(at);
        desc.SetGlobalAxis(CVector::UNIT_X);
        desc.m_Flags = flags;
        desc.m_Limit.m_Low.m_Value = -0.1f;
        desc.m_Limit.m_High.m_Value = 0.3f;
        desc.m_SwingLimit.m_Value = 0.4f;
        desc.m_Spring = {50.0f, 5.0f, 0.2f};
        desc.m_JointSpring = {100.0f, 10.0f, 0.0f};
        EXPECT_TRUE(m_Scene->CreateJoint(desc));
        return body;
    };
    // About the x axis: a revolute limit stops a spin; a revolute spring turns to its target.
    sdk::IActor* limited = joined(sdk::JOINT_REVOLUTE, {0, 0, 0}, sdk::REVOLUTE_LIMIT_ENABLED);
    sdk::IActor* sprung = joined(sdk::JOINT_REVOLUTE, {2, 0, 0}, sdk::REVOLUTE_SPRING_ENABLED);
    // A cylindrical joint slides and turns along its axis; a point-on-line one also turns freely.
    sdk::IActor* cylinder = joined(sdk::JOINT_CYLINDRICAL, {4, 0, 0}, 0);
    sdk::IActor* line = joined(sdk::JOINT_POINT_ON_LINE, {6, 0, 0}, 0);
    // A ball joint's swing limit; its joint spring lets the anchors part under a pull.
    sdk::IActor* swing = joined(sdk::JOINT_SPHERICAL, {8, 0, 0}, sdk::SPHERICAL_SWING_LIMIT_ENABLED);
    sdk::IActor* soft = joined(sdk::JOINT_SPHERICAL, {10, 0, 0}, sdk::SPHERICAL_JOINT_SPRING_ENABLED);

    limited->SetAngularVelocity({4, 0, 0});
    cylinder->SetLinearVelocity({1, 1, 0});
    cylinder->SetAngularVelocity({2, 2, 0});
    line->SetLinearVelocity({1, 1, 0});
    line->SetAngularVelocity({0, 0, 2});
    swing->SetAngularVelocity({0, 0, 4});
    auto angleAbout = [](const sds::CQuaternion& q, float component) { return 2.0f * std::atan2(component, q.w); };
    float highest = 0.0f;
    for (int i = 0; i < 60; ++i)
    {
        soft->AddForceAtLocalPos({0, 20, 0}, CVector::ZERO);
        Step();
        highest = std::max(highest, angleAbout(limited->GetGlobalOrientation(), limited->GetGlobalOrientation().x));
    }
    EXPECT_LE(highest, 0.31f); // stopped at the high limit, not the low one
    EXPECT_GT(highest, 0.25f);
    EXPECT_NEAR(0.2f, angleAbout(sprung->GetGlobalOrientation(), sprung->GetGlobalOrientation().x), 0.03f);

    EXPECT_VECTOR_NEAR(CVector(5, 0, 0), cylinder->GetGlobalPosition(), 0.02f);
    EXPECT_VECTOR_NEAR(CVector(2, 0, 0), cylinder->GetAngularVelocity(), 0.02f);
    EXPECT_VECTOR_NEAR(CVector(7, 0, 0), line->GetGlobalPosition(), 0.02f);
    EXPECT_VECTOR_NEAR(CVector(0, 0, 2), line->GetAngularVelocity(), 0.02f);

    EXPECT_NEAR(0.4f, angleAbout(swing->GetGlobalOrientation(), swing->GetGlobalOrientation().z), 0.03f);
    EXPECT_NEAR(0.2f, soft->GetGlobalPosition().y, 0.03f); // 20 N on 100 N/m
}
