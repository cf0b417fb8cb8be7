#include "physics/flight/CurveDocument.h"
#include "physics/flight/FlightFixture.h"

#include <cmath>
#include <limits>
#include <typeinfo>

#include "core/DataLog.h"
#include "core/Exception.h"
#include "core/Helpers.h"
#include "physics/IWindMgr.h"
#include "physics/flight/PhyCell.h"
#include "physics/sdk/IJoint.h"
#include "physics/sdk/IShape.h"

using physics::CPhyCell;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

const float NaN = std::numeric_limits<float>::quiet_NaN();

xml::CNodePtr ShippedCanopyRide()
{
    CMessageCapture quiet;
    const xml::CNodePtr physics = xml::LoadXmlFile("../data/physics/physics.xml")->GetChild("Physics");
    return physics->GetChild("PhyJumper")->GetChildById("State", "CanopyRide", "Name,Id");
}

xml::CNodePtr ShippedCurves()
{
    CMessageCapture quiet;
    return xml::LoadXmlFile("../data/physics/Navigator220.svg")->GetChild("svg");
}

// A canopy-ride element of one cell whose numbers are easy to follow: the
// toggle's curve gives its pull, base area 0.3, toggle-down area 2, Sw 20,
// base trim 0.2, lift 1.5 times with the toggle down; the cell sits 4 m above
// the body, straight up. `canopy` is the "CanopyInfo" there is, if any.
xml::CNodePtr PlainState(const std::string& cell, const std::string& canopy = "")
{
    return Xml("<State Name=\"CanopyRide\">" + canopy +
               "<ForceLift Name=\"Lift\" Force=\"0, 0, 0\" Position=\"0, 0, 0\" Color=\"0, 0, 1, 1\" Sw=\"20\""
               " AspectRatio=\"3\" SweepAngle=\"0\" Trim=\"0.2\" MaxLift=\"10000\" ToggleDownLift=\"1.5\">"
               "<LiftCoefficient Curve=\"Curve\" Axes=\"Box\" /></ForceLift>"
               "<ForceDrag Name=\"Drag\" Force=\"0, 0, 0\" Position=\"0, 0, 0\" Color=\"1, 0, 0, 1\" Cd=\"1\""
               " Area=\"0.3\" ToggleDownArea=\"2\" />"
               "<InputConversion Name=\"Plain\"><Input Name=\"Toggle\" Curve=\"Curve\" Axes=\"Box\" />"
               "<Input Name=\"FrontRiser\" Curve=\"Curve\" Axes=\"Box\" />"
               "<Input Name=\"RearRiser\" Curve=\"Curve\" Axes=\"Box\" /></InputConversion>" +
               cell + "</State>");
}

std::string PlainCell(const std::string& inputType, const std::string& extra)
{
    return "<Cell Center=\"0, 0, 0\" InputType=\"" + inputType +
           "\" LiftScale=\"0.5\" DragScale=\"0.25\">"
           "<Shape Dimensions=\"2, 0.4, 1\" Position=\"0, 0, 0\" Orientation=\"1, 0, 0, 0\" Mass=\"1\""
           " Material=\"Canopy\" />"
           "<Actor Position=\"0, 4, 0\" LinearDamping=\"0\" AngularDamping=\"0\" InitialVelocity=\"1, 0, 0\" />"
           "<Forces Drag=\"Drag\" Lift=\"Lift\" />" +
           extra + "</Cell>";
}

// Wind of one velocity everywhere.
class CSteadyWind : public physics::IWindMgr
{
public:
    explicit CSteadyWind(const CVector& wind) : m_Wind(wind) {}
    CRegions& GetRegions() override { return m_Regions; }
    std::shared_ptr<physics::IWindRegion> CreateRegion(const xml::CNodePtr&) override { return nullptr; }
    CVector GetWind(const CVector&) override { return m_Wind; }
    void Update(const sds::CTiming&) override {}

private:
    CVector m_Wind;
    CRegions m_Regions;
};

class CellTest : public FlightTest
{
protected:
    CellTest() : m_Body(Box({0, 500, 0}, {0.15f, 0.65f, 0.25f}, 80.0f, sdk::BF_DISABLE_GRAVITY)) {}

    std::shared_ptr<CPhyCell> Plain(const std::string& inputType = "Both",
                                    const std::string& extra = "<InputConversion Scale=\"1\" />")
    {
        const xml::CNodePtr state = PlainState(PlainCell(inputType, extra));
        return physics::CreateCell(m_Body, state->GetChild("Cell"), state, CurveDocument(kDiagonal),
                                   state->GetChild("InputConversion"));
    }

