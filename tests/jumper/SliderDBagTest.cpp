#include <gtest/gtest.h>

#include <memory>

#include "jumper/DBag.h"
#include "jumper/Identity.h"
#include "jumper/Slider.h"
#include "RigWorld.h"

using sds::CVector;

class SliderDBagTest : public RigTest
{
protected:
    xml::CNodePtr Part(const std::string& name) const { return Model("Container", "Vector")->GetChild(name); }
};

TEST_F(SliderDBagTest, TheSlidersOperationsLeaveItsAnimationsAsTabulated)
{
    // Flags: enabled, auto-updating, for "Unwrap", "SliderDown" and "FullFlight".
    struct CFlags
    {
        bool m_Enabled[3];
        bool m_Running[3];
    };
    const struct
    {
        const char* m_Name;
        void (sds::CSlider::*m_Operation)();
        CFlags m_After;
    } cases[] = {
        {"Unwrap", &sds::CSlider::Unwrap, {{true, false, false}, {true, false, false}}},
        {"SlideDown", &sds::CSlider::SlideDown, {{false, false, true}, {false, true, false}}},
        {"ResetToContainer", &sds::CSlider::ResetToContainer, {{true, false, true}, {false, false, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_Name);
        sds::CSlider slider(Part("Slider"), Root());
        ((slider).*(c.m_Operation))();
        const sds::CAnimationPtr animations[] = {slider.GetUnwrapAnimation(), slider.GetSliderDownAnimation(),
                                                 slider.GetFullFlightAnimation()};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.m_After.m_Enabled[i], animations[i]->IsEnabled()) << animations[i]->GetAnimationName();
            EXPECT_EQ(c.m_After.m_Running[i], animations[i]->IsAutoUpdate()) << animations[i]->GetAnimationName();
        }
    }
}

TEST_F(SliderDBagTest, TheSliderGoesBackToTheContainerWhereverItsParentIs)
{
    const sds::CGfxObjPtr canopy = m_Gfx.CreateObject(">novis", nullptr);
    canopy->SetPos({0, 5, 0});
    sds::CSlider slider(Part("Slider"), canopy);
    EXPECT_EQ(canopy, slider.GetGfxObj()->GetParent());
    EXPECT_EQ(Part("Slider"), slider.GetConfig());
    slider.ResetToContainer();
    EXPECT_EQ(CVector(0.1f, 0.4f, 0), slider.GetGfxObj()->GetPos());
    EXPECT_EQ(CVector(0.1f, 5.4f, 0), slider.GetGfxObj()->GetWorldPos());
}

TEST_F(SliderDBagTest, TheBagLogsItsLifeAndCrossFadesFromOpeningToCollapsing)
{
    auto bag = std::make_unique<sds::CDBag>(Part("DBag"), Root());
    const std::string identity = sds::IdentityOf(bag.get());
    EXPECT_TRUE(m_Log.Has("CDBag " + identity + " is created"));
    EXPECT_EQ(0.25, bag->GetBlender().GetTransitionTime());
    EXPECT_TRUE(bag->GetOpeningAnimation()->IsEnabled());
    EXPECT_FALSE(bag->GetCollapsingAnimation()->IsEnabled());

    bag->Open();
    EXPECT_TRUE(bag->GetOpeningAnimation()->IsAutoUpdate());
    bag->Collapse();
    bag->Collapse();
    EXPECT_EQ(1u, bag->GetBlender().GetFadingIn().size());
    EXPECT_EQ(1u, bag->GetBlender().GetFadingOut().size());
    EXPECT_TRUE(bag->GetCollapsingAnimation()->IsEnabled());
    EXPECT_TRUE(bag->GetCollapsingAnimation()->IsAutoUpdate());
    for (int frame = 0; frame < 15; ++frame)
        bag->Update(m_Frame); // 0.3 s: past the cross-fade's 0.25 s
    EXPECT_FALSE(bag->GetOpeningAnimation()->IsEnabled());
    EXPECT_EQ(1.0f, bag->GetCollapsingAnimation()->GetWeight());

    bag.reset();
    EXPECT_TRUE(m_Log.Has("CDBag" + identity + " is destroyed"));
}
