#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "graphics/IAnimation.h"
#include "jumper/CanopyRideInputs.h"
#include "jumper/CanopyRideState.h"
#include "jumper/Container.h"
#include "jumper/SuspensionLines.h"
#include "jumper/CrashLandingState.h"
#include "jumper/DoneState.h"
#include "jumper/ExitPlaneState.h"
#include "jumper/FreeFallState.h"
#include "jumper/HangingOutOfPlaneState.h"
#include "jumper/ICanopy.h"
#include "jumper/LandingNormalState.h"
#include "jumper/RagDollObj.h"
#include "jumper/TeleportState.h"
#include "physics/IPhyJumper.h"
#include "JumperWorld.h"
#include "support/RecordingJumpEnd.h"

namespace {

sds::CInternalEvent Event(std::int32_t code, bool on)
{
    sds::CInternalEvent event;
    event.Code = code;
    event.On = on ? 1 : 0;
    return event;
}

} // namespace

// The states of one jumper over the in-memory graphics and the real physics.
class JumperStatesTest : public JumperTest
{
protected:
    std::unique_ptr<CJumper> MakeAt(const std::string& startState)
    {
        const xml::CNodePtr config = Config();
        config->GetChild("JumperStates")->GetAttribute("StartState")->SetValue(startState);
        sds::CJumperLinks links;
        links.Aircraft = m_Aircraft;
        links.JumpEnd = &m_JumpEnd;
        links.Clock = [this] { return m_ClockMs; };
        return Make(config, CVector(0, 1000, 0), links, false);
    }

    CGfxObjPtr m_Aircraft = m_Gfx.CreateObject(">novis", nullptr);
    CRecordingJumpEnd m_JumpEnd;
    std::uint64_t m_ClockMs = 5000;
};

TEST_F(JumperStatesTest, AtTheDoorOnlyTheReleaseOfLetGoMovesOn)
{
    for (const bool analog : {false, true}) {
        SCOPED_TRACE(analog ? "analog" : "discrete");
        const std::unique_ptr<CJumper> jumper = MakeAt("ExitPlane");
        const auto send = [&](const sds::CInternalEvent& event) {
            analog ? jumper->OnAnalogEvent(event) : jumper->OnDiscreteEvent(event);
        };
        send(Event(29, true));
        send(Event(27, false));
        EXPECT_EQ(jumper->GetExitPlaneState(), jumper->GetCurrentState());
        send(Event(29, false));
        EXPECT_EQ(jumper->GetHangingOutOfPlaneState(), jumper->GetCurrentState());
    }
}

TEST_F(JumperStatesTest, TheExitBodyRidesWithTheAircraft)
{
    const std::unique_ptr<CJumper> jumper = MakeAt("ExitPlane");
    const CVector door = jumper->GetPos();
    m_Aircraft->SetPos({1, 0, 0});
    m_Aircraft->UpdateTransform();
    jumper->Update(sds::CTiming{0.02f, 0.0f});
    EXPECT_VECTOR_NEAR(CVector(50, 0, 0), jumper->GetPhyJumper()->GetVelocity(), 1e-3f);
    EXPECT_VECTOR_NEAR(door + CVector(1, 0, 0), jumper->GetPhyJumper()->GetPos(), 1e-3f);
    // The body is turned as the jumper is drawn: free fall takes over from it.
    const sds::CQuaternion body = jumper->GetBodyObj()->GetWorldOrientation();
    const sds::CQuaternion phy = jumper->GetPhyJumper()->GetOrientation();
    EXPECT_NEAR(1.0f, std::fabs(body.w * phy.w + body.x * phy.x + body.y * phy.y + body.z * phy.z), 1e-4f);

    // A frame of no time gives no velocity rather than a division by it.
    m_Aircraft->SetPos({2, 0, 0});
    m_Aircraft->UpdateTransform();
    jumper->Update(sds::CTiming{0.00001f, 0.0f});
    EXPECT_VECTOR_NEAR(CVector::ZERO, jumper->GetPhyJumper()->GetVelocity(), 1e-6f);
}

TEST_F(JumperStatesTest, ANormalLandingStandsUpAndIsDoneAfterTheDelayOfWallClock)
{
    const std::unique_ptr<CJumper> jumper = MakeAt("CanopyRide");
    jumper->ChangeState(jumper->GetLandingNormalState());
    EXPECT_NEAR(1.0f, std::fabs(jumper->GetBodyObj()->GetOrientation().w), 1e-6f);
    EXPECT_FALSE(jumper->GetLandingNormalState()->GetBodyRagDoll()->IsPhysicsDriven());
    const sds::CAnimationPtr walking = jumper->ReadBodyAnimation("Walking");
    EXPECT_TRUE(walking->IsEnabled());

    // Long frames do not count: only the clock does.
    for (int i = 0; i < 5; ++i)
        jumper->Update(sds::CTiming{1.0f, 0.0f});
    m_ClockMs += 2000;
    jumper->Update(sds::CTiming{0.01f, 0.0f});
    EXPECT_EQ(jumper->GetLandingNormalState(), jumper->GetCurrentState());
    m_ClockMs += 1;
    jumper->Update(sds::CTiming{0.01f, 0.0f});
    jumper->Update(sds::CTiming{0.01f, 0.0f});
    EXPECT_EQ(jumper->GetDoneState(), jumper->GetCurrentState());
    EXPECT_EQ((std::vector<std::pair<bool, std::string>>{{true, ""}}), m_JumpEnd.m_Shown);
}

