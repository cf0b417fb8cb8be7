#include "physics/flight/JumperFixture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "core/DataLog.h"
#include "core/Exception.h"
#include "physics/PhyException.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/CanopyRideState.h"
#include "physics/flight/DeploymentState.h"
#include "physics/flight/ExitState.h"
#include "physics/flight/FreeFallState.h"
#include "physics/flight/JumperConfig.h"
#include "physics/flight/LandingState.h"
#include "physics/flight/PhyCell.h"
#include "physics/flight/PhyPilotChute.h"
#include "physics/flight/TestState.h"

using physics::CPhyJumper;
using physics::CPhyJumperDesc;
using physics::CPhyObj;
using physics::IPhyCollisionEvent;
using sds::CQuaternion;
using sds::CVector;

namespace {

// Every body of the six phases, with the rag doll's other bones.
std::vector<CPhyObj*> PhaseBodies(CPhyJumper& jumper)
{
    std::vector<CPhyObj*> bodies = {jumper.GetTest().GetBody(),       jumper.GetExit().GetBody(),
                                    jumper.GetFreeFall().GetBody(),   jumper.GetDeployment().GetBody(),
                                    jumper.GetCanopyRide().GetBody(), jumper.GetLanding().GetBody()};
    const physics::CPhyRagDoll& doll = *jumper.GetLanding().GetJumperRagDoll();
    for (std::uint16_t i = 0; i < doll.GetActorCount(); ++i)
        bodies.push_back(doll.GetBone(doll.GetActorName(i)).get());
    return bodies;
}

} // namespace

TEST_F(JumperTest, TheSameSwitchTwiceRetakesBodyAndCallbackWithoutLeavingThePhase)
{
    CPhyJumper& jumper = Make();
    jumper.SwitchToDeploymentState();
    jumper.GetDeploymentState()->NextStage();
    jumper.GetDeploymentState()->NextStage();
    int calls = 0;
    jumper.SetCollisionCallback([&calls](const IPhyCollisionEvent&) { ++calls; });
    CPhyObj& body = *jumper.GetDeployment().GetBody();
    body.SetCollisionCallback(nullptr);

    jumper.SwitchToDeploymentState();

    EXPECT_EQ(2, jumper.GetDeployment().GetStageCounter()); // not entered again
    EXPECT_EQ(&body, jumper.GetCurrentBody());
    body.OnCollision(IPhyCollisionEvent());
    EXPECT_EQ(1, calls);
}

TEST_F(JumperTest, AnyPhaseMayFollowAnyOther)
{
    CPhyJumper& jumper = Make();
    jumper.SwitchToExitState();
    EXPECT_TRUE(jumper.IsInExitState());
    jumper.SwitchToCanopyRideState();
    EXPECT_TRUE(jumper.IsInCanopyRideState());
    EXPECT_FALSE(jumper.IsInExitState());
    EXPECT_EQ(jumper.GetCanopyRide().GetBody(), jumper.GetCurrentBody());
    jumper.SwitchToFreeFallState();
    EXPECT_TRUE(jumper.IsInFreeFallState());
}

TEST_F(JumperTest, ACallbackSetBeforeAnySwitchReachesEveryPhasesBody)
{
    CPhyJumper& jumper = MakeStartingIn("Test");
    int calls = 0;
    jumper.SetCollisionCallback([&calls](const IPhyCollisionEvent&) { ++calls; });
    const std::vector<CPhyObj*> bodies = PhaseBodies(jumper);
    for (CPhyObj* body : bodies)
        body->OnCollision(IPhyCollisionEvent());
    EXPECT_EQ(int(bodies.size()), calls);
}

