#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "graphics/IAnimation.h"
#include "jumper/CanopyRideState.h"
#include "jumper/Container.h"
#include "jumper/SuspensionLines.h"
#include "jumper/DeploymentControl.h"
#include "jumper/DeploymentState.h"
#include "jumper/DeploymentSubState.h"
#include "jumper/FreeFallState.h"
#include "jumper/ICanopy.h"
#include "jumper/IPilotChute.h"
#include "jumper/ISlider.h"
#include "jumper/SliderDown.h"
#include "physics/IPhyJumper.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/ICanopyRideState.h"
#include "physics/flight/PhyPilotChute.h"
#include "JumperWorld.h"

using sds::CQuaternion;
using sds::JumperStates::CDeploymentControl;
using sds::JumperStates::CDistanceDelay;

// A jumper in free fall high above the ground, the world stepping with it.
class DeploymentTest : public JumperTest
{
protected:
    // With `physicalPilotChute` false the physical canopy flies without one.
    // Made at the origin, so that its models are drawn where its physical
    // bodies are: the fall below skips the aircraft's door, which would bring
    // them together, and the physical pilot chute is posed from its model
    // when the canopy opens.
    void MakeJumper(bool physicalPilotChute)
    {
        if (!physicalPilotChute)
            m_World->GetConfig()
                ->GetChild("PhyJumper")
                ->GetChildById("State", "CanopyRide", "Name")
                ->GetChild("PilotChute")
                ->AddAttribute("Disabled", "");
        m_Jumper = Make(Config(), CVector(0, 0, 0), sds::CJumperLinks(), false);
    }
    // Three seconds of free fall, then the handle is pulled and let go.
    void FallAndPull()
    {
        m_Jumper->ChangeState(m_Jumper->GetFreeFallState());
        Frames(180);
        sds::CInternalEvent pull;
        pull.Code = 27;
        pull.On = 1;
        m_Jumper->OnDiscreteEvent(pull);
        Frame();
        pull.On = 0;
        m_Jumper->OnDiscreteEvent(pull);
        for (int i = 0; i < 600 && m_Jumper->GetCurrentState() != m_Jumper->GetDeploymentState(); ++i)
            Frame();
        ASSERT_EQ(m_Jumper->GetDeploymentState(), m_Jumper->GetCurrentState());
    }
    void Frame()
    {
        m_World->Update(m_Step);
        m_Jumper->Update(m_Step);
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    std::unique_ptr<CJumper> m_Jumper;
    const sds::CTiming m_Step{1.0f / 60.0f, 0.0f};
};

namespace {

// Whether a stage ends at its first update with its two objects `distance`
// apart and a threshold of 3.
template <class Compare>
bool EndsAt(CDeploymentControl& control, sds::IGfxMgr& gfx, float distance)
{
    const CGfxObjPtr first = gfx.CreateObject(">novis", nullptr);
    const CGfxObjPtr second = gfx.CreateObject(">novis", nullptr);
    first->SetPos({5, 100, -2});
    second->SetPos({5, 100 + distance, -2});
    first->UpdateTransform();
    second->UpdateTransform();
    CDistanceDelay<Compare> stage(&control, 3.0f, first, second, nullptr);
    control.ChangeState(&stage);
    stage.OnUpdate(sds::CTiming{0.02f, 0.0f});
    const bool ended = !control.HasStates();
    control.PopState();
    return ended;
}

} // namespace

TEST_F(DeploymentTest, AStageEndsOnlyStrictlyPastItsDistance)
{
    MakeJumper(true);
    CDeploymentControl control(m_Jumper.get(), m_Jumper->ReadBodyAnimation("IdleFreeFall"),
                               m_Jumper->ReadBodyAnimation("GrabRisers"));
    // Pieces moving apart.
    EXPECT_FALSE(EndsAt<std::greater<float>>(control, m_Gfx, 3.0f));
    EXPECT_FALSE(EndsAt<std::greater<float>>(control, m_Gfx, 2.99f));
    EXPECT_TRUE(EndsAt<std::greater<float>>(control, m_Gfx, 3.01f));
    // The slider coming down to the rig.
    EXPECT_FALSE(EndsAt<std::less<float>>(control, m_Gfx, 3.0f));
    EXPECT_FALSE(EndsAt<std::less<float>>(control, m_Gfx, 3.01f));
    EXPECT_TRUE(EndsAt<std::less<float>>(control, m_Gfx, 2.99f));
}

TEST_F(DeploymentTest, CanopyRideBeginsInTheFrameTheSliderStageEnds)
{
    // The physical pilot chute, once left out, stays out of the world's configuration.
    for (const bool physicalPilotChute : {true, false}) {
        SCOPED_TRACE(physicalPilotChute ? "physical pilot chute" : "no physical pilot chute");
        MakeJumper(physicalPilotChute);
        FallAndPull();
        const CDeploymentControl& control = m_Jumper->GetDeploymentState()->GetControl();
        const sds::CContainerPtr rig = m_Jumper->GetContainer();
        const auto sliderToRig = [&] {
            return (rig->GetSlider()->GetGfxObj()->GetWorldPos() - rig->GetGfxObj()->GetWorldPos()).Length();
        };
        bool inSliderStage = false;
        float lastDistance = 0.0f;
        int framesFallingBehind = 0;
        for (int i = 0; i < 60 * 60 && m_Jumper->GetCurrentState() == m_Jumper->GetDeploymentState(); ++i) {
            const bool wasInSliderStage = inSliderStage;
            inSliderStage = control.GetCurrentState() == control.GetSliderDown();
            // However fast the rig falls, the slider comes nearer to it every frame.
            if (wasInSliderStage && sliderToRig() >= lastDistance)
                ++framesFallingBehind;
            lastDistance = sliderToRig();
            Frame();
            // No frame passes with the sequence over and the jumper still deploying.
            if (m_Jumper->GetCurrentState() == m_Jumper->GetDeploymentState()) {
                ASSERT_TRUE(control.HasStates());
            }
        }
        ASSERT_EQ(m_Jumper->GetCanopyRideState(), m_Jumper->GetCurrentState());
        EXPECT_TRUE(inSliderStage);
        EXPECT_EQ(0, framesFallingBehind);

        const CGfxObjPtr pilotChute = rig->GetPilotChute()->GetGfxObj();
        EXPECT_EQ(rig->GetCanopy()->GetGfxObj(), pilotChute->GetParent());
        EXPECT_VECTOR_NEAR(CVector(0, -3, 0), pilotChute->GetPos(), 1e-5f);
        EXPECT_EQ(rig->GetGfxObj(), rig->GetSlider()->GetGfxObj()->GetParent());
        EXPECT_TRUE(rig->GetCanopy()->GetFullFlightAnimation()->IsEnabled());
        if (!physicalPilotChute) {
            // Turned half about x to hang away from the canopy.
            const CQuaternion turned = pilotChute->GetOrientation();
            EXPECT_NEAR(1.0f, std::fabs(turned.x), 1e-5f);
        } else {
            // Physics flies it from the next frame, in the world, though it hangs under the canopy.
            Frame();
            const auto phy = m_Jumper->GetPhyJumper()->GetCanopyRideState()->GetPilotChute();
            ASSERT_TRUE(phy);
            EXPECT_VECTOR_NEAR(phy->GetRagDoll()->GetPos(), pilotChute->GetWorldPos(), 1e-3f);
        }
    }
}

// Under the open canopy the lines carry the slider on the rig, "Distance" up
// from its base, frame after frame of flight: after a deployment as after a
// start under canopy.
TEST_F(DeploymentTest, UnderTheOpenCanopyTheSliderRidesOnTheLines)
{
    for (const bool deployed : {true, false}) {
        SCOPED_TRACE(deployed ? "deployed" : "started under canopy");
        if (deployed) {
            MakeJumper(true);
            FallAndPull();
            for (int i = 0; i < 60 * 60 && m_Jumper->GetCurrentState() == m_Jumper->GetDeploymentState(); ++i)
                Frame();
        } else {
            const xml::CNodePtr config = Config();
            config->GetChild("JumperStates")->GetAttribute("StartState")->SetValue("CanopyRide");
            m_Jumper = Make(config, CVector(0, 2000, 0), sds::CJumperLinks(), false);
        }
        ASSERT_EQ(m_Jumper->GetCanopyRideState(), m_Jumper->GetCurrentState());
        const sds::CContainerPtr rig = m_Jumper->GetContainer();
        const sds::CSuspensionLines& lines = *std::static_pointer_cast<sds::CContainer>(rig)->GetSuspensionLines();
        const CGfxObjPtr slider = rig->GetSlider()->GetGfxObj();
        EXPECT_EQ(rig->GetGfxObj(), slider->GetParent());
        const CVector start = rig->GetGfxObj()->GetWorldPos();
        for (int i = 0; i < 120; ++i) {
            Frame();
            ASSERT_LT((lines.GetSliderPlacement().m_Pos - slider->GetWorldPos()).Length(), 1e-3f) << i;
            ASSERT_NEAR(0.36f, (slider->GetWorldPos() - lines.GetSliderBase()->m_Pos).Length(), 1e-3f) << i;
        }
        // The jumper has flown on, the slider with it.
        EXPECT_GT((rig->GetGfxObj()->GetWorldPos() - start).Length(), 5.0f);
        EXPECT_LT((slider->GetWorldPos() - rig->GetGfxObj()->GetWorldPos()).Length(), 0.6f);
    }
}

// A jump begun under the open canopy: the physical pilot chute hangs from the
// canopy where the jump begins, and the canopy flies on at its start speed
// rather than being dragged towards wherever the pilot chute was made.
TEST_F(DeploymentTest, UnderCanopyFromTheStartThePilotChuteHangsFromTheCanopy)
{
    const xml::CNodePtr config = Config();
    config->GetChild("JumperStates")->GetAttribute("StartState")->SetValue("CanopyRide");
    m_Jumper = Make(config, CVector(0, 2000, 0), sds::CJumperLinks(), false);
    const auto& pilotChute = m_Jumper->GetPhyJumper()->GetCanopyRideState()->GetPilotChute();
    ASSERT_TRUE(pilotChute);
    const CVector canopy = m_Jumper->GetPhyJumper()->GetCanopyRideState()->GetCanopyPos();
    EXPECT_LT((pilotChute->GetRagDoll()->GetPos() - canopy).Length(), 3.0f);
    for (int i = 0; i < 30; ++i) {
        Frame();
        ASSERT_LT(m_Jumper->GetPhyJumper()->GetVelocity().Length(), 15.0f) << "frame " << i;
    }
}