TEST_F(JumperStatesTest, ACrashIsLimpFromItsFirstFrame)
{
    const std::unique_ptr<CJumper> jumper = MakeAt("CanopyRide");
    jumper->OnEvent("Landing");
    ASSERT_EQ(jumper->GetCrashLandingState(), jumper->GetCurrentState());
    EXPECT_TRUE(jumper->GetCrashLandingState()->GetBodyRagDoll()->IsPhysicsDriven());
    jumper->OnEvent("Other");
    EXPECT_EQ(jumper->GetCrashLandingState(), jumper->GetCurrentState());
}

TEST_F(JumperStatesTest, AJudgesVerdictSendsTheJumperToItsState)
{
    const std::unique_ptr<CJumper> jumper = MakeAt("CanopyRide");
    const std::pair<sds::IJudgedJumper::ELanding, decltype(jumper->GetCurrentState())> verdicts[] = {
        {sds::IJudgedJumper::LANDING_NORMAL, jumper->GetLandingNormalState()},
        {sds::IJudgedJumper::LANDING_CRASH, jumper->GetCrashLandingState()},
        {sds::IJudgedJumper::LANDING_TELEPORT, jumper->GetTeleportState()},
    };
    for (const auto& verdict : verdicts) {
        jumper->Land(verdict.first);
        EXPECT_EQ(verdict.second, jumper->GetCurrentState()) << verdict.first;
    }
}

TEST_F(JumperStatesTest, ATeleportEndsAtOnceWithTheJudgesMessageOnItsOwnLine)
{
    const std::unique_ptr<CJumper> jumper = MakeAt("ExitPlane");
    jumper->ChangeState(jumper->GetTeleportState());
    jumper->Update(m_Frame);
    jumper->Update(m_Frame);
    EXPECT_EQ(jumper->GetDoneState(), jumper->GetCurrentState());
    EXPECT_EQ((std::vector<std::pair<bool, std::string>>{{true, "\n"}}), m_JumpEnd.m_Shown);
}

TEST_F(JumperStatesTest, TheHandsStartOnTheTogglesAndGoToAnotherControlWhenAsked)
{
    // The start under canopy sends both hands to their toggles.
    const std::unique_ptr<CJumper> jumper = MakeAt("CanopyRide");
    EXPECT_EQ(4, jumper->GetLeftHandControl());
    EXPECT_EQ(5, jumper->GetRightHandControl());
    for (int i = 0; i < 100; ++i)
        jumper->Update(m_Frame);
    // Taking the toggle it already holds changes nothing.
    jumper->OnDiscreteEvent(Event(16, true));
    EXPECT_EQ(4, jumper->GetLeftHandControl());

    // The toggle is let go at the next frame, and the hand goes for the riser.
    jumper->OnDiscreteEvent(Event(6, true));
    jumper->Update(m_Frame);
    EXPECT_EQ(6, jumper->GetLeftHandControl());
    EXPECT_EQ(5, jumper->GetRightHandControl());
    for (int i = 0; i < 100; ++i)
        jumper->Update(m_Frame);
    // On the riser: turning pulls it all the way.
    jumper->OnDiscreteEvent(Event(2, true));
    for (int i = 0; i < 100; ++i)
        jumper->Update(m_Frame);
    EXPECT_FLOAT_EQ(1.0f, jumper->GetLeftTurnValue());
    EXPECT_FLOAT_EQ(1.0f,
                    jumper->GetContainer()->GetCanopy()->GetLeftRearRiserTurnAnimation()->GetRelativePosition());
    EXPECT_EQ(6, jumper->GetLeftHandControl());
}

TEST_F(JumperStatesTest, InFreeFallATurnPlaysForwardThenBackAndBackSendsEveryOtherPoseOut)
{
    const std::unique_ptr<CJumper> jumper = MakeAt("ExitPlane");
    std::map<std::string, sds::CAnimationPtr> poses;
    for (const char* name :
         {"LeftArmTurnFF", "RightArmTurnFF", "ForwardFF", "BackwardFF", "SlideRightFF", "SlideLeftFF", "Tracking"})
        poses[name] = jumper->ReadBodyAnimation(name);
    jumper->ChangeState(jumper->GetFreeFallState());
    const auto frames = [&](int count) {
        for (int i = 0; i < count; ++i)
            jumper->Update(m_Frame);
    };

    jumper->OnDiscreteEvent(Event(2, true));
    frames(3);
    const float held = poses["LeftArmTurnFF"]->GetRelativePosition();
    EXPECT_GT(held, 0.0f);
    jumper->OnDiscreteEvent(Event(2, false));
    frames(1);
    EXPECT_LT(poses["LeftArmTurnFF"]->GetRelativePosition(), held);
    EXPECT_TRUE(poses["LeftArmTurnFF"]->IsEnabled());
    EXPECT_TRUE(poses["RightArmTurnFF"]->IsEnabled());

    // Others in the blend first, then back.
    jumper->OnDiscreteEvent(Event(19, true));
    frames(10);
    jumper->OnDiscreteEvent(Event(22, true));
    frames(10);
    jumper->OnDiscreteEvent(Event(20, true));
    frames(50);
    for (const auto& [name, pose] : poses) {
        SCOPED_TRACE(name);
        EXPECT_EQ(name == "BackwardFF", pose->IsEnabled());
    }
    EXPECT_FLOAT_EQ(1.0f, poses["BackwardFF"]->GetWeight());
}

