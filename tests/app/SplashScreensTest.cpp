// The splash screens: the timing of one screen, skipping with a key, and the
// hand-over to the main menu, over fake services and a test clock.

#include <gtest/gtest.h>

#include <algorithm>

#include "EngineWorld.h"
#include "app/SplashScreensState.h"
#include "support/Frames.h"

using sds::test::Frame;

using namespace sds;
using EngineStates::CSplashScreensState;

namespace {

typedef CSplashScreensState::CSplashScreenInfo CInfo;

xml::CNodePtr Screen(const std::string& attributes)
{
    return ParseElement("<SplashScreen Overlay=\"SplashScreens/Title\" " + attributes + "/>");
}

// The configuration with its "SplashScreens" element replaced.
xml::CNodePtr ConfigWithScreens(const std::string& screens)
{
    const xml::CNodePtr config = LoadDefaultConfig();
    config->RemoveChild(config->GetChild("SplashScreens"));
    config->AddChild(ParseElement("<SplashScreens>" + screens + "</SplashScreens>"));
    return config;
}

class SplashScreensTest : public ::testing::Test
{
protected:
    explicit SplashScreensTest(const xml::CNodePtr& config = ConfigWithScreens(
                                   "<SplashScreen Overlay=\"SplashScreens/Title\" FadeIn=\"1\" Show=\"2\" "
                                   "FadeOut=\"1\" Interruptible=\"1\"/>"))
        : m_World(config)
    {
        m_Engine = m_World.MakeEngine();
        m_Engine->Start();
    }

    CSplashScreensState& Splash() { return *m_Engine->GetSplashScreensState(); }
    bool TitleShown() const { return m_World.m_Gfx.IsOverlayVisible("SplashScreens/Title"); }
    bool InMenuMode() const { return m_Engine->HasStates() && m_Engine->GetCurrentState() == m_Engine->m_MenuModeState; }
    bool MenusSentToTheMainMenu() const
    {
        const std::vector<std::string>& calls = CEngineWorld::Menus(*m_Engine).m_Calls;
        return std::find(calls.begin(), calls.end(), "GoToMainMenu") != calls.end();
    }

    CEngineWorld m_World;
    std::unique_ptr<CEngine> m_Engine;
};

} // namespace

TEST(SplashScreenInfo, FadesInShowsAndFadesOutOnePhaseAFrame)
{
    CEngineWorld world;
    CInfo info(Screen("FadeIn=\"2\" Show=\"1\" FadeOut=\"2\" Interruptible=\"0\""));
    EXPECT_FALSE(world.m_Gfx.IsOverlayVisible("SplashScreens/Title")) << "made hidden";

    const struct
    {
        float Elapsed;
        float Alpha;
    } frames[] = {
        {0.5f, 0.75f}, {1.0f, 0.25f}, {1.0f, 0.0f},  // fade-in, the last step overshoots
        {0.6f, 0.0f},  {0.6f, 0.0f},                  // show: the alpha stays
        {1.0f, 0.5f},  {0.5f, 0.75f}, {0.7f, 1.0f},  // fade-out ends black
    };
    for (const auto& frame : frames) {
        EXPECT_FALSE(info.IsFinished());
        info.Update(Frame(frame.Elapsed));
        EXPECT_FLOAT_EQ(frame.Alpha, world.m_Fader.GetAlpha()) << "after " << frame.Elapsed;
    }
    EXPECT_TRUE(info.IsFinished());
}

TEST(SplashScreenInfo, ZeroLongPhasesAreSkippedWithoutTouchingTheFader)
{
    CEngineWorld world;
    CInfo info(Screen("FadeIn=\"0\" Show=\"1\" FadeOut=\"0\" Interruptible=\"1\""));
    world.m_Fader.SetAlpha(0.3f);
    info.Update(Frame(0.6f));
    info.Update(Frame(0.6f));
    EXPECT_FLOAT_EQ(0.3f, world.m_Fader.GetAlpha());
    EXPECT_TRUE(info.IsFinished()) << "finished as its show time ran out";
}

TEST(SplashScreenInfo, SkipFadesOutFromWhereTheScreenIs)
{
    const struct
    {
        const char* Attributes;
        float Before; // seconds run before the skip
        float FadeOut;
    } cases[] = {
        {"FadeIn=\"2\" Show=\"1\" FadeOut=\"2\"", 1.0f, 0.25f}, // halfway through the fade-in
        {"FadeIn=\"0\" Show=\"1\" FadeOut=\"2\"", 0.5f, 0.5f},  // during the show: fully visible
        {"FadeIn=\"0\" Show=\"0\" FadeOut=\"2\"", 1.5f, 0.125f}, // a quarter visible in the fade-out
        {"FadeIn=\"0\" Show=\"0\" FadeOut=\"0\"", 0.0f, 0.0f},  // finished: nothing to fade
    };
    CEngineWorld world;
    for (const auto& c : cases) {
        CInfo info(Screen(std::string(c.Attributes) + " Interruptible=\"1\""));
        if (c.Before > 0.0f)
            info.Update(Frame(c.Before));
        info.Skip();
        EXPECT_FLOAT_EQ(c.FadeOut, info.GetFadeOut().Remaining) << c.Attributes;
        EXPECT_FLOAT_EQ(0.5f, info.GetFadeOut().Total) << c.Attributes;
        EXPECT_LT(info.GetFadeIn().Remaining, 0.0f);
        EXPECT_LT(info.GetShow().Remaining, 0.0f);
    }
}

