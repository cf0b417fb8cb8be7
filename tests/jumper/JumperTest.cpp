#include <gtest/gtest.h>

#include <memory>

#include "core/Exception.h"
#include "jumper/AnimationRecord.h"
#include "jumper/CanopyRideState.h"
#include "jumper/ExitPlaneState.h"
#include "jumper/ICanopy.h"
#include "jumper/IPilotChute.h"
#include "jumper/ISlider.h"
#include "graphics/IAnimation.h"
#include "core/XmlException.h"
#include "jumper/Jumper.h"
#include "physics/IPhyJumper.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/flight/PhyJumper.h"
#include "JumperWorld.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeApplication.h"

using sds::CGfxObjPtr;
using sds::CJumper;
using sds::CVector;

TEST_F(JumperTest, WhatTheJumperWearsSitsAtItsOffsetsFromTheStart)
{
    const std::unique_ptr<CJumper> jumper = Make();
    jumper->Update(m_Frame);
    const CVector start(0, 1000, 0);
    EXPECT_EQ(start, jumper->GetPos());
    EXPECT_VECTOR_NEAR(start + Offset("Eyes"), jumper->GetEyesPoint()->m_Pos, 1e-3f);
    EXPECT_VECTOR_NEAR(start + Offset("HeadLoc"), jumper->GetHeadPoint()->m_Pos, 1e-3f);
    EXPECT_VECTOR_NEAR(start + Offset("Container"), jumper->GetContainerPoint()->m_Pos, 1e-3f);
    EXPECT_VECTOR_NEAR(start + Offset("Hand.L"), jumper->GetLeftHandObj()->GetWorldPos(), 1e-3f);
    EXPECT_VECTOR_NEAR(start + Offset("Hand.R"), jumper->GetRightHandObj()->GetWorldPos(), 1e-3f);
    EXPECT_VECTOR_NEAR(start + Offset("Eyes"), jumper->GetHelperObj()->GetWorldPos(), 1e-3f);
    EXPECT_VECTOR_NEAR(start + Offset("HeadLoc"), jumper->GetHeadObj()->GetWorldPos(), 1e-3f);
    EXPECT_VECTOR_NEAR(start + Offset("Container"), jumper->GetContainer()->GetGfxObj()->GetWorldPos(), 1e-3f);
    EXPECT_FALSE(jumper->GetLeftHandObj()->IsVisible());
    EXPECT_FALSE(jumper->GetContainerPoint()->GetMarker()->IsVisible());
    EXPECT_EQ(jumper->GetBodyObj()->GetName(), jumper->GetName());
    EXPECT_EQ(jumper->GetPhyJumper()->GetVelocity(), jumper->GetVelocity());
    // The trajectory records from the first frame, wherever the jumper is.
    ASSERT_EQ(1u, jumper->GetTrajectory().GetPoints().size());
    EXPECT_EQ(start, jumper->GetTrajectory().GetPoints()[0].Pos);
}

TEST_F(JumperTest, ThePositionIsInTheWorldWhenTheBodyHangsUnderAnother)
{
    const std::unique_ptr<CJumper> jumper = Make();
    const CGfxObjPtr aircraft = m_Gfx.CreateObject(">novis", nullptr);
    aircraft->SetPos({100, 50, 0});
    aircraft->AddChild(jumper->GetBodyObj());
    jumper->GetBodyObj()->SetPos({-2, 1.7f, -0.3f});
    EXPECT_VECTOR_NEAR(CVector(98, 51.7f, -0.3f), jumper->GetPos(), 1e-4f);
}

