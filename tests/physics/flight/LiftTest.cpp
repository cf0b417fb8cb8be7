#include "physics/flight/CurveDocument.h"
#include "physics/flight/FlightFixture.h"

#include <cmath>
#include <limits>

#include "physics/flight/LiftForce.h"

using physics::CLiftForce;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

const float kRho = 1.23f; // the fixture's air at sea level
// Across air that meets the cell from 45 degrees below its forward axis.
const CVector kAcross45(float(M_SQRT1_2), float(M_SQRT1_2), 0);

// A lift of the given numbers whose coefficient is the angle of attack itself,
// between the coefficients `low` and `high`.
std::unique_ptr<CLiftForce> Lift(float sw, float trim, float maxLift = 10000.0f, const std::string& low = "-2",
                                 const std::string& high = "2", const std::string& position = "0, 0, 0")
{
    const xml::CNodePtr element =
        Xml("<ForceLift Name=\"Lift\" Force=\"0, 0, 0\" Position=\"" + position +
            "\" Color=\"0, 0, 1, 1\" Sw=\"" + std::to_string(sw) + "\" AspectRatio=\"3\" SweepAngle=\"0\" Trim=\"" +
            std::to_string(trim) + "\" MaxLift=\"" + std::to_string(maxLift) +
            "\"><LiftCoefficient Curve=\"Curve\" Axes=\"Box\" /></ForceLift>");
    auto lift = std::make_unique<CLiftForce>(element, CurveDocument(kDiagonal, "-2,0," + low, "2,0," + high));
    lift->SetUpDirection({0, 1, 0});
    return lift;
}

class LiftTest : public FlightTest
{
protected:
    // A cell 1 kg, out of gravity, at sea level, moving with `velocity`.
    sdk::IActor& Cell(const CVector& velocity, const CQuaternion& orientation = CQuaternion::IDENTITY)
    {
        sdk::IActor& cell = Box({0, 0, 0}, {0.5f, 0.5f, 0.5f}, 1.0f, sdk::BF_DISABLE_GRAVITY);
        cell.SetGlobalOrientation(orientation);
        cell.SetLinearVelocity(velocity);
        return cell;
    }
};

} // namespace

TEST_F(LiftTest, AtRestTheAngleIsMinusTheTrimAndThereIsNoLift)
{
    auto lift = Lift(20, 0.2f);
    lift->Apply(Cell({0, 0, 0}), 1.0f);
    EXPECT_FLOAT_EQ(-0.2f, lift->GetAngleOfAttack());
    EXPECT_VECTOR_NEAR(CVector::ZERO, lift->GetForce(), 0.0f);
    EXPECT_FLOAT_EQ(kRho, lift->GetDensity());
}

