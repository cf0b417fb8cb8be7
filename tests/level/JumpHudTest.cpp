#include <gtest/gtest.h>

#include <string>

#include "JumpWorld.h"
#include "graphics/memory/MemDial.h"
#include "jumper/Altimeter.h"
#include "core/services/EventCodes.h"
#include "jumper/FreeFallState.h"

namespace {

// The head-up display of the default jump as the trainee flies it by the
// shipped keys: the shipped configuration, preset and bindings.
class JumpHudTest : public ::testing::Test
{
protected:
    JumpHudTest()
    {
        m_World.Start();
        m_World.Jump();
    }

    sds::CMemOverlayElement& Element(const std::string& name) const
    {
        return *m_World.m_Gfx.FindOverlayElement(name);
    }
    bool Shown(const std::string& overlay) const { return m_World.m_Gfx.IsOverlayVisible(overlay); }

    // The altimeter's dial on the screen, reading the jumper's height.
    void ExpectAltimeterShown(const std::string& phase) const
    {
        const sds::CJumper& jumper = *m_World.Jumper();
        ASSERT_EQ(1u, jumper.GetAltimeters().size()) << phase;
        const sds::CAltimeter& altimeter = dynamic_cast<const sds::CAltimeter&>(*jumper.GetAltimeters()[0]);
        EXPECT_TRUE(Shown("AltimeterOverlay")) << phase;
        EXPECT_EQ(altimeter.GetCaption(), Element("AltimeterOverlay/Panel").m_Material) << phase;
        // The preset's analog model: a turn of the needle per 3658 m.
        const auto& dial = dynamic_cast<const sds::CMemDial&>(*altimeter.GetDial());
        EXPECT_NEAR(-jumper.GetPos().y * 360.0f / 3658.0f, dial.m_Value, 0.5f) << phase;
    }

    void Tap(const std::string& key)
    {
        m_World.Key(key, true);
        m_World.Frames(3);
        m_World.Key(key, false);
        m_World.Frames(3);
    }

    // Which of the hand's three elements the input-type overlay shows.
    std::string HandShown(const std::string& hand) const
    {
        std::string shown;
        for (const char* control : {"Brake", "FrontRiser", "RearRiser"})
            if (Element("InputType/" + hand + control).m_Visible)
                shown += (shown.empty() ? "" : "+") + std::string(control);
        return shown;
    }

    CJumpWorld m_World;
};

} // namespace

TEST_F(JumpHudTest, TheAltimeterIsOnTheScreenFromTheDoorToTheLanding)
{
    using sds::CJumper;
    ASSERT_NE(nullptr, m_World.Jumper());
    m_World.Frames(10);
    ExpectAltimeterShown("in the aircraft");
    // The aircraft flies 200 m over the ground at the target's height.
    EXPECT_NEAR(200.0f, m_World.Jumper()->GetAltimeters()[0]->GetAltitude(), 10.0f);

    Tap("Space");
    Tap("Space");
    ASSERT_TRUE(m_World.RunUntil([](const CJumper& j) { return j.GetFreeFallState(); }, 5.0f));
    m_World.Frames(60);
    ExpectAltimeterShown("in free fall");

    Tap("Space");
    ASSERT_TRUE(m_World.RunUntil([](const CJumper& j) { return j.GetCanopyRideState(); }, 30.0f));
    m_World.Frames(30);
    ExpectAltimeterShown("under canopy");

    for (int i = 0; i < 6000 && !m_World.TouchedDown(); ++i)
        m_World.Frame();
    ASSERT_TRUE(m_World.TouchedDown());
    ExpectAltimeterShown("at the touch-down");
    EXPECT_NEAR(0.0f, m_World.Jumper()->GetAltimeters()[0]->GetAltitude(), 1.5f) << "on the ground";
}

// Under canopy the hands first hold the rear risers; X and V take the toggles.
TEST_F(JumpHudTest, TheControlTypeNamesWhatTheHandsHold)
{
    using sds::CJumper;
    m_World.Frames(10);
    Tap("Space");
    Tap("Space");
    ASSERT_TRUE(m_World.RunUntil([](const CJumper& j) { return j.GetFreeFallState(); }, 5.0f));
    // In free fall the hands hold no canopy control.
    m_World.Frames(30);
    EXPECT_EQ("", HandShown("Left"));
    EXPECT_EQ("", HandShown("Right"));

    Tap("Space");
    ASSERT_TRUE(m_World.RunUntil([](const CJumper& j) { return j.GetCanopyRideState(); }, 30.0f));
    m_World.Frames(60);
    ASSERT_EQ(sds::EventCodes::TurnLeftRearRiser, m_World.Jumper()->GetLeftHandControl());
    EXPECT_EQ("RearRiser", HandShown("Left"));
    EXPECT_EQ("RearRiser", HandShown("Right"));
    EXPECT_EQ("Rear Risers", Element("CenterMessage/Message").m_Caption);

    // The hand holds the toggle from the moment it reaches for it.
    Tap("X");
    Tap("V");
    ASSERT_EQ(sds::EventCodes::TurnLeftToggle, m_World.Jumper()->GetLeftHandControl());
    ASSERT_EQ(sds::EventCodes::TurnRightToggle, m_World.Jumper()->GetRightHandControl());
    EXPECT_EQ("Brake", HandShown("Left"));
    EXPECT_EQ("Brake", HandShown("Right"));
    EXPECT_EQ("Brakes", Element("CenterMessage/Message").m_Caption);

    // Still reaching for the stowed toggle, the hand ignores the front riser's key.
    Tap("Z");
    EXPECT_EQ(sds::EventCodes::TurnLeftToggle, m_World.Jumper()->GetLeftHandControl());
    EXPECT_EQ("Brake", HandShown("Left"));
    m_World.Frames(60);
    Tap("Z");
    EXPECT_EQ(sds::EventCodes::TurnLeftFrontRiser, m_World.Jumper()->GetLeftHandControl());
    EXPECT_EQ("FrontRiser", HandShown("Left"));
}
