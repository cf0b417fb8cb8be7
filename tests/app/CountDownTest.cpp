// The count-down before a jump: its words from the shipped configuration and
// overlays, their fading, skipping with a key, the camera kept moving, and
// the hand-back to the paused state below.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineWorld.h"
#include "app/CountDownState.h"
#include "support/HudOverlays.h"

using namespace sds;
using EngineStates::CCountDownState;

namespace {

typedef CCountDownState::CCountDownInfo CInfo;

// Frames a hair over 0.1 s, so that float rounding never adds a frame to a phase.
const float FRAME = 0.1001f;

// The game mode as the count-down sees it: a state that is paused under it.
class CStateBelow : public IEngineState
{
public:
    explicit CStateBelow(CEngine* engine) : IEngineState(engine) {}
    void OnUpdate(const CTiming&) override { ++m_Updates; }
    void Enter() override {}
    void Exit() override {}
    void Pause() override { m_Calls.push_back("Pause"); }
    void Resume() override { m_Calls.push_back("Resume"); }

    int m_Updates = 0;
    std::vector<std::string> m_Calls;
};

class CountDownTest : public ::testing::Test
{
protected:
    CountDownTest()
    {
        DefineScriptOverlays(m_World.m_Gfx, "general/CountDown.overlay");
        m_World.m_Gfx.CreateCamera();
        m_Engine = m_World.MakeEngine();
        m_Engine->Start();
        m_Below = std::make_unique<CStateBelow>(m_Engine.get());
        m_CountDown = std::make_unique<CCountDownState>(m_Engine.get(), m_World.m_App.m_Config->GetChild("CountDown"));
        m_Engine->ChangeState(m_Below.get());
        m_World.m_Fader.SetVisible(false); // as the game mode leaves it after its fade-in
    }

    bool Shown(const std::string& word) const { return m_World.m_Gfx.IsOverlayVisible("CountDown/" + word); }
    float Alpha(const std::string& word) const
    {
        return m_World.m_Gfx.FindOverlayElement("CountDown/" + word + "/Message")->m_Colour.v[3];
    }
    bool CountingDown() const { return m_Engine->GetCurrentState() == m_CountDown.get(); }
    size_t CameraUpdates() const { return m_World.m_Gfx.GetMemCamera()->m_Updates.size(); }

    CEngineWorld m_World;
    std::unique_ptr<CEngine> m_Engine;
    std::unique_ptr<CStateBelow> m_Below;
    std::unique_ptr<CCountDownState> m_CountDown;
};

} // namespace

TEST_F(CountDownTest, ReadySetGoTakeThreeSecondsAndAFifthThenTheStateBelowResumes)
{
    m_Engine->PushState(m_CountDown.get());
    EXPECT_EQ(std::vector<std::string>{"Pause"}, m_Below->m_Calls);
    EXPECT_TRUE(Shown("Ready"));
    EXPECT_FLOAT_EQ(0.0f, Alpha("Ready")) << "the first word fades in from nothing";
    EXPECT_FALSE(m_World.m_Fader.IsVisible()) << "the level stays in view";

    const struct
    {
        int Frame;
        const char* Word;
        float Alpha;
    } checks[] = {
        {3, "Ready", 0.5f},  // halfway through its 0.6 s fade-in
        {9, "Ready", 1.0f},  // shown
        {12, "Ready", 0.0f}, // faded out after 1.2 s
        {13, "Set", 1.0f / 3.0f},
        {22, "Set", 0.0f},
        {23, "Go", 1.0f / 3.0f},
        {27, "Go", 1.0f},
        {32, "Go", 0.0f}, // 3.2 s: the last word has faded out
    };
    int frame = 0;
    for (const auto& check : checks) {
        while (frame < check.Frame) {
            m_World.Frame(FRAME);
            ++frame;
        }
        for (const char* word : {"Ready", "Set", "Go"})
            EXPECT_EQ(word == std::string(check.Word), Shown(word)) << word << " at frame " << frame;
        EXPECT_NEAR(check.Alpha, Alpha(check.Word), 0.01f) << check.Word << " at frame " << frame;
        EXPECT_TRUE(CountingDown()) << "at frame " << frame;
    }
    EXPECT_EQ(0, m_Below->m_Updates) << "the state below is paused throughout";
    EXPECT_EQ(32u, CameraUpdates()) << "the camera moves every frame of the count-down";
    EXPECT_FLOAT_EQ(FRAME, m_World.m_Gfx.GetMemCamera()->m_Updates.back().m_Elapsed);

    m_World.Frame(FRAME);
    EXPECT_FALSE(CountingDown());
    EXPECT_FALSE(Shown("Go"));
    EXPECT_EQ((std::vector<std::string>{"Pause", "Resume"}), m_Below->m_Calls);
    m_World.Frame(FRAME);
    EXPECT_EQ(1, m_Below->m_Updates);
    EXPECT_EQ(33u, CameraUpdates()) << "no camera update of the count-down once it is gone";
}

