#include "WorldFixture.h"

#include <cfloat>
#include <cmath>

#include "core/XmlException.h"
#include "physics/BoxActor.h"
#include "physics/DragForce.h"
#include "physics/ForceAtLocalPos.h"
#include "physics/LocalForceAtLocalPos.h"
#include "physics/PhyObj.h"
#include "physics/sdk/ActorDesc.h"
#include "physics/sdk/IActor.h"

using physics::CDragForce;
using physics::CPhyForce;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

xml::CNodePtr Drag(const std::string& attributes)
{
    return Xml("<ForceDrag Force=\"0, 0, 0\" Position=\"0, 0, 0\" Color=\"1, 0, 0, 1\" Cd=\"1\" " + attributes + " />");
}

// A free body out of the SDK's gravity, at `position` with `velocity`.
sdk::CActorDesc FreeBody(float mass, const CVector& position, const CVector& velocity)
{
    sdk::CActorDesc desc;
    desc.m_Shapes.push_back(sdk::CShapeDesc::Box({0.15f, 0.75f, 0.25f}));
    desc.m_Body = sdk::CBodyDesc();
    desc.m_Body->m_Mass = mass;
    desc.m_Body->m_LinearVelocity = velocity;
    desc.m_Body->m_Flags |= sdk::BF_DISABLE_GRAVITY;
    desc.m_GlobalPosition = position;
    return desc;
}

} // namespace

TEST_F(WorldTest, ForcesReadFromTheirElements)
{
    physics::CForceAtLocalPos plain(Xml("<F Force=\"1, 2, 3\" Position=\"0, 0.5, 0\" Color=\"0.2, 0.4\" />"));
    EXPECT_EQ(CVector(1, 2, 3), plain.GetForce());
    EXPECT_EQ(CVector(0, 0.5f, 0), plain.GetPosition());
    EXPECT_FLOAT_EQ(0.4f, plain.GetColor().v[1]);
    EXPECT_FLOAT_EQ(0.0f, plain.GetColor().v[2]);
    EXPECT_FLOAT_EQ(1.0f, plain.GetColor().v[3]);
    EXPECT_EQ(FLT_MAX, plain.GetMaxChange());
    EXPECT_EQ(CPhyForce::FORCE, plain.GetMode());

    const std::pair<const char*, int> modes[] = {{"IMPULSE", 1}, {"impulse", 0}, {"ACCELERATION", 5},
                                                 {"SMOOTH_VELOCITY_CHANGE", 4}, {"", 0}};
    for (const auto& mode : modes)
        EXPECT_EQ(mode.second, physics::CForceAtLocalPos(Xml(std::string("<F Force=\"0,0,0\" Position=\"0,0,0\" "
                                                                          "Color=\"1,1,1,1\" Type=\"") +
                                                             mode.first + "\" />"))
                                   .GetMode())
            << mode.first;

    for (const char* missing : {"<F Position=\"0,0,0\" Color=\"1,1,1,1\" />", "<F Force=\"0,0,0\" Color=\"1,1,1,1\" />",
                                "<F Force=\"0,0,0\" Position=\"0,0,0\" />"})
        EXPECT_THROW(physics::CForceAtLocalPos{Xml(missing)}, xml::CNoNodeException) << missing;
    EXPECT_THROW(CDragForce{Drag("")}, xml::CNoNodeException); // no "Area"

    CDragForce drag(Drag("Area=\"2\" Rho=\"1.293\" MaxChange=\"5000\" MaxMagnitude=\"5\""));
    EXPECT_EQ(2.0f, drag.GetArea());
    EXPECT_EQ(1.293f, drag.GetDensity());
    EXPECT_EQ(5.0f, drag.GetMaxMagnitude());
    EXPECT_EQ(FLT_MAX, CDragForce(Drag("Area=\"1\"")).GetMaxMagnitude());
}

TEST_F(WorldTest, ForcesAreDrawnFromATenthOfANewton)
{
    std::vector<std::pair<CVector, CVector>> lines;
    m_World->SetDebugDrawCallbacks(nullptr, [&](const physics::IPhyForce&, const CVector& start, const CVector& end,
                                                const sds::CFourFloats&, bool) { lines.emplace_back(start, end); });
    physics::CPhyObj body(FreeBody(1, {0, 10, 0}, CVector::ZERO));
    sds::CQuaternion turned;
    turned.FromAngleAxis(float(M_PI) / 2, CVector::UNIT_Y);
    body.SetOrientation(turned);

    physics::CForceAtLocalPos world(Xml("<F Force=\"0.1, 0, 0\" Position=\"1, 0, 0\" Color=\"1,1,1,1\" />"));
    world.Draw(*body.GetActor());
    world.SetForce({0.0999f, 0, 0});
    world.Draw(*body.GetActor());
    ASSERT_EQ(1u, lines.size());
    EXPECT_VECTOR_NEAR(CVector(0, 10, -1), lines[0].first, 1e-5f); // the point turned with the body
    EXPECT_VECTOR_NEAR(CVector(0.01f, 10, -1), lines[0].second, 1e-5f);

    // A force in the body's axes is drawn in the world's.
    physics::CLocalForceAtLocalPos local(Xml("<F Force=\"10, 0, 0\" Position=\"0, 0, 0\" Color=\"1,1,1,1\" />"));
    local.Draw(*body.GetActor());
    ASSERT_EQ(2u, lines.size());
    EXPECT_VECTOR_NEAR(CVector(0, 10, -1), lines[1].second, 1e-5f);
    m_World->SetDebugDrawCallbacks(nullptr, nullptr);
}