TEST_F(JumperTest, StartsInThePhaseItIsToldOrTheCanopyRide)
{
    struct
    {
        const char* m_StartIn;
        bool (CPhyJumper::*m_IsIn)() const;
    } cases[] = {
        {"Exit", &CPhyJumper::IsInExitState},           {"FreeFall", &CPhyJumper::IsInFreeFallState},
        {"Landing", &CPhyJumper::IsInLandingState},     {"CanopyRide", &CPhyJumper::IsInCanopyRideState},
        {"canopyride", &CPhyJumper::IsInCanopyRideState}, {"Deployment", &CPhyJumper::IsInCanopyRideState},
    };
    for (const auto& c : cases)
        EXPECT_TRUE((MakeStartingIn(c.m_StartIn).*c.m_IsIn)()) << c.m_StartIn;

    // The test phase keeps the body made current last: the landing's.
    CPhyJumper& test = MakeStartingIn("Test");
    EXPECT_EQ(&test.GetTest(), test.GetCurrentState());
    EXPECT_EQ(test.GetLanding().GetBody(), test.GetCurrentBody());
    EXPECT_FALSE(test.IsInLandingState());
}

TEST_F(JumperTest, ACanopyStartGlidesAsFastAsItsLoadingAndAirAskTurnedWithTheCanopyAndCarriedByTheWind)
{
    const xml::CNodePtr actor = State("CanopyRide")->GetChildById("Actor", "Body", "Name,Id");
    actor->GetAttribute("InitialVelocity")->SetValue("9.7, -3.3, 0");
    actor->GetAttribute("WingLoading")->SetValue("4");
    const float thin = m_World->GetAirDensity(0.0f) / m_World->GetAirDensity(2000.0f);
    ASSERT_GT(thin, 1.1f);
    const struct
    {
        float weight, size, height; // kg, m², m
        bool loadingGiven;
        float speedUp; // over the configured velocity
    } cases[] = {
        {80, 20, 0, true, 1.0f},
        {80, 5, 0, true, 2.0f},          // four times the loading
        {80, 20, 2000, true, std::sqrt(thin)},
        {80, 5, 2000, false, 1.0f},      // without a loading the velocity as given
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.size) + " m² at " + std::to_string(c.height) + " m");
        if (!c.loadingGiven)
            RemoveAttribute(actor, "WingLoading");
        CPhyJumperDesc desc;
        desc.m_ExitWeight = c.weight;
        desc.m_CanopySize = c.size;
        desc.m_Position = {10, c.height, -20};
        desc.m_Orientation.FromAngleAxis(0.5f * 3.14159265f, CVector::UNIT_Y);
        CPhyJumper& jumper = Make(desc);
        // The canopy's +x, its forward, turned a quarter about y, is -z.
        const CVector expected = CVector(0, -3.3f, -9.7f) * c.speedUp;
        EXPECT_VECTOR_NEAR(expected, jumper.GetVelocity(), 1e-3f);
        EXPECT_VECTOR_NEAR(desc.m_Position, jumper.GetPos(), 1e-4f);
        for (const auto& cell : jumper.GetCanopyRide().GetCells())
            EXPECT_VECTOR_NEAR(expected, cell->GetActor()->GetLinearVelocity(), 1e-3f);
    }

    // A zero orientation is no turn at all; the glide is through the air.
    const CVector wind(-3.6f, 0, 1);
    Blow(wind);
    CPhyJumperDesc still;
    still.m_Position = {0, 500, 0};
    still.m_Orientation = CQuaternion(0, 0, 0, 0);
    EXPECT_VECTOR_NEAR(CVector(9.7f, -3.3f, 0) + wind, Make(still).GetVelocity(), 1e-3f);
}

