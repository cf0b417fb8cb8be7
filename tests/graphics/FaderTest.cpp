#include <gtest/gtest.h>

#include "graphics/memory/MemFader.h"
#include "support/FakeEventMgr.h"

namespace {

// A fader on a clock the test moves.
class FaderTest : public ::testing::Test
{
protected:
    FaderTest() : m_Fader([this] { return m_Now; }) {}

    void Advance(std::uint64_t ms)
    {
        m_Now += ms;
        m_Events.FireFrame(ms / 1000.0f);
    }

    CFakeEventMgr m_Events;
    std::uint64_t m_Now = 1000;
    sds::CMemFader m_Fader;
    int m_Calls = 0;
};

} // namespace

TEST_F(FaderTest, FadesOutRunsTheCallbackOnceAndFadesIn)
{
    m_Fader.StartFade(0.5f, 0.5f, [this] { ++m_Calls; });
    EXPECT_TRUE(m_Fader.IsVisible());
    Advance(250);
    EXPECT_NEAR(0.5f, m_Fader.GetAlpha(), 1e-4f);
    EXPECT_EQ(0, m_Calls);
    Advance(250);
    EXPECT_FLOAT_EQ(1.0f, m_Fader.GetAlpha());
    EXPECT_EQ(1, m_Calls);
    Advance(100);
    EXPECT_FLOAT_EQ(1.0f, m_Fader.GetAlpha());
    Advance(200);
    EXPECT_NEAR(0.8f, m_Fader.GetAlpha(), 1e-4f);
    EXPECT_TRUE(m_Fader.IsFading());
    Advance(400);
    EXPECT_FALSE(m_Fader.IsVisible());
    EXPECT_FALSE(m_Fader.IsFading());
    Advance(100);
    EXPECT_EQ(1, m_Calls);
}

TEST_F(FaderTest, ZeroOutTimeRunsTheCallbackAtOnce)
{
    m_Fader.StartFade(0.0f, 1.0f, [this] { ++m_Calls; });
    EXPECT_EQ(1, m_Calls);
    Advance(500);
    EXPECT_NEAR(1.0f, m_Fader.GetAlpha(), 1e-4f);
    Advance(600);
    EXPECT_FALSE(m_Fader.IsVisible());
}

TEST_F(FaderTest, SlowFrameEndsTheOutPhaseAtOnce)
{
    m_Fader.StartFade(0.5f, 0.5f, [this] { ++m_Calls; });
    Advance(2000);
    EXPECT_FLOAT_EQ(1.0f, m_Fader.GetAlpha());
    EXPECT_EQ(1, m_Calls);
}

TEST_F(FaderTest, StopFadeRunsAPendingCallbackAndIdleStopDoesNothing)
{
    m_Fader.StopFade();
    EXPECT_EQ(0, m_Calls);
    m_Fader.StartFade(1.0f, 1.0f, [this] { ++m_Calls; });
    Advance(300);
    m_Fader.StopFade();
    EXPECT_EQ(1, m_Calls);
    EXPECT_FALSE(m_Fader.IsVisible());
    EXPECT_FALSE(m_Fader.IsFading());
    m_Fader.StopFade();
    EXPECT_EQ(1, m_Calls);
}

TEST_F(FaderTest, CallbackMayStartTheNextFade)
{
    m_Fader.StartFade(0.1f, 0.0f, [this] {
        ++m_Calls;
        m_Fader.StartFade(0.1f, 0.1f, [this] { ++m_Calls; });
    });
    Advance(100);
    EXPECT_EQ(1, m_Calls);
    Advance(100);
    EXPECT_EQ(2, m_Calls);
    Advance(200);
    EXPECT_FALSE(m_Fader.IsFading());
}

TEST_F(FaderTest, ZeroInTimeKeepsTheScreenCoveredUntilStopped)
{
    m_Fader.StartFade(0.1f, 0.0f, [this] { ++m_Calls; });
    Advance(200);
    Advance(5000);
    EXPECT_TRUE(m_Fader.IsVisible());
    EXPECT_FLOAT_EQ(1.0f, m_Fader.GetAlpha());
    m_Fader.StopFade();
    EXPECT_FALSE(m_Fader.IsVisible());
    EXPECT_EQ(1, m_Calls);
}