TEST(SplashScreenInfo, EveryAttributeIsRequiredAndTheOverlayMustExist)
{
    CEngineWorld world;
    for (const char* attributes : {"Show=\"1\" FadeOut=\"1\" Interruptible=\"1\"",
                                   "FadeIn=\"1\" FadeOut=\"1\" Interruptible=\"1\"",
                                   "FadeIn=\"1\" Show=\"1\" Interruptible=\"1\"", "FadeIn=\"1\" Show=\"1\" FadeOut=\"1\""})
        EXPECT_ANY_THROW(CInfo info(Screen(attributes))) << attributes;
    EXPECT_ANY_THROW(CInfo info(ParseElement(
        "<SplashScreen Overlay=\"NoSuchOverlay\" FadeIn=\"1\" Show=\"1\" FadeOut=\"1\" Interruptible=\"1\"/>")));
}

TEST_F(SplashScreensTest, RunsItsScreenThenRevealsTheMainMenu)
{
    EXPECT_TRUE(TitleShown());
    EXPECT_TRUE(m_World.m_Fader.IsVisible());
    for (int frame = 0; frame < 8; ++frame) // 4 s of fade-in, show and fade-out
        m_World.Frame(0.5f);
    EXPECT_FALSE(InMenuMode());
    EXPECT_FLOAT_EQ(1.0f, m_World.m_Fader.GetAlpha()) << "black at the end of the fade-out";

    m_World.Frame(0.5f); // the finished screen goes; the fader is already black
    EXPECT_FALSE(TitleShown());
    EXPECT_TRUE(InMenuMode());
    EXPECT_TRUE(MenusSentToTheMainMenu());
    EXPECT_TRUE(m_World.m_Fader.IsFading()) << "the menu is revealed over a second";
}

TEST_F(SplashScreensTest, OnlyAKeyReleaseSkips)
{
    m_World.Frame(1.5f); // into the show
    m_World.Key(EVENT_KEY_PRESSED);
    EXPECT_FLOAT_EQ(1.0f, Splash().GetScreens().front()->GetFadeOut().Remaining);
    m_World.Key(EVENT_KEY_RELEASED);
    EXPECT_FLOAT_EQ(0.5f, Splash().GetScreens().front()->GetFadeOut().Remaining);
    m_World.Frame(0.5f);
    m_World.Frame(0.1f);
    EXPECT_TRUE(InMenuMode());
}

TEST_F(SplashScreensTest, PausedStateIgnoresKeysUntilResumed)
{
    Splash().Pause();
    m_World.Key(EVENT_KEY_RELEASED);
    EXPECT_FLOAT_EQ(1.0f, Splash().GetScreens().front()->GetFadeIn().Remaining);
    Splash().Resume();
    m_World.Key(EVENT_KEY_RELEASED);
    EXPECT_LT(Splash().GetScreens().front()->GetFadeIn().Remaining, 0.0f);
}

class UninterruptibleSplashTest : public SplashScreensTest
{
protected:
    UninterruptibleSplashTest()
        : SplashScreensTest(ConfigWithScreens(
              "<SplashScreen Overlay=\"SplashScreens/Title\" FadeIn=\"0\" Show=\"1\" FadeOut=\"1\" Interruptible=\"0\"/>"
              "<SplashScreen Overlay=\"SplashScreens/Second\" FadeIn=\"0\" Show=\"1\" FadeOut=\"0\" "
              "Interruptible=\"1\"/>"))
    {
    }
};

TEST_F(UninterruptibleSplashTest, IgnoresKeysAndHandsOverToTheNextScreen)
{
    m_World.Key(EVENT_KEY_RELEASED);
    EXPECT_FLOAT_EQ(1.0f, Splash().GetScreens().front()->GetShow().Remaining);
    EXPECT_FALSE(m_World.m_Gfx.IsOverlayVisible("SplashScreens/Second"));
    m_World.Frame(1.0f);
    m_World.Frame(1.0f);
    m_World.Frame(0.1f);
    EXPECT_FALSE(TitleShown());
    EXPECT_EQ(1u, Splash().GetScreens().size());
    EXPECT_TRUE(m_World.m_Gfx.IsOverlayVisible("SplashScreens/Second")) << "the second screen is shown";
}

class NoSplashScreensTest : public SplashScreensTest
{
protected:
    NoSplashScreensTest() : SplashScreensTest(ConfigWithScreens("")) {}
};

TEST_F(NoSplashScreensTest, GoesToTheMainMenuThroughAFade)
{
    EXPECT_FALSE(TitleShown());
    EXPECT_EQ(m_Engine->GetSplashScreensState(), m_Engine->GetCurrentState()) << "a one-second fade-out first";
    EXPECT_TRUE(MenusSentToTheMainMenu());
    m_World.Frame(0.02f); // the next frame asks again, without a fade-out
    EXPECT_TRUE(InMenuMode());
}
