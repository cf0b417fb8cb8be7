#include "physics/flight/JumperFixture.h"

#include "physics/flight/CanopyRideState.h"
#include "physics/flight/FreeFallState.h"
#include "physics/flight/PhyCell.h"
#include "physics/flight/PhyPilotChute.h"
#include "physics/sdk/SdkConstants.h"

using physics::CPhyCell;
using physics::CPhyJumper;
using physics::PhyJumperStates::CCanopyRideState;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

std::vector<const CPhyCell*> Raw(const std::vector<std::shared_ptr<CPhyCell>>& cells)
{
    std::vector<const CPhyCell*> raw;
    for (const auto& cell : cells)
        raw.push_back(cell.get());
    return raw;
}

} // namespace

TEST_F(JumperTest, TheThreeCellShellSharesItsMiddleCellBetweenTheSides)
{
    CPhyJumper& jumper = Make();
    const CCanopyRideState& ride = jumper.GetCanopyRide();
    EXPECT_TRUE(m_Log.Has("Using canopy phy model: ThreeCellsShell"));
    const std::vector<const CPhyCell*> cells = Raw(ride.GetCells());
    ASSERT_EQ(3u, cells.size());
    EXPECT_EQ((std::vector<const CPhyCell*>{cells[1], cells[2]}), Raw(ride.GetLeftCells()));
    EXPECT_EQ((std::vector<const CPhyCell*>{cells[0], cells[1]}), Raw(ride.GetRightCells()));
    EXPECT_EQ(cells[1]->GetActor(), ride.GetCanopyActor());

    // Both logged cells are the middle one.
    sds::GetDataLogs().clear();
    jumper.GetCanopyRide().LogData(1.0f, 1010);
    const sds::CDataLog::CColumns& columns = sds::GetDataLog("main").GetColumns();
    EXPECT_EQ("0", columns.at("1011_" + jumper.GetName() + "_Reserved").GetCells().at(1.0f));
    jumper.GetCanopyRideState()->SetLeftToggle(0.25f);
    jumper.GetCanopyRideState()->SetRightToggle(0.75f);
    jumper.GetCanopyRide().LogData(2.0f, 1010);
    EXPECT_EQ("0.5", columns.at("1026_" + jumper.GetName() + "_LeftCell_ToggleInput").GetCells().at(2.0f));
    EXPECT_EQ("0.5", columns.at("1056_" + jumper.GetName() + "_RightCell_ToggleInput").GetCells().at(2.0f));
    sds::GetDataLogs().clear();
}

TEST_F(JumperTest, ACellOfBothSidesTakesTheMeanOfTheLeftAndRightPull)
{
    using Setter = void (physics::PhyJumperStates::ICanopyRideState::*)(float);
    const struct
    {
        const char* m_Control;
        Setter m_Left;
        Setter m_Right;
        float (CPhyCell::*m_Raw)() const;
    } controls[] = {
        {"toggles", &physics::PhyJumperStates::ICanopyRideState::SetLeftToggle,
         &physics::PhyJumperStates::ICanopyRideState::SetRightToggle, &CPhyCell::GetRawToggle},
        {"front risers", &physics::PhyJumperStates::ICanopyRideState::SetLeftFrontRiser,
         &physics::PhyJumperStates::ICanopyRideState::SetRightFrontRiser, &CPhyCell::GetRawFrontRiser},
        {"rear risers", &physics::PhyJumperStates::ICanopyRideState::SetLeftRearRiser,
         &physics::PhyJumperStates::ICanopyRideState::SetRightRearRiser, &CPhyCell::GetRawRearRiser},
    };
    for (const auto& control : controls)
        for (bool leftFirst : {true, false})
        {
            CPhyJumper& jumper = Make();
            physics::PhyJumperStates::ICanopyRideState& ride = *jumper.GetCanopyRideState();
            if (leftFirst)
                (ride.*control.m_Left)(1.0f), (ride.*control.m_Right)(0.0f);
            else
                (ride.*control.m_Right)(0.0f), (ride.*control.m_Left)(1.0f);
            const auto& cells = jumper.GetCanopyRide().GetCells();
            EXPECT_FLOAT_EQ(0.0f, ((*cells[0]).*control.m_Raw)()) << control.m_Control << leftFirst;
            EXPECT_FLOAT_EQ(0.5f, ((*cells[1]).*control.m_Raw)()) << control.m_Control << leftFirst;
            EXPECT_FLOAT_EQ(1.0f, ((*cells[2]).*control.m_Raw)()) << control.m_Control << leftFirst;
        }

    // One cell of both sides hears the left toggle as well as the right.
    physics::CPhyJumperDesc one;
    one.m_CanopyModel = "OneCell";
    CPhyJumper& single = Make(one);
    single.GetCanopyRideState()->SetLeftToggle(1.0f);
    EXPECT_FLOAT_EQ(0.5f, single.GetCanopyRide().GetCells()[0]->GetRawToggle());
}