TEST_F(CountDownTest, AKeySkipsAWordFadingItOutFromWhereItIs)
{
    m_Engine->PushState(m_CountDown.get());
    for (int i = 0; i < 7; ++i) // into Ready's show
        m_World.Frame(FRAME);
    m_World.Key(EVENT_KEY_RELEASED);
    m_World.Frame(0.25f);
    EXPECT_NEAR(0.5f, Alpha("Ready"), 0.01f) << "half of a half-second fade-out";
    m_World.Frame(0.25f);
    m_World.Frame(FRAME);
    EXPECT_TRUE(Shown("Set"));
    EXPECT_FALSE(Shown("Ready"));
}

TEST_F(CountDownTest, LeftBeforeItsEndItHidesItsWordAndStartsAfreshNextTime)
{
    m_Engine->PushState(m_CountDown.get());
    for (int i = 0; i < 14; ++i) // into "Set"
        m_World.Frame(FRAME);
    m_Engine->PopState();
    EXPECT_FALSE(Shown("Set"));
    EXPECT_TRUE(m_CountDown->GetScreens().empty());

    m_Engine->PushState(m_CountDown.get());
    ASSERT_EQ(3u, m_CountDown->GetScreens().size());
    EXPECT_EQ("CountDown/Ready", m_CountDown->GetScreens().front()->GetOverlayName());
    EXPECT_TRUE(Shown("Ready"));
}

TEST(CountDownInfo, TheMessagesAlphaIsOneLessTheFadeAndItsColourStays)
{
    CEngineWorld world;
    DefineScriptOverlays(world.m_Gfx, "general/CountDown.overlay");
    world.m_Fader.SetAlpha(0.3f);
    CInfo info(ParseElement(
        "<SplashScreen Overlay=\"CountDown/Go\" FadeIn=\"0.3\" Show=\"0.4\" FadeOut=\"0.3\" Interruptible=\"1\"/>"));
    const CMemOverlayElement& message = *world.m_Gfx.FindOverlayElement("CountDown/Go/Message");
    const float scripted[3] = {message.m_Colour.v[0], message.m_Colour.v[1], message.m_Colour.v[2]};
    for (const float fade : {0.25f, 1.0f, 0.0f, 0.6f}) {
        info.SetFade(fade);
        EXPECT_FLOAT_EQ(1.0f - fade, message.m_Colour.v[3]) << fade;
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(scripted[i], message.m_Colour.v[i]);
    }
    EXPECT_FLOAT_EQ(0.3f, world.m_Fader.GetAlpha()) << "the screen fader is left alone";
}

TEST(CountDownInfo, AWordWithoutFadeInIsShownWholeAndOneWithoutMessageIsRefused)
{
    CEngineWorld world;
    DefineScriptOverlays(world.m_Gfx, "general/CountDown.overlay");
    CInfo info(ParseElement(
        "<SplashScreen Overlay=\"CountDown/Set\" FadeIn=\"0\" Show=\"0.4\" FadeOut=\"0.3\" Interruptible=\"1\"/>"));
    EXPECT_FLOAT_EQ(1.0f, world.m_Gfx.FindOverlayElement("CountDown/Set/Message")->m_Colour.v[3]);

    world.m_Gfx.DefineOverlay("CountDown/Bare", {"CountDown/Bare/Panel"});
    EXPECT_ANY_THROW(CInfo bare(ParseElement(
        "<SplashScreen Overlay=\"CountDown/Bare\" FadeIn=\"0.3\" Show=\"0.4\" FadeOut=\"0.3\" Interruptible=\"1\"/>")));
}
