#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/BindingMgr.h"
#include "app/EventNames.h"
#include "graphics/IAnimation.h"
#include "jumper/CanopyRideInputs.h"
#include "jumper/CanopyRideState.h"
#include "jumper/DoneState.h"
#include "jumper/IJumpEndDisplay.h"
#include "jumper/JumperMgr.h"
#include "jumper/LandingNormalState.h"
#include "physics/IPhyJumper.h"
#include "JumperWorld.h"
#include "support/FakeEventMgr.h"

namespace {

// Lands the jumper normally at its first contact with anything.
class CTouchDownJudge : public sds::ICollisionJudge
{
public:
    explicit CTouchDownJudge(sds::IJudgedJumper& jumper) : m_Jumper(jumper)
    {
        jumper.GetPhyJumper()->SetCollisionCallback([this](const physics::IPhyCollisionEvent&) { m_Touched = true; });
    }
    void Update(const sds::CTiming&) override
    {
        if (m_Touched && !m_Landed) {
            m_Landed = true;
            m_Jumper.Land(sds::IJudgedJumper::LANDING_NORMAL);
        }
    }
    void OnCollision(const physics::IPhyCollisionEvent&) override {}
    xml::CNodePtr GetCollisionInfo() override { return MakeUnfinishedInfo(); }

private:
    sds::IJudgedJumper& m_Jumper;
    bool m_Touched = false;
    bool m_Landed = false;
};

class CJumpEnd : public sds::IJumpEndDisplay
{
public:
    void ShowTrajectory(bool show, const std::string& text) override { m_Shown.emplace_back(show, text); }
    bool ShowsLandingComment() const override { return false; }
    void ShowCentreMessage(const std::string&) override {}

    std::vector<std::pair<bool, std::string>> m_Shown;
};

} // namespace

// A whole jump from the aircraft's door to the landing, driven by keys through
// the shipped bindings as the user would fly it.
class ScriptedJump : public JumperTest
{
protected:
    ScriptedJump() : m_Bindings(LoadShipped("../conf/bindings.xml", "InputBindings"))
    {
        m_World->CreateGroundPlane();
        // The event-distribution mod's part: named events go to the jumpers.
        m_Connections.emplace_back(
            m_Events.ConnectInternalEvent([this](const sds::CInternalEvent& e) { m_Jumpers.ForwardEvent(e); }));
        m_Connections.emplace_back(m_Events.ConnectAnalogInternalEvent(
            [this](const sds::CInternalEvent& e) { m_Jumpers.ForwardAnalogEvent(e); }));
        m_Aircraft = m_Gfx.CreateObject(">novis", nullptr);
        m_Aircraft->SetPos({0, 250, 0});
        m_Aircraft->UpdateTransform();

        sds::CJumperLinks links;
        links.Aircraft = m_Aircraft;
        links.InputModes = &m_Bindings;
        links.JumpEnd = &m_JumpEnd;
        links.Clock = [this] { return m_ClockMs; };
        links.JudgeFactory = [](const std::string&, sds::IJudgedJumper& jumper, const xml::CNodePtr&) {
            return std::make_shared<CTouchDownJudge>(jumper);
        };
        m_Jumper = std::shared_ptr<CJumper>(Make(Config(), CVector(0, 250, 0), links, true));
        m_Jumpers.AddToUpdateList(m_Jumper);
    }