TEST_F(JumperTest, AnOpeningEndsInTheGlideAlongTheCanopysHeadingCarriedByTheWind)
{
    const xml::CNodePtr actor = State("CanopyRide")->GetChildById("Actor", "Body", "Name,Id");
    actor->GetAttribute("InitialVelocity")->SetValue("9.7, -3.3, 0");
    RemoveAttribute(actor, "WingLoading");
    const CVector wind(-3.6f, 0, 1);
    Blow(wind);
    CPhyJumper& jumper = MakeStartingIn("FreeFall");
    jumper.GetFreeFall().GetActor()->SetGlobalPosition({0, 1000, 0});
    Steps(300);
    jumper.SwitchToDeploymentState();
    for (int stage = 0; stage < 3; ++stage)
        jumper.GetDeploymentState()->NextStage();
    Steps(60);
    // Swung to a heading of 30 degrees, pitched and rolled under the canopy.
    CQuaternion heading, pitch, roll;
    heading.FromAngleAxis(0.52f, CVector::UNIT_Y);
    pitch.FromAngleAxis(-0.2f, CVector::UNIT_Z);
    roll.FromAngleAxis(0.1f, CVector::UNIT_X);
    jumper.GetDeployment().GetActor()->SetGlobalOrientation(heading * pitch * roll);
    Steps(1);
    const CVector falling = jumper.GetVelocity();
    ASSERT_GT(-falling.y, 5.0f);
    const CVector position = jumper.GetPos();

    jumper.SwitchToCanopyRideState();
    EXPECT_LT((jumper.GetPos() - position).Length(), 0.01f);
    CVector forward = jumper.GetOrientation() * CVector::UNIT_X;
    forward.y = 0;
    forward.Normalize();
    ASSERT_GT(forward.Dot(heading * CVector::UNIT_X), 0.995f);
    const CVector glide = forward * 9.7f + CVector(0, -3.3f, 0) + wind;
    EXPECT_VECTOR_NEAR(glide, jumper.GetVelocity(), 1e-3f);
    for (const auto& cell : jumper.GetCanopyRide().GetCells())
        EXPECT_VECTOR_NEAR(glide, cell->GetActor()->GetLinearVelocity(), 1e-3f);

    // Only an opening: from any other phase the canopy ride goes on as fast as the body moved.
    jumper.SwitchToFreeFallState();
    Steps(10);
    const CVector moving = jumper.GetVelocity();
    jumper.SwitchToCanopyRideState();
    EXPECT_VECTOR_NEAR(moving, jumper.GetVelocity(), 0.1f);
}

TEST_F(JumperTest, TheExitWeightAndCanopySizeAreTheBodysOwn)
{
    const float sw = State("CanopyRide")->GetChildById("ForceLift", "Lift", "Name,Id")->GetAttribute("Sw")->GetValue<float>();
    CPhyJumperDesc heavy;
    heavy.m_ExitWeight = 90.0f;
    CPhyJumper& jumper = Make(heavy);
    EXPECT_NEAR(95.0f, jumper.GetDeployment().GetActor()->GetMass(), 1e-3f);
    EXPECT_NEAR(95.0f, jumper.GetFreeFall().GetActor()->GetMass(), 1e-3f);
    const xml::CNodePtr info = jumper.GetPhyInfo();
    EXPECT_EQ("PhyInfo", info->GetName());
    const xml::CNodePtr loading = info->GetChild("Info");
    EXPECT_EQ("Wing loading", loading->GetAttribute("Name")->GetValue());
    EXPECT_EQ("WingLoading", loading->GetAttribute("Units")->GetValue());
    EXPECT_NEAR(90.0f / sw, loading->GetValue<float>(), 1e-4f);

    CPhyJumperDesc big;
    big.m_CanopySize = 25.0f;
    EXPECT_FLOAT_EQ(25.0f, Make(big).GetCanopyRide().GetWingArea());

    // Neither leaks into the next body or the world's configuration; what is
    // not above 0, or not a number, changes nothing.
    for (float ignored : {0.0f, -5.0f, NAN, INFINITY})
    {
        CPhyJumperDesc plain;
        plain.m_ExitWeight = ignored;
        plain.m_CanopySize = ignored;
        CPhyJumper& other = Make(plain);
        EXPECT_NEAR(75.0f, other.GetDeployment().GetActor()->GetMass(), 1e-3f) << ignored;
        EXPECT_FLOAT_EQ(sw, other.GetCanopyRide().GetWingArea()) << ignored;
    }
    EXPECT_EQ(4, std::count_if(m_Log.m_Lines.begin(), m_Log.m_Lines.end(), [](const std::string& line) {
                  return line.find("Warning: ") == 0 && line.find(" ignored") != std::string::npos;
              }));
    EXPECT_TRUE(m_Log.Has("Warning: Exit weight nan ignored"));
    EXPECT_EQ("70", PhyJumper()->GetChildById("Shape", "Body", "Name,Id")->GetAttribute("Mass")->GetValue());
}