TEST_F(LiftTest, AngleSizeAndDirectionFollowTheFlowTrimAndArea)
{
    const struct
    {
        const char* what;
        CVector velocity;
        float trim;
        float sw;
        float scale;
        float angle;
        CVector force; // in the cell's frame
    } cases[] = {
        // Along the forward axis: no angle, so no lift with this curve.
        {"level", {10, 0, 0}, 0.0f, 20, 1, 0.0f, {0, 0, 0}},
        // Sinking at 45 degrees: CL = pi/4, lift = 0.5 rho Sw CL V^2 across the
        // air, up and forward at 45 degrees.
        {"sinking", {5, -5, 0}, 0.0f, 20, 1, float(M_PI / 4), kAcross45 * (0.5f * kRho * 20 * float(M_PI / 4) * 50)},
        {"half area", {5, -5, 0}, 0.0f, 10, 1, float(M_PI / 4), kAcross45 * (0.5f * kRho * 10 * float(M_PI / 4) * 50)},
        {"scaled", {5, -5, 0}, 0.0f, 20, 0.5f, float(M_PI / 4), kAcross45 * (0.25f * kRho * 20 * float(M_PI / 4) * 50)},
        // A trim lowers the angle; the lift stays across the air.
        {"trimmed", {10, 0, 0}, 0.1f, 20, 1, -0.1f, CVector(0, 1, 0) * (0.5f * kRho * 20 * -0.1f * 100)},
        // Backwards and a little up, the angle comes round to the other side;
        // the lift is still across the air, on the side of the cell's up.
        {"wrapped", {10 * std::cos(3.0f), 10 * std::sin(3.0f), 0}, 0.5f, 20, 1, float(2 * M_PI) - 3.5f,
         CVector(std::sin(3.0f), -std::cos(3.0f), 0) * (0.5f * kRho * 20 * 2.0f * 100)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        auto lift = Lift(c.sw, c.trim);
        lift->Apply(Cell(c.velocity), c.scale);
        EXPECT_NEAR(c.angle, lift->GetAngleOfAttack(), 1e-4f);
        EXPECT_VECTOR_NEAR(c.force, lift->GetForce(), 1e-2f);
        EXPECT_VECTOR_NEAR(c.velocity, lift->GetAirVelocity(), 1e-4f);
    }
}

TEST_F(LiftTest, OnlyAPositiveLiftIsCut)
{
    auto strong = Lift(20, 0.0f);
    strong->Apply(Cell({100, -100, 0}), 1.0f);
    EXPECT_VECTOR_NEAR(kAcross45 * 10000.0f, strong->GetForce(), 1e-2f);

    auto negative = Lift(20, 0.0f, 10000, "-2", "0"); // a coefficient never above 0
    negative->Apply(Cell({100, -100, 0}), 1.0f);
    EXPECT_LT(negative->GetForce().Dot(kAcross45), -10000.0f);
}

TEST_F(LiftTest, WindIsTakenOffTheCellsSpeedOnce)
{
    auto lift = Lift(20, 0.0f);
    sdk::IActor& cell = Cell({5, 0, 0});
    lift->AddWind({0, 5, 0}); // an updraught: the air meets the cell from below
    lift->Apply(cell, 1.0f);
    EXPECT_VECTOR_NEAR(CVector(5, -5, 0), lift->GetAirVelocity(), 1e-4f);
    EXPECT_NEAR(float(M_PI / 4), lift->GetAngleOfAttack(), 1e-4f);
    lift->Apply(cell, 1.0f);
    EXPECT_VECTOR_NEAR(CVector(5, 0, 0), lift->GetAirVelocity(), 1e-4f);
}

TEST_F(LiftTest, LiftActsInTheCellsFrameAtItsPoint)
{
    // A cell turned a quarter about x (its up is the world's z), sinking at 45
    // degrees in its own frame, lifting at a point 1 m along its z axis.
    const CQuaternion turned(std::cos(float(M_PI / 4)), std::sin(float(M_PI / 4)), 0, 0);
    sdk::IActor& cell = Cell(turned * CVector(5, -5, 0), turned);
    auto lift = Lift(20, 0.0f, 10000, "-2", "2", "0, 0, 1");
    lift->Apply(cell, 1.0f);
    const float size = 0.5f * kRho * 20 * float(M_PI / 4) * 50;
    EXPECT_VECTOR_NEAR(kAcross45 * size, lift->GetForce(), 1e-2f);
    EXPECT_VECTOR_NEAR(CVector(0, -1, 0), lift->GetWorldPosition(), 1e-4f);

    Steps(1);
    const float dt = m_World->GetMaxTimeStep();
    const float part = size * float(M_SQRT1_2) * dt; // of each axis the force is along, in the world
    EXPECT_VECTOR_NEAR(CVector(5 + part, 0, -5 + part), cell.GetLinearVelocity(), 1e-2f);
    // Torque (0, -1, 0) x (F, 0, F) about the centre of a 1 kg cube of side 1.
    EXPECT_VECTOR_NEAR(CVector(-6 * part, 0, 6 * part), cell.GetAngularVelocity(), 1e-2f);
}

TEST_F(LiftTest, AirThatIsNotANumberGivesNoLiftAndOneReport)
{
    auto lift = Lift(20, 0.0f);
    sdk::IActor& cell = Cell({5, -5, 0});
    for (int i = 0; i < 2; ++i)
    {
        lift->AddWind({std::numeric_limits<float>::quiet_NaN(), 0, 0});
        lift->Apply(cell, 1.0f);
        EXPECT_VECTOR_NEAR(CVector::ZERO, lift->GetForce(), 0.0f);
    }
    EXPECT_EQ(1, std::count_if(m_Errors.begin(), m_Errors.end(),
                               [](const std::string& e) { return e.find("Lift force") != std::string::npos; }));
    lift->Apply(cell, 1.0f); // the wind is gone again
    EXPECT_GT(lift->GetForce().y, 0.0f);
}