    // The cells of a shipped model with a shipped input conversion.
    std::vector<std::shared_ptr<CPhyCell>> Shipped(const std::string& model, const std::string& conversion)
    {
        const xml::CNodePtr state = ShippedCanopyRide();
        const xml::CNodePtr svg = ShippedCurves();
        const xml::CNodePtr inputs = state->GetChildById("InputConversion", conversion, "Name");
        std::vector<std::shared_ptr<CPhyCell>> cells;
        xml::ForEachChild(*state->GetChildById("CanopyModel", model, "Name"), "Cell", [&](const xml::CNodePtr& cell) {
            cells.push_back(physics::CreateCell(m_Body, cell, state, svg, inputs));
        });
        return cells;
    }

    sdk::IActor& m_Body;
};

} // namespace

TEST_F(CellTest, ShippedModelsAndConversions)
{
    const auto shell = Shipped("ThreeCellsShell", "FullControl");
    ASSERT_EQ(3u, shell.size());
    EXPECT_EQ("Right", shell[0]->GetInputType());
    EXPECT_EQ("Both", shell[1]->GetInputType());
    EXPECT_EQ("Left", shell[2]->GetInputType());
    EXPECT_FALSE(shell[0]->IsCenterCell());
    EXPECT_TRUE(shell[1]->IsCenterCell());
    EXPECT_GT(shell[0]->GetPos().z, 0.0f); // the right cell is on the right
    ASSERT_EQ(1u, Shipped("OneCell", "Student").size());

    const struct
    {
        const char* conversion;
        float toggle, front, rear;
    } cases[] = {{"FullControl", 1.0f, 0.15f, -0.07f}, {"Student", 1.0f, 0.075f, -0.035f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.conversion);
        const auto cells = Shipped("OneCell", c.conversion);
        CPhyCell& cell = *cells.front();
        for (float pull : {1.0f, 0.5f})
        {
            SCOPED_TRACE(pull);
            cell.SetToggle(pull);
            cell.SetFrontRiser(pull);
            cell.SetRearRiser(pull);
            EXPECT_NEAR(c.toggle * pull, cell.GetInputs().m_Toggle.GetLastValue(), 1e-3f);
            EXPECT_NEAR(c.front * pull, cell.GetFrontRiserTrim(), 1e-3f);
            EXPECT_NEAR(c.rear * pull, cell.GetRearRiserTrim(), 1e-3f);
        }
    }
}

TEST_F(CellTest, ToggleGrowsTheDragAndTheLift)
{
    const auto cell = Plain();
    EXPECT_FLOAT_EQ(0.3f, cell->GetDrag().GetArea());
    const struct
    {
        float pull;
        float area;
        float sw;
    } cases[] = {
        {1.0f, 2.0f, 30},        {0.0f, 0.3f, 20},         {0.5f, 0.3f + 1.7f / 4, 20 * (1 + 0.5f / 4)},
        {1.5f, 2.0f, 30},        {-1.0f, 0.3f, 20},        {NaN, 0.3f, 20}, // not a number: released
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pull);
        cell->SetToggle(c.pull);
        EXPECT_NEAR(c.area, cell->GetDrag().GetArea(), 1e-3f);
        EXPECT_NEAR(c.sw, cell->GetLift().GetSw(), 1e-3f);
    }
    cell->SetToggle(1.5f);
    EXPECT_FLOAT_EQ(1.5f, cell->GetRawToggle());
    cell->SetToggle(NaN);
    EXPECT_TRUE(std::isnan(cell->GetRawToggle()));
}

TEST_F(CellTest, ToggleNeverTurnsTheLiftOver)
{
    // A toggle that takes lift away, scaled far past all of it.
    xml::CNodePtr state = PlainState(PlainCell("Both", "<InputConversion Scale=\"20\" />"));
    state->GetChild("ForceLift")->GetAttribute("ToggleDownLift")->SetValue("0.5");
    const auto cell = physics::CreateCell(m_Body, state->GetChild("Cell"), state, CurveDocument(kDiagonal),
                                          state->GetChild("InputConversion"));
    cell->SetToggle(1.0f);
    EXPECT_FLOAT_EQ(0.0f, cell->GetLift().GetSw());
    EXPECT_FLOAT_EQ(20 * 0.3f + 20 * 1.7f, cell->GetDrag().GetArea());
}

