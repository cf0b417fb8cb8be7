#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "jumper/AnimationBlender.h"
#include "support/Frames.h"

using sds::test::Frame;

using sds::CAnimationBlender;
using sds::CAnimationPtr;

namespace {

// An animation that only keeps what the blender may touch.
class CFakeAnimation : public sds::IAnimation
{
public:
    explicit CFakeAnimation(float weight = 0.0f, bool enabled = false) : m_Weight(weight), m_Enabled(enabled) {}
    void SetLoop(bool) override {}
    bool GetLoop() const override { return false; }
    void SetEnabled(bool enabled) override { m_Enabled = enabled; }
    bool IsEnabled() const override { return m_Enabled; }
    void AddTime(float) override {}
    float GetLength() const override { return 1.0f; }
    float GetRelativePosition() const override { return 0.0f; }
    void SetRelativePosition(float) override {}
    void SetWeight(float weight) override { m_Weight = weight; }
    float GetWeight() const override { return m_Weight; }
    std::string GetAnimationName() const override { return "Fake"; }

    float m_Weight;
    bool m_Enabled;
};

std::shared_ptr<CFakeAnimation> Animation(float weight, bool enabled = true)
{
    return std::make_shared<CFakeAnimation>(weight, enabled);
}

} // namespace

TEST(AnimationBlender, WeightsMoveByTheRateAndFinishedFadesLeaveTheirList)
{
    CAnimationBlender blender(1.0);
    const auto in = Animation(0.8f);
    const auto slowIn = Animation(0.25f);
    const auto out = Animation(0.25f);
    const auto slowOut = Animation(0.2501f);
    blender.FadeIn(in);
    blender.FadeIn(slowIn);
    blender.FadeOut(out);
    blender.FadeOut(slowOut);
    blender.Start();

    blender.Update(Frame(0.25f));
    // 0.8 + 0.25 passes 1: set to 1 and finished within the same update.
    EXPECT_EQ(1.0f, in->m_Weight);
    EXPECT_TRUE(in->m_Enabled);
    EXPECT_EQ(0.5f, slowIn->m_Weight);
    // Exactly 0 is finished: disabled and gone; just above 0 is not.
    EXPECT_EQ(0.0f, out->m_Weight);
    EXPECT_FALSE(out->m_Enabled);
    EXPECT_TRUE(slowOut->m_Enabled);
    EXPECT_EQ(std::vector<CAnimationPtr>{slowIn}, blender.GetFadingIn());
    EXPECT_EQ(std::vector<CAnimationPtr>{slowOut}, blender.GetFadingOut());

    blender.Update(Frame(0.25f));
    EXPECT_TRUE(blender.GetFadingOut().empty());
    EXPECT_FALSE(slowOut->m_Enabled);
}

TEST(AnimationBlender, AStepOfAWholeTransitionCompletesEveryFade)
{
    CAnimationBlender blender(0.5);
    const auto in = Animation(0.0f, false);
    const auto out = Animation(1.0f);
    blender.FadeIn(in);
    blender.FadeOut(out);
    blender.Start();
    EXPECT_EQ(0.0f, in->m_Weight); // Start enables, it does not weigh
    EXPECT_TRUE(in->m_Enabled);
    blender.Update(Frame(10.0f));
    EXPECT_EQ(1.0f, in->m_Weight);
    EXPECT_EQ(0.0f, out->m_Weight);
    EXPECT_FALSE(out->m_Enabled);
    EXPECT_TRUE(blender.GetFadingIn().empty());
    EXPECT_TRUE(blender.GetFadingOut().empty());
}

TEST(AnimationBlender, AnAnimationIsInOneListOnceAndMovesBetweenThem)
{
    CAnimationBlender blender(1.0);
    const auto a = Animation(0.5f);
    blender.FadeIn(a);
    blender.FadeIn(a);
    EXPECT_EQ(1u, blender.GetFadingIn().size());
    blender.FadeOut(a);
    EXPECT_TRUE(blender.GetFadingIn().empty());
    EXPECT_EQ(1u, blender.GetFadingOut().size());
    // Fading back in goes on from where the weight stands.
    a->m_Enabled = false;
    blender.FadeIn(a);
    blender.Start();
    blender.Update(Frame(0.25f));
    EXPECT_EQ(0.75f, a->m_Weight);
    EXPECT_TRUE(a->m_Enabled);
    EXPECT_TRUE(blender.GetFadingOut().empty());
}

TEST(AnimationBlender, UpdatesBeforeStartStepAtTheConfiguredRate)
{
    CAnimationBlender blender(2.0);
    const auto a = Animation(0.0f);
    blender.FadeIn(a);
    blender.Update(Frame(0.5f));
    EXPECT_EQ(0.25f, a->m_Weight);
}

TEST(AnimationBlender, ATransitionTimeOfZeroOrLessFadesAtOnceWithoutNaN)
{
    for (const double time : {0.0, -1.0}) {
        SCOPED_TRACE(time);
        CAnimationBlender blender(time);
        const auto in = Animation(0.3f);
        const auto out = Animation(0.3f);
        blender.FadeIn(in);
        blender.FadeOut(out);
        blender.Update(Frame(0.0f));
        EXPECT_EQ(1.0f, in->m_Weight);
        EXPECT_EQ(0.0f, out->m_Weight);
        EXPECT_FALSE(out->m_Enabled);
        blender.Start();
        blender.FadeIn(out);
        blender.Update(Frame(0.016f));
        EXPECT_EQ(1.0f, out->m_Weight);
        EXPECT_FALSE(std::isnan(out->m_Weight));
    }
}
