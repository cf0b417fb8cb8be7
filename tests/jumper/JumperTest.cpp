#include <gtest/gtest.h>

#include <memory>

#include "core/Exception.h"
#include "jumper/AnimationRecord.h"
#include "jumper/Jumper.h"
#include "physics/IPhyJumper.h"
#include "physics/IWindMgr.h"
#include "physics/PhyMgr.h"
#include "physics/flight/PhyJumper.h"
#include "RigWorld.h"
#include "support/DiskResourceMgr.h"
#include "support/FakeApplication.h"

using sds::CGfxObjPtr;
using sds::CJumper;
using sds::CVector;

// A jumper of the shipped configuration, rig and physics over the in-memory graphics.
class JumperTest : public RigTest
{
protected:
    JumperTest()
        : m_App(LoadShipped("../conf/conf.xml", "sds")),
          m_World(physics::CPhyMgr::Create(LoadShipped("../data/physics/physics.xml", "Physics"),
                                           LoadShipped("../conf/materials.conf", "Materials")))
    {
        m_World->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {}, [](const std::string&) {});
        m_World->SetJumperFactory(&physics::CPhyJumper::Create);
    }

    // A copy of the shipped "Jumper" element to change.
    xml::CNodePtr Config() const { return xml::CNode::Clone(m_App.m_Config->GetChild("Jumper")); }
    std::unique_ptr<CJumper> Make(const xml::CNodePtr& config, const CVector& start = CVector(0, 1000, 0))
    {
        return std::make_unique<CJumper>("Jumper", false, 0, config, nullptr, start, sds::CQuaternion::IDENTITY, 80.0f,
                                         20.0f, "", "", true, false);
    }
    std::unique_ptr<CJumper> Make() { return Make(Config()); }
    CVector Offset(const std::string& attachment) const
    {
        return xml::ParseVector(m_App.m_Config->GetChild("Jumper")
                                    ->GetChildById("Attachment", attachment, "Name,Id")
                                    ->GetAttribute("Offset")
                                    ->GetValue());
    }
    // Where a point of the body's model space, carried by `bone`, is in the world now.
    static CVector OnBone(const CJumper& jumper, const std::string& bone, const CVector& modelPoint)
    {
        const meshgen::CMeshModel& body = ProjectModels().front();
        const sds::CJointPtr joint = sds::GetJoint(jumper.GetBodyObj(), bone);
        const CVector bind = body.BindPos(body.BoneIndex(bone));
        const CGfxObjPtr object = jumper.GetBodyObj();
        return object->GetWorldPos() +
               object->GetWorldOrientation() * (joint->GetWorldPos() + joint->GetWorldOrientation() * (modelPoint - bind));
    }

    CDiskResourceMgr m_Resources;
    CFakeApplication m_App;
    std::shared_ptr<physics::CPhyMgr> m_World;
};

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

TEST_F(JumperTest, WithoutStatesTheJumperTakesNoEventsAndHoldsNoControls)
{
    const std::unique_ptr<CJumper> jumper = Make();
    sds::CInternalEvent toggle;
    toggle.Code = 4;
    toggle.On = 1;
    EXPECT_NO_THROW(jumper->OnDiscreteEvent(toggle));
    EXPECT_NO_THROW(jumper->OnAnalogEvent(toggle));
    jumper->OnEvent("Landing");
    EXPECT_FALSE(jumper->HasStates());
    EXPECT_EQ(0, jumper->GetLeftHandControl());
    EXPECT_EQ(0, jumper->GetRightHandControl());
    EXPECT_EQ(0.0f, jumper->GetLeftTurnValue());
    EXPECT_EQ(0.0f, jumper->GetRightTurnValue());
    EXPECT_EQ("", jumper->GetAltimeterCaption());
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