    void Key(const std::string& name, bool pressed)
    {
        sds::CDiscreteEvent event;
        event.Type = pressed ? sds::EVENT_KEY_PRESSED : sds::EVENT_KEY_RELEASED;
        event.Key = sds::ParseKey(name).Key;
        m_Events.FireDiscreteEvent(event);
    }
    void Tap(const std::string& name)
    {
        Key(name, true);
        Frames(3);
        Key(name, false);
        Frames(3);
    }
    void Frame()
    {
        const sds::CTiming frame{1.0f / 60.0f, m_Time};
        m_Time += frame.m_Elapsed;
        m_ClockMs += 17;
        m_World->Update(frame);
        m_Jumpers.UpdateAll(frame);
        if (m_Jumper->GetCurrentState() == m_Jumper->GetCanopyRideState()) {
            const auto& inputs = m_Jumper->GetCanopyRideState()->GetInputs();
            m_LeftToggle = std::max(m_LeftToggle, inputs->GetLeftToggle());
            m_RightToggle = std::max(m_RightToggle, inputs->GetRightToggle());
        }
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    // Frames until the state is current, within a bound of simulated seconds.
    bool RunUntil(const sds::JumperStates::CJumperState* state, float seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds * 60.0f); ++i) {
            if (m_Jumper->GetCurrentState() == state)
                return true;
            Frame();
        }
        return m_Jumper->GetCurrentState() == state;
    }
    // The lines of the log among `wanted`, in order.
    std::vector<std::string> Lines(const std::vector<std::string>& wanted) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : m_Log.m_Lines)
            if (std::find(wanted.begin(), wanted.end(), line) != wanted.end())
                lines.push_back(line);
        return lines;
    }
    // The mode on top after each change.
    std::vector<std::string> TopModes() const
    {
        std::vector<std::string> modes;
        for (const std::string& line : m_Log.m_Lines)
            for (const std::string prefix : {"New input mode: ", "Restored input mode: "})
                if (line.compare(0, prefix.size(), prefix) == 0)
                    modes.push_back(line.substr(prefix.size()));
        return modes;
    }

    CFakeEventMgr m_Events;
    sds::CBindingMgr m_Bindings;
    sds::CJumperMgr m_Jumpers;
    std::vector<boost::signals2::scoped_connection> m_Connections;
    CJumpEnd m_JumpEnd;
    CGfxObjPtr m_Aircraft;
    std::shared_ptr<CJumper> m_Jumper;
    float m_Time = 0.0f;
    std::uint64_t m_ClockMs = 1000;
    float m_LeftToggle = 0.0f;
    float m_RightToggle = 0.0f;
};

TEST_F(ScriptedJump, FromTheDoorToTheLandingWithTheShippedKeys)
{
    Frames(5);
    Tap("Space"); // out of the door
    Tap("Space"); // let go
    Frames(90);
    Tap("Space"); // pull
    ASSERT_TRUE(RunUntil(m_Jumper->GetCanopyRideState(), 30.0f)) << m_Log.m_Lines.back();
    Frames(30);
    Tap("X");
    Tap("V");
    Frames(60);
    Key("A", true);
    Key("D", true);
    ASSERT_TRUE(RunUntil(m_Jumper->GetDoneState(), 120.0f)) << "height " << m_Jumper->GetPos().y;
    Frames(10);
    Key("A", false);
    Key("D", false);

    EXPECT_EQ((std::vector<std::string>{"CExitPlaneState", "HangingOutOfPlaneState", "CFreeFallState",
                                        "Reaching Main Handle", "Pulling Main Handle", "CDeploymentState",
                                        "Deploying pilot chute", "Pilot chute is catching air", "Extracting DBag",
                                        "Extracting canopy", "Inflating canopy", "Slider slides down",
                                        "CCanopyRideState", "CLandingNormalState", "CDoneState"}),
              Lines({"CExitPlaneState", "HangingOutOfPlaneState", "CFreeFallState", "Reaching Main Handle",
                     "Pulling Main Handle", "CDeploymentState", "Deploying pilot chute",
                     "Pilot chute is catching air", "Extracting DBag", "Extracting canopy", "Inflating canopy",
                     "Slider slides down", "CCanopyRideState", "CLandingNormalState", "CDoneState"}));
    EXPECT_EQ((std::vector<std::string>{"Global", "ExitPlane", "Global", "HangingOutOfPlane", "Global", "FreeFall",
                                        "Global", "CanopyRide", "Global", "LandingNormal", "Global"}),
              TopModes());
    EXPECT_FLOAT_EQ(1.0f, m_LeftToggle);
    EXPECT_FLOAT_EQ(1.0f, m_RightToggle);
    EXPECT_EQ((std::vector<std::pair<bool, std::string>>{{true, ""}}), m_JumpEnd.m_Shown);
}