TEST_F(JumperTest, AnAnimatedBoneCarriesHeadEyesAndRigInTheSameUpdate)
{
    const std::unique_ptr<CJumper> jumper = Make();
    jumper->Update(m_Frame);
    const CVector standingHead = jumper->GetHeadObj()->GetWorldPos();
    const sds::CAnimationPtr arch =
        sds::ReadAnimation(jumper->GetConfig()->GetChild("Animation")->GetChild("IdleFreeFall"), jumper->GetBodyObj());
    arch->SetEnabled(true);
    jumper->Update(m_Frame);

    EXPECT_GT((jumper->GetHeadObj()->GetWorldPos() - standingHead).Length(), 0.02f);
    EXPECT_VECTOR_NEAR(OnBone(*jumper, "Head", Offset("HeadLoc")), jumper->GetHeadObj()->GetWorldPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(OnBone(*jumper, "Head", Offset("Eyes")), jumper->GetHelperObj()->GetWorldPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(OnBone(*jumper, "Torso", Offset("Container")), jumper->GetContainer()->GetGfxObj()->GetWorldPos(),
                       1e-4f);
    // The rig and the head also turn with their bones.
    const sds::CQuaternion torso = sds::GetJoint(jumper->GetBodyObj(), "Torso")->GetWorldOrientation();
    const CVector up = jumper->GetContainer()->GetGfxObj()->GetWorldOrientation() * CVector::UNIT_Y;
    EXPECT_VECTOR_NEAR(torso * CVector::UNIT_Y, up, 1e-4f);
}

// The states read these records later; a name the body's mesh lacks would
// only show when its phase of the jump comes.
TEST_F(JumperTest, EveryAnimationRecordOfTheJumperNamesAnAnimationOfTheBody)
{
    const std::unique_ptr<CJumper> jumper = Make();
    for (const auto& child : jumper->GetConfig()->GetChild("Animation")->GetChildren()) {
        SCOPED_TRACE(child.first);
        const xml::CNodePtr& record = child.second;
        sds::CAnimationPtr animation;
        ASSERT_NO_THROW(animation = sds::ReadAnimation(record, jumper->GetBodyObj()));
        EXPECT_EQ(record->GetAttribute("Animation")->GetValue(), animation->GetAnimationName());
        EXPECT_GT(animation->GetLength(), 0.0f);
    }
}

TEST_F(JumperTest, AJointTheBodyLacksFailsTheConstruction)
{
    const xml::CNodePtr config = Config();
    config->GetChildById("Attachment", "Eyes", "Name,Id")->GetAttribute("Joint")->SetValue("Neck");
    try {
        Make(config);
        ADD_FAILURE();
    } catch (const sds::CException& e) {
        EXPECT_STREQ("Joint does not exist: Neck", e.what());
    }
    const xml::CNodePtr withAltimeter = Config();
    const xml::CNodePtr altimeter = withAltimeter->AddChild("Altimeter");
    altimeter->AddAttribute("Model", "Altimaster");
    altimeter->AddAttribute("Attachment", "Chest");
    try {
        Make(withAltimeter);
        ADD_FAILURE();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("with unique identifier 'Altimaster'")) << e.what();
    }
}

TEST_F(JumperTest, TheLandingRecordHasTheBodysFiguresAndTheWind)
{
    physics::IWindMgr& wind = m_World->GetWindMgr();
    wind.GetRegions().push_back(wind.CreateRegion(
        Xml("<Region Direction=\"0, 0, 1\" Speed=\"5\"><Shape Position=\"0, 1000, 0\" Size=\"100, 100, 100\" /></Region>")));
    const std::unique_ptr<CJumper> jumper = Make();
    const xml::CNodePtr info = jumper->GetLandingInfo();
    EXPECT_EQ("LandingInfo", info->GetName());
    ASSERT_TRUE(info->HasChildById("Info", "Wing loading", "Name"));
    const xml::CNodePtr strength = info->GetChildById("Info", "Wind strength", "Name");
    EXPECT_FLOAT_EQ(5.0f, strength->GetValue<float>());
    EXPECT_EQ("Speed", strength->GetAttribute("Units")->GetValue());
}

TEST_F(JumperTest, TheStartStateChoosesTheDoorOrTheOpenCanopy)
{
    for (const std::string start : {"ExitPlane", "FreeFall", "", "CanopyRide"}) {
        SCOPED_TRACE(start);
        const xml::CNodePtr config = Config();
        config->GetChild("JumperStates")->GetAttribute("StartState")->SetValue(start);
        const std::unique_ptr<CJumper> jumper = Make(config, CVector(0, 1000, 0), sds::CJumperLinks(), false);
        if (start == "CanopyRide") {
            ASSERT_EQ(jumper->GetCanopyRideState(), jumper->GetCurrentState());
            const sds::CContainerPtr rig = jumper->GetContainer();
            EXPECT_TRUE(rig->GetCanopy()->GetGfxObj()->IsVisible());
            EXPECT_TRUE(rig->GetCanopy()->GetFullFlightAnimation()->IsEnabled());
            // The pilot chute shows: the flag is set.
            EXPECT_TRUE(rig->GetPilotChute()->GetGfxObj()->IsVisible());
        } else {
            EXPECT_EQ(jumper->GetExitPlaneState(), jumper->GetCurrentState());
        }
    }
    // The same states without "StartState".
    const xml::CNodePtr config = Config();
    const xml::CNodePtr states = config->GetChild("JumperStates");
    const xml::CNodePtr bare(new xml::CNode("JumperStates", false));
    for (const auto& child : states->GetChildren())
        bare->AddChild(child.second);
    config->RemoveChild(states);
    config->AddChild(bare);
    EXPECT_THROW(Make(config), xml::CNoNodeException);
}

TEST_F(JumperTest, HidingTheBodyLeavesHeadAndRigAndTheEndIsLogged)
{
    std::unique_ptr<CJumper> jumper = Make();
    jumper->SetVisible(false);
    EXPECT_FALSE(jumper->GetBodyObj()->IsVisible());
    EXPECT_TRUE(jumper->GetHeadObj()->IsVisible());
    EXPECT_TRUE(jumper->GetContainer()->GetGfxObj()->IsVisible());
    const std::string name = jumper->GetName();
    jumper.reset();
    EXPECT_TRUE(m_Log.Has("Jumper '" + name + "' is destroyed"));
}

TEST_F(JumperTest, SyncToPhysicsPlacesTheBodyWhereThePhysicalBodyIs)
{
    const std::unique_ptr<CJumper> jumper = Make();
    jumper->SyncToPhysics();
    EXPECT_EQ(jumper->GetPhyJumper()->GetPos(), jumper->GetBodyObj()->GetPos());
    EXPECT_EQ(jumper->GetPhyJumper()->GetOrientation(), jumper->GetBodyObj()->GetOrientation());
}