TEST_F(WorldTest, DragOpposesTheMotionThroughTheAir)
{
    physics::CPhyObj body(FreeBody(1, {0, 0, 0}, {10, 0, 0}));
    CDragForce drag(Drag("Area=\"1\" MaxChange=\"5000\""));
    drag.Apply(*body.GetActor(), 1.0f);
    EXPECT_VECTOR_NEAR(CVector(-0.5f * 1.23f * 100, 0, 0), drag.GetForce(), 1e-3f);
    EXPECT_FLOAT_EQ(1.23f, drag.GetDensity()); // sea level from the table

    // Wind at the body's own velocity: no drag; still air at rest: none either.
    drag.AddWind({10, 0, 0});
    drag.Apply(*body.GetActor(), 1.0f);
    EXPECT_EQ(CVector::ZERO, drag.GetForce());
    EXPECT_EQ(CVector::ZERO, drag.GetWind()); // used up
    physics::CPhyObj resting(FreeBody(1, {5, 0, 0}, CVector::ZERO));
    drag.Apply(*resting.GetActor(), 1.0f);
    EXPECT_EQ(CVector::ZERO, drag.GetForce());

    // Above "MaxMagnitude" the size is cut before the scale.
    CDragForce stage(Drag("Area=\"0.3\" MaxMagnitude=\"5\""));
    stage.Apply(*body.GetActor(), 2.0f);
    EXPECT_VECTOR_NEAR(CVector(-10, 0, 0), stage.GetForce(), 1e-4f);
    EXPECT_TRUE(m_Errors.empty());
}

// A 77.57 kg body falling under its own gravity force reaches the speed where
// its drag carries its weight.
TEST_F(WorldTest, DragGivesTheTerminalVelocity)
{
    const float mass = 77.57f;
    auto body = std::make_shared<CRecordingBody>(
        ForceNodes("0, " + std::to_string(-9.8f * mass) + ", 0", "Cd=\"1\" Area=\"0.5\" MaxChange=\"5000\""));
    body->CreateActor(FreeBody(mass, {0, 0, 0}, CVector::ZERO));
    m_World->AddMovingBody(body);
    Frames(30 * 60);
    EXPECT_NEAR(-49.8f, body->GetActor()->GetLinearVelocity().y, 0.5f);
    EXPECT_TRUE(m_Errors.empty());
}

// A drag that would jump by more than "MaxChange" (a canopy opening at
// free-fall speed) builds up by "MaxChange" a step instead of vanishing, stops
// at "MaxMagnitude", and falls as it rose; the scale (a cell's "DragScale")
// multiplies what the limits let through, whatever it is.
TEST_F(WorldTest, DragChangesByAtMostMaxChangeAStep)
{
    physics::CPhyObj body(FreeBody(1000, {0, 0, 0}, {0, -50, 0}));
    const float full = 0.5f * 1.23f * 2500 * 15; // 23062.5 N at 50 m/s
    const float slow = full / 4;                 // at 25 m/s
    for (float scale : {0.5f, 1.0f, 2.0f})
    {
        SCOPED_TRACE(scale);
        CDragForce drag(Drag("Area=\"15\" MaxChange=\"5000\" MaxMagnitude=\"20000\""));
        const auto apply = [&](float speed) {
            body.GetActor()->SetLinearVelocity({0, -speed, 0});
            drag.Apply(*body.GetActor(), scale);
            return drag.GetForce().y;
        };
        for (int step = 1; step <= 3; ++step)
            EXPECT_NEAR(scale * 5000.0f * step, apply(50), 0.5f) << step;
        for (int step = 4; step <= 50; ++step)
            EXPECT_NEAR(scale * 20000.0f, apply(50), 0.5f) << step;
        EXPECT_NEAR(scale * 15000.0f, apply(25), 0.5f);
        EXPECT_NEAR(scale * 10000.0f, apply(25), 0.5f);
        for (int step = 3; step <= 50; ++step)
            EXPECT_NEAR(scale * slow, apply(25), 0.5f) << step;
        EXPECT_NEAR(slow, drag.GetMagnitude(), 0.5f);
    }
}

TEST_F(WorldTest, NonFiniteDragGivesNoForce)
{
    physics::CPhyObj body(FreeBody(1, {0, 0, 0}, {1e30f, 0, 0}));
    CDragForce drag(Drag("Area=\"1\""));
    drag.Apply(*body.GetActor(), 1.0f);
    EXPECT_EQ(CVector::ZERO, drag.GetForce());
    ASSERT_EQ(1u, m_Errors.size());
    EXPECT_EQ("Drag force magnitude is too large", m_Errors[0]);

    drag.AddWind({std::nanf(""), 0, 0}); // a broken wind source
    drag.Apply(*body.GetActor(), 1.0f);
    EXPECT_EQ(CVector::ZERO, drag.GetForce());
    EXPECT_EQ(2u, m_Errors.size());
    Frames(2);
    EXPECT_EQ(1e30f, body.GetActor()->GetLinearVelocity().x); // nothing non-finite reached the body
}