TEST_F(CellTest, TheDragAreasGrowWithTheCanopyFromTheSizeTheyAreGivenFor)
{
    const struct
    {
        const char* canopy;
        float scale;
    } cases[] = {
        {"", 1.0f}, // given for no size: as they are
        {"<CanopyInfo Mass=\"5\" Position=\"0, 4, 0\" />", 1.0f},
        {"<CanopyInfo Mass=\"5\" Position=\"0, 4, 0\" Area=\"20\" />", 1.0f},
        {"<CanopyInfo Mass=\"5\" Position=\"0, 4, 0\" Area=\"10\" />", 2.0f}, // a canopy of twice that size
        {"<CanopyInfo Mass=\"5\" Position=\"0, 4, 0\" Area=\"40\" />", 0.5f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.canopy);
        const xml::CNodePtr state = PlainState(PlainCell("Both", "<InputConversion Scale=\"1\" />"), c.canopy);
        const auto cell = physics::CreateCell(m_Body, state->GetChild("Cell"), state, CurveDocument(kDiagonal),
                                              state->GetChild("InputConversion"));
        EXPECT_FLOAT_EQ(0.3f * c.scale, cell->GetDrag().GetArea());
        cell->SetToggle(1.0f);
        EXPECT_FLOAT_EQ(2.0f * c.scale, cell->GetDrag().GetArea());
        EXPECT_FLOAT_EQ(30.0f, cell->GetLift().GetSw()); // the lift's area is the canopy's own
    }
    for (const char* area : {"0", "-20", "nan"})
    {
        const xml::CNodePtr state = PlainState(PlainCell("Both", "<InputConversion Scale=\"1\" />"),
                                               std::string("<CanopyInfo Position=\"0, 4, 0\" Area=\"") + area + "\" />");
        try
        {
            physics::CreateCell(m_Body, state->GetChild("Cell"), state, CurveDocument(kDiagonal),
                                state->GetChild("InputConversion"));
            ADD_FAILURE() << area;
        }
        catch (const sds::CException& e)
        {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("must be a positive number of square metres"))
                << e.what();
        }
    }
}

TEST_F(CellTest, RisersSetTheTrimFromTheNextStep)
{
    const auto cell = Plain();
    const struct
    {
        float pull;
        float trim;
    } cases[] = {{1.0f, 1.0f}, {0.25f, 0.25f}, {-1.0f, 0.0f}, {2.0f, 1.0f}, {NaN, 0.0f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pull);
        cell->SetFrontRiser(c.pull);
        cell->SetRearRiser(c.pull);
        EXPECT_NEAR(c.trim, cell->GetFrontRiserTrim(), 1e-3f);
        EXPECT_NEAR(c.trim, cell->GetRearRiserTrim(), 1e-3f);
    }
    cell->SetFrontRiser(0.5f);
    cell->SetRearRiser(0.25f);
    EXPECT_FLOAT_EQ(0.2f, cell->GetLift().GetTrim());
    cell->ApplyForces(m_Body);
    EXPECT_NEAR(0.2f + 0.5f + 0.25f, cell->GetLift().GetTrim(), 1e-3f);
    EXPECT_FLOAT_EQ(0.25f, cell->GetRawRearRiser());
}

TEST_F(CellTest, WhoTakesInputs)
{
    const struct
    {
        const char* inputType;
        bool conversion;
        const char* taken;
    } cases[] = {{"Left", false, "None"}, {"Right", false, "None"}, {"Left", true, "Left"},
                 {"Right", true, "Right"}, {"Both", true, "Both"},  {"None", true, "None"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.inputType) + (c.conversion ? " with" : " without"));
        const auto cell = Plain(c.inputType, c.conversion ? "<InputConversion Scale=\"1\" />" : "");
        EXPECT_EQ(c.taken, cell->GetInputType());
        EXPECT_FLOAT_EQ(c.taken == std::string("None") ? 0.0f : 1.0f, cell->GetInputScale());
    }
    EXPECT_THROW(Plain("Both", ""), xml::CNoNodeException);
    EXPECT_THROW(Plain("Both", "<InputConversion />"), xml::CNoNodeException);
}