TEST_F(JumperTest, TheCanopyModelAndInputConversionCanBeChosen)
{
    CPhyJumperDesc desc;
    desc.m_CanopyModel = "OneCell";
    desc.m_InputConversion = "Student";
    CPhyJumper& jumper = Make(desc);
    EXPECT_EQ(1u, jumper.GetCanopyRide().GetCells().size());
    EXPECT_TRUE(m_Log.Has("Using canopy phy model: OneCell"));
    EXPECT_EQ("Student", physics::GetJumperState(jumper.GetConfig(), "CanopyRide")->GetAttribute("InputConversion")
                             ->GetValue());
    EXPECT_EQ("ThreeCellsShell", State("CanopyRide")->GetAttribute("CanopyModel")->GetValue());
}

TEST_F(JumperTest, TelemetryGoesToTheColumnsOfTheBodysIndex)
{
    sds::GetDataLogs().clear();
    CPhyJumperDesc first;
    first.m_Name = "A";
    first.m_LogData = true;
    CPhyJumperDesc second = first;
    second.m_Name = "B";
    second.m_Index = 1;
    CPhyJumperDesc silent = first;
    silent.m_Name = "C";
    silent.m_LogData = false;
    silent.m_Index = 2;
    Make(first);
    Make(second);
    Make(silent);
    Steps(3);

    const sds::CDataLog::CColumns& columns = sds::GetDataLog("main").GetColumns();
    for (const char* name : {"1000_A_Pos_x", "1001_A_Pos_y", "1002_A_Pos_z", "1003_A_LinearVel_x", "1004_A_LinearVel_y",
                             "1005_A_LinearVel_z", "1006_A_LinearVel_Mag", "1007_A_BodyDrag_Mag", "1011_A_Reserved",
                             "1020_A_LeftCell_Drag_Mag", "1040_A_LeftCell_PressureSpeed", "1050_A_RightCell_Drag_Mag",
                             "2000_B_Pos_x", "2007_B_BodyDrag_Mag"})
        EXPECT_EQ(1u, columns.count(name)) << name;
    EXPECT_EQ(0u, columns.count("1008_A_Pos_x"));
    for (const auto& column : columns)
        EXPECT_EQ(std::string::npos, column.first.find("_C_")) << column.first;
    EXPECT_EQ(3u, columns.at("1000_A_Pos_x").GetCells().size());
    // The speed is the size of the velocity logged beside it.
    const auto last = [&columns](const char* name) {
        return std::stof(columns.at(name).GetCells().rbegin()->second);
    };
    const CVector velocity(last("1003_A_LinearVel_x"), last("1004_A_LinearVel_y"), last("1005_A_LinearVel_z"));
    EXPECT_GT(velocity.Length(), 1.0f);
    EXPECT_NEAR(velocity.Length(), last("1006_A_LinearVel_Mag"), 1e-3f);
    sds::GetDataLogs().clear();
}

TEST_F(JumperTest, TheJumpersAndTheCanopysRagDollsCannotBeLeftOut)
{
    for (const char* name : {"Jumper", "Canopy"})
    {
        const xml::CNodePtr ragDoll = State("Landing")->GetChildById("RagDoll", name, "Name,Id");
        ragDoll->AddAttribute("Disabled", "");
        try
        {
            Make();
            ADD_FAILURE() << name;
        }
        catch (const sds::CException& e)
        {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("RagDoll[Name=" + std::string(name) + "]"))
                << e.what();
        }
        RemoveAttribute(ragDoll, "Disabled");
    }
}