// Canopy ride entered as the deployment enters it, with the rig's lines out.
class HandsTest : public JumperStatesTest
{
protected:
    HandsTest() { StartCanopyRide(); }

    // A fresh jumper at the door goes straight under its canopy.
    void StartCanopyRide()
    {
        m_Jumper = MakeAt("ExitPlane");
        for (const char* name : {"LeftToggleTurn", "RightToggleTurn", "LeftRearRiserTurn", "RightRearRiserTurn",
                                 "LeftFrontRiserTurn", "RightFrontRiserTurn", "LeftReachStowed", "RightReachStowed",
                                 "LeftUnstow", "RightUnstow"})
            m_Arms[name] = m_Jumper->ReadBodyAnimation(name);
        const sds::CContainerPtr rig = m_Jumper->GetContainer();
        rig->CreateBridleLine();
        rig->CreateLines();
        m_Jumper->ChangeState(m_Jumper->GetCanopyRideState());
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            m_Jumper->Update(m_Step);
    }
    // Whether the hand holds its rear riser.
    bool HoldsRearRiser(bool left) const
    {
        sds::CSuspensionLines& lines =
            *std::dynamic_pointer_cast<sds::CContainer>(m_Jumper->GetContainer())->GetSuspensionLines();
        const auto riser = left ? sds::CSuspensionLines::LEFT_REAR : sds::CSuspensionLines::RIGHT_REAR;
        return lines.GetMovingRiserPoint(riser).GetTarget().get() == lines.GetHandPoint(left).get();
    }
    const sds::JumperStates::CCanopyRideInputs& Inputs() const
    {
        return *m_Jumper->GetCanopyRideState()->GetInputs();
    }

    std::unique_ptr<CJumper> m_Jumper;
    std::map<std::string, sds::CAnimationPtr> m_Arms;
    const sds::CTiming m_Step{0.05f, 0.0f};
};

TEST_F(HandsTest, BothHandsHoldTheirRearRisersAQuarterSecondAfterEntryAndAnEarlierTurnLeavesNoTrace)
{
    // The hands' fades run twice a frame: a reach takes half of this.
    ASSERT_FLOAT_EQ(0.5f, m_Jumper->GetConfig()->GetChild("Animation")->GetAttribute("TransitionTime")->GetValue<float>());
    Frames(4);
    EXPECT_FALSE(HoldsRearRiser(true));
    EXPECT_FALSE(HoldsRearRiser(false));
    // Handed in during the reach, with no binding holding them.
    m_Jumper->OnDiscreteEvent(Event(2, true));
    m_Jumper->OnDiscreteEvent(Event(3, true));
    Frames(1);
    EXPECT_TRUE(HoldsRearRiser(true));
    EXPECT_TRUE(HoldsRearRiser(false));
    Frames(10);
    EXPECT_EQ(0.0f, Inputs().GetLeftRearRiser());
    EXPECT_EQ(0.0f, Inputs().GetRightRearRiser());

    // Now a turn pulls, on its own side only.
    m_Jumper->OnDiscreteEvent(Event(2, true));
    Frames(2);
    EXPECT_GT(Inputs().GetLeftRearRiser(), 0.0f);
    EXPECT_EQ(0.0f, Inputs().GetRightRearRiser());
}

TEST_F(HandsTest, LeavingCanopyRideMidReachOrMidSwitchLeavesNoArmRaised)
{
    struct CCase
    {
        const char* m_Name;
        int m_Frames;
        std::int32_t m_Switch;
    };
    const CCase cases[] = {{"mid-reach", 2, 0}, {"going for the stowed toggle", 10, 16}};
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.m_Name);
        StartCanopyRide();
        Frames(c.m_Frames);
        if (c.m_Switch) {
            m_Jumper->OnDiscreteEvent(Event(c.m_Switch, true));
            Frames(1);
        }
        const std::size_t raised = std::count_if(m_Arms.begin(), m_Arms.end(),
                                                 [](const auto& arm) { return arm.second->IsEnabled(); });
        ASSERT_GT(raised, 0u);
        m_Jumper->ChangeState(m_Jumper->GetLandingNormalState());
        Frames(40);
        for (const auto& [name, arm] : m_Arms) {
            SCOPED_TRACE(name);
            EXPECT_FALSE(arm->IsEnabled());
        }
    }
}