TEST_F(CellTest, CellIsPlacedInTheBodysFrameTurnedByItsTrimAndFixed)
{
    const CQuaternion yaw(std::cos(0.3f), 0, std::sin(0.3f), 0);
    m_Body.SetGlobalOrientation(yaw);
    m_Body.SetLinearVelocity({10, -4, 0});
    const auto cell = Plain("Both", "<InputConversion Scale=\"1\" /><CenterCell />");
    sdk::IActor& actor = *cell->GetActor();

    EXPECT_VECTOR_NEAR(CVector(0, 504, 0), actor.GetGlobalPosition(), 1e-4f);
    EXPECT_SAME_ROTATION(yaw, actor.GetGlobalOrientation(), 1e-6f);
    EXPECT_VECTOR_NEAR(CVector(11, -4, 0), actor.GetLinearVelocity(), 1e-4f); // added in world axes
    EXPECT_VECTOR_NEAR(CVector(0, 1, 0), cell->GetLift().GetUpDirection(), 1e-6f);
    EXPECT_TRUE(cell->IsCenterCell());
    EXPECT_FLOAT_EQ(1.0f, actor.GetMass());

    // Its box is turned by the shortest rotation from up to (-sin 0.2, 1, 0), after a half turn about x.
    const CQuaternion expected = sds::GetRotationTo(CVector::UNIT_Y, {-std::sin(0.2f), 1, 0}) * CQuaternion(0, 1, 0, 0);
    EXPECT_SAME_ROTATION(expected, actor.GetShapes()[0]->GetLocalOrientation(), 1e-6f);
    EXPECT_VECTOR_NEAR(CVector(1, 0.2f, 0.5f), actor.GetShapes()[0]->GetDimensions(), 1e-6f);
    EXPECT_EQ(m_World->GetMaterialIndex("Canopy"), actor.GetShapes()[0]->GetMaterial());

    EXPECT_EQ(sdk::JOINT_FIXED, cell->GetJoint().GetType());
    EXPECT_EQ(&m_Body, cell->GetJoint().GetActor(0));
    EXPECT_EQ(&actor, cell->GetJoint().GetActor(1));
}

TEST_F(CellTest, ForcesActForOneStepWithTheCellsScales)
{
    const auto cell = Plain();
    sdk::IActor& actor = *cell->GetActor();
    actor.SetLinearVelocity({10, -10, 0});
    CSteadyWind wind({0, -4, 0}); // a downdraught: the cell sinks slower through the air
    cell->ApplyWind(wind);
    cell->ApplyForces(m_Body);

    EXPECT_VECTOR_NEAR(CVector(10, -6, 0), cell->GetLift().GetAirVelocity(), 1e-3f);
    const float rho = cell->GetLift().GetDensity();
    // The drag meets the same air, against it, with a quarter of its size.
    const CVector air(10, -6, 0);
    EXPECT_VECTOR_NEAR(air * (-0.5f * rho * 0.3f * 0.25f * air.Length()), cell->GetDrag().GetForce(), 1e-2f);
    // Half the lift of the whole area.
    const float angle = cell->GetLift().GetAngleOfAttack();
    EXPECT_NEAR(std::atan2(6.0f, 10.0f) - 0.2f, angle, 1e-4f);
    EXPECT_NEAR(0.5f * 0.5f * rho * 20 * angle * air.Dot(air), cell->GetLift().GetForce().Length(), 1e-1f);
    EXPECT_VECTOR_NEAR(CVector(100, -100, 0), cell->GetVelocityVector().GetForce(), 1e-2f);

    cell->ApplyForces(m_Body); // the wind was used up
    EXPECT_VECTOR_NEAR(CVector(10, -10, 0), cell->GetLift().GetAirVelocity(), 1e-3f);
}

TEST_F(CellTest, LogsItsColumns)
{
    const auto cell = Plain();
    cell->SetToggle(1.5f);
    cell->SetFrontRiser(-1.0f);
    cell->GetActor()->SetLinearVelocity({3, -2, 1});
    cell->ApplyForces(m_Body);
    sds::CDataLog log;
    cell->LogData(log, 2.5f, 1000, "Jumper_LeftCell");

    const char* const names[] = {"_Drag_Mag", "_Lift_x", "_Lift_y", "_Lift_z", "_AngleOfAttack", "_Lift_Coef",
                                 "_ToggleInput", "_x", "_y", "_z", "_Thrust_x", "_Thrust_y", "_Thrust_z",
                                 "_Thrust_coef", "_Velocity_x", "_Velocity_y", "_Velocity_z", "_FrontRiser",
                                 "_RearRiser", "_Trim", "_PressureSpeed"};
    ASSERT_EQ(21u, log.GetColumns().size());
    for (int k = 0; k < 21; ++k)
        EXPECT_EQ(1u, log.GetColumns().count(std::to_string(1000 + k) + "_Jumper_LeftCell" + names[k])) << names[k];
    auto cellOf = [&](int k) { return log.GetColumn(std::to_string(1000 + k) + "_Jumper_LeftCell" + names[k]).GetCell(2.5f); };
    EXPECT_EQ("1.5", cellOf(6));
    EXPECT_EQ("-1", cellOf(17));
    EXPECT_EQ("0", cellOf(10));
    EXPECT_EQ("0", cellOf(20));
    EXPECT_EQ("3", cellOf(14));
    EXPECT_EQ(sds::ToString(cell->GetLift().GetAngleOfAttack()), cellOf(4));
    EXPECT_EQ(sds::ToString(cell->GetLift().GetCoefficientCurve().GetLastValue()), cellOf(5));
    EXPECT_EQ(sds::ToString(cell->GetLift().GetWorldPosition().y), cellOf(8));
}