TEST_F(JumperTest, APilotChuteFliesOnlyWhenShownAndNotDisabled)
{
    EXPECT_TRUE(Make().GetCanopyRideState()->GetPilotChute());
    EXPECT_TRUE(Make().GetLanding().GetPilotChute());

    CPhyJumperDesc hidden;
    hidden.m_ShowPilotChute = false;
    CPhyJumper& withoutFlag = Make(hidden);
    EXPECT_FALSE(withoutFlag.GetCanopyRideState()->GetPilotChute());
    EXPECT_FALSE(withoutFlag.GetLanding().GetPilotChute());

    State("CanopyRide")->GetChild("PilotChute")->AddAttribute("Disabled", "");
    CPhyJumper& disabled = Make();
    EXPECT_FALSE(disabled.GetCanopyRideState()->GetPilotChute());
    EXPECT_FALSE(disabled.GetLanding().GetPilotChute());
}

TEST_F(JumperTest, TheWorldStepsItsLiveJumpersAndMakesNoneWithoutAFactory)
{
    sds::GetDataLogs().clear();
    CPhyJumperDesc logged;
    logged.m_LogData = true;
    logged.m_Name = "W";
    Make(logged);
    Steps(2);
    EXPECT_EQ(2u, sds::GetDataLog("main").GetColumns().at("1000_W_Pos_x").GetCells().size());
    m_Jumpers.clear(); // the world keeps no body alive
    Steps(2);
    sds::GetDataLogs().clear();

    m_World.reset();
    const std::shared_ptr<physics::CPhyMgr> bare =
        physics::CPhyMgr::Create(m_Physics, LoadShipped("../conf/materials.conf", "Materials"));
    EXPECT_THROW(bare->CreateJumper("J", false, 0, {}, {}, 0, 0, "", "", true), physics::CPhyMgrException);
    m_Physics->RemoveChild(m_Physics->GetChild("PhyJumper"));
    bare->SetJumperFactory(&CPhyJumper::Create);
    EXPECT_THROW(bare->CreateJumper("J", false, 0, {}, {}, 0, 0, "", "", true), xml::CNoNodeException);
}

TEST_F(JumperTest, ABodyOutlivesItsWorldInEveryPhase)
{
    // Like every other physical object, the body may be released after the world it lived in.
    const std::pair<const char*, std::function<void(CPhyJumper&)>> phases[] = {
        {"exit", [](CPhyJumper& j) { j.SwitchToExitState(); }},
        {"free fall", [](CPhyJumper& j) { j.SwitchToFreeFallState(); }},
        {"deployment",
         [](CPhyJumper& j) {
             j.SwitchToDeploymentState();
             for (int i = 0; i < 3; ++i)
                 j.GetDeploymentState()->NextStage();
         }},
        {"canopy ride", [](CPhyJumper& j) { j.SwitchToCanopyRideState(); }},
        {"landing", [](CPhyJumper& j) { j.SwitchToLandingState(); }},
        {"stand-up landing",
         [](CPhyJumper& j) {
             j.GetLandingState()->SetLandingMode(1);
             j.SwitchToLandingState();
         }},
    };
    for (const auto& phase : phases)
    {
        SCOPED_TRACE(phase.first);
        if (!m_World)
        {
            m_World = physics::CPhyMgr::Create(m_Physics, LoadShipped("../conf/materials.conf", "Materials"));
            m_World->SetJumperFactory(&CPhyJumper::Create);
            m_World->CreateGroundPlane();
        }
        CPhyJumperDesc desc;
        desc.m_Position = {0, 300, 0};
        phase.second(Make(desc));
        Steps(20);
        m_World.reset();
        m_Jumpers.clear();
    }
}