TEST_F(JumperTest, WithoutACentreCellThePilotChuteHangsFromTheFirstCell)
{
    xml::CNodePtr model = State("CanopyRide")->GetChildById("CanopyModel", "ThreeCellsShell", "Name,Id");
    xml::ForEachChild(*model, "Cell", [](const xml::CNodePtr& cell) {
        if (cell->HasChild("CenterCell"))
            cell->RemoveChild(cell->GetChild("CenterCell"));
    });
    CPhyJumper& jumper = Make();
    const CCanopyRideState& ride = jumper.GetCanopyRide();
    EXPECT_EQ(ride.GetCells().front()->GetActor(), ride.GetCanopyActor());
    EXPECT_EQ(ride.GetCanopyActor(), &ride.GetPilotChute()->GetLeader());
}

TEST_F(JumperTest, AModelWithoutCellsOrLiftAreaIsRefused)
{
    State("CanopyRide")->AddChild("CanopyModel")->AddAttribute("Name", "Empty");
    physics::CPhyJumperDesc empty;
    empty.m_CanopyModel = "Empty";
    EXPECT_THROW(Make(empty), xml::CNoNodeException);

    for (const char* sw : {"0", "-3", "nan"})
    {
        physics::CPhyJumperDesc plain;
        State("CanopyRide")->GetChildById("ForceLift", "Lift", "Name,Id")->GetAttribute("Sw")->SetValue(sw);
        try
        {
            Make(plain);
            ADD_FAILURE() << sw;
        }
        catch (const sds::CException& e)
        {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("ForceLift[Name=Lift]->>Sw")) << e.what();
        }
    }
}

TEST_F(JumperTest, TheCanopyRideBodyKeepsOutOfTheScenesGravityAndCarriesItsCellsWhileAway)
{
    CPhyJumper& jumper = MakeStartingIn("FreeFall");
    const CCanopyRideState& ride = jumper.GetCanopyRide();
    const sdk::IActor& body = *ride.GetActor();
    EXPECT_TRUE(body.ReadBodyFlag(sdk::BF_DISABLE_GRAVITY | sdk::BF_CONTINUOUS_COLLISION));
    std::vector<CVector> offsets;
    for (const auto& cell : ride.GetCells())
    {
        EXPECT_TRUE(cell->GetActor()->ReadActorFlag(sdk::AF_DISABLE_COLLISION));
        offsets.push_back(cell->GetActor()->GetGlobalPosition() - body.GetGlobalPosition());
    }

    Steps(600); // ten seconds of free fall: far from where the cells were made
    const CVector leader = jumper.GetFreeFall().GetPos();
    EXPECT_VECTOR_NEAR(leader, body.GetGlobalPosition(), 1e-3f);
    const CQuaternion turn = body.GetGlobalOrientation();
    for (std::size_t i = 0; i < offsets.size(); ++i)
    {
        const sdk::IActor& cell = *ride.GetCells()[i]->GetActor();
        EXPECT_VECTOR_NEAR(leader + turn * offsets[i], cell.GetGlobalPosition(), 0.01f);
        EXPECT_VECTOR_NEAR(jumper.GetVelocity(), cell.GetLinearVelocity(), 0.1f);
    }

    jumper.SwitchToCanopyRideState();
    EXPECT_FALSE(body.ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    for (const auto& cell : ride.GetCells())
        EXPECT_FALSE(cell->GetActor()->ReadActorFlag(sdk::AF_DISABLE_COLLISION));
    EXPECT_TRUE(ride.GetPilotChute()->IsActive());
}

TEST_F(JumperTest, PitchDampingStillsTheCanopySwingingForeAndAftButNotItsTurning)
{
    // The whole canopy set swinging at 1 rad/s about the axis across its
    // flight, or turning at 1 rad/s about the vertical; what is left of it a
    // tenth of a second later, with the shipped damping and without any.
    const auto remaining = [this](const char* damping, const CVector& axis) {
        m_Jumpers.clear();
        State("CanopyRide")->GetChildById("Actor", "Body", "Name,Id")->GetAttribute("PitchDamping")->SetValue(damping);
        physics::CPhyJumperDesc desc;
        desc.m_Position = {0, 500, 0};
        CPhyJumper& jumper = Make(desc);
        sdk::IActor& body = *jumper.GetCanopyRide().GetActor();
        body.SetGroupVelocity({10, 0, 0}, axis);
        Steps(6);
        return body.GetAngularVelocity().Dot(axis);
    };
    const std::string shipped =
        State("CanopyRide")->GetChildById("Actor", "Body", "Name,Id")->GetAttribute("PitchDamping")->GetValue();
    ASSERT_GT(std::stof(shipped), 0.0f);
    const CVector across(0, 0, 1);
    EXPECT_LT(remaining(shipped.c_str(), across), 0.25f * remaining("0", across));
    const CVector up(0, 1, 0);
    EXPECT_NEAR(remaining("0", up), remaining(shipped.c_str(), up), 0.02f);
}
