#include <gtest/gtest.h>

#include <memory>

#include "core/Exception.h"
#include "jumper/Canopy.h"
#include "jumper/Container.h"
#include "jumper/Identity.h"
#include "jumper/PilotChute.h"
#include "jumper/Rope.h"
#include "graphics/memory/MemGfxObj.h"
#include "RigWorld.h"

using sds::CGfxObjPtr;
using sds::CSuspensionLines;
using sds::CVector;

// The shipped rig on a pair of hands, the rig on a jumper's back at 1000 m.
class ContainerTest : public RigTest
{
protected:
    ContainerTest()
        : m_LeftHand(Hand({0.3f, 1000.8f, -0.3f})),
          m_RightHand(Hand({0.3f, 1000.8f, 0.3f})),
          m_Rig(std::static_pointer_cast<sds::CContainer>(
              m_Equipment.CreateContainer(JumperContainer(), nullptr, m_LeftHand, m_RightHand)))
    {
        m_Rig->GetGfxObj()->SetPos({0, 1000, 0});
    }

    CGfxObjPtr Hand(const CVector& pos)
    {
        const CGfxObjPtr hand = m_Gfx.CreateObject(">novis", nullptr);
        hand->SetPos(pos);
        return hand;
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            m_Rig->Update(m_Frame);
    }
    CSuspensionLines& Lines() { return *m_Rig->GetSuspensionLines(); }

    CGfxObjPtr m_LeftHand;
    CGfxObjPtr m_RightHand;
    std::shared_ptr<sds::CContainer> m_Rig;
};

TEST_F(ContainerTest, APackedRigHidesItsPartsAndDrawsNoLines)
{
    ASSERT_TRUE(m_Rig->GetCanopy() && m_Rig->GetPilotChute() && m_Rig->GetDBag() && m_Rig->GetSlider());
    for (const CGfxObjPtr& part : {m_Rig->GetCanopy()->GetGfxObj(), m_Rig->GetPilotChute()->GetGfxObj(),
                                   m_Rig->GetDBag()->GetGfxObj(), m_Rig->GetSlider()->GetGfxObj()})
        EXPECT_FALSE(part->IsVisible()) << part->GetName();
    EXPECT_EQ(m_Rig->GetGfxObj(), m_Rig->GetCanopy()->GetGfxObj()->GetParent());
    EXPECT_EQ(m_Rig->GetGfxObj(), m_Rig->GetPilotChute()->GetGfxObj()->GetParent());
    EXPECT_EQ(m_Rig->GetCanopy()->GetGfxObj(), m_Rig->GetSlider()->GetGfxObj()->GetParent());
    EXPECT_TRUE(m_Rig->GetDeployMainAnimation()->IsEnabled());
    EXPECT_FALSE(m_Rig->GetDeployMainAnimation()->IsAutoUpdate());
    Frames(3);
    EXPECT_FALSE(m_Rig->GetBridleLine());
    EXPECT_FALSE(m_Rig->GetSuspensionLines());
    // The hands' operations need the lines.
    EXPECT_THROW(m_Rig->GrabLeftRearRiser(), std::exception);
    m_Rig.reset(); // before the lines exist
}

TEST_F(ContainerTest, StagingBringsOutThePilotChuteTheBagAndTheLines)
{
    const CGfxObjPtr pilotChute = m_Rig->GetPilotChute()->GetGfxObj();
    m_Rig->CreateBridleLine();
    EXPECT_TRUE(pilotChute->IsVisible());
    EXPECT_EQ(Root(), pilotChute->GetParent());
    EXPECT_EQ(CVector(0, 1000, 0), pilotChute->GetWorldPos());
    ASSERT_TRUE(m_Rig->GetBridleLine());
    EXPECT_TRUE(static_cast<sds::CMemGfxObj&>(*m_Rig->GetBridleLine()->GetObject()).GetEntity()->m_NormaliseNormals);
    // The pilot chute flies off; a second call places it, under the root still.
    pilotChute->SetPos({0, 1003, 0});
    Frames(1);
    EXPECT_NEAR(3.0f, m_Rig->GetBridleLine()->GetObject()->GetScale().y, 1e-3f);

    m_Rig->CreateLines();
    const CGfxObjPtr bag = m_Rig->GetDBag()->GetGfxObj();
    EXPECT_FALSE(bag->IsVisible());
    EXPECT_EQ(Root(), bag->GetParent());
    EXPECT_EQ(CVector(0, 1000, 0), bag->GetPos());
    EXPECT_EQ(bag, m_Rig->GetCanopy()->GetGfxObj()->GetParent());
    EXPECT_EQ(CVector::ZERO, m_Rig->GetCanopy()->GetGfxObj()->GetPos());
    EXPECT_EQ(bag, m_Rig->GetSlider()->GetGfxObj()->GetParent());
    EXPECT_TRUE(m_Rig->GetDeployMainAnimation()->IsAutoUpdate());
    ASSERT_TRUE(m_Rig->GetSecondBridleLine());
    ASSERT_TRUE(m_Rig->GetSuspensionLines());
    EXPECT_FALSE(Lines().IsFullUpdate());
    Frames(2);

    m_Rig->HidePilotChute();
    EXPECT_FALSE(pilotChute->IsVisible());
    EXPECT_FALSE(m_Rig->GetBridleLine());
    EXPECT_TRUE(m_Rig->GetSecondBridleLine());

    const float speed = std::static_pointer_cast<sds::CPilotChute>(m_Rig->GetPilotChute())->GetInflatingAnimation()->GetSpeed();
    m_Rig->BeginInflation();
    EXPECT_FALSE(m_Rig->GetSecondBridleLine());
    EXPECT_TRUE(Lines().IsFullUpdate());
    EXPECT_TRUE(m_Rig->GetCanopy()->GetExtractionAnimation()->IsAutoUpdate());
    EXPECT_TRUE(m_Rig->GetSlider()->GetGfxObj()->IsVisible());
    EXPECT_EQ(-speed, std::static_pointer_cast<sds::CPilotChute>(m_Rig->GetPilotChute())->GetInflatingAnimation()->GetSpeed());
    Frames(2);
}

TEST_F(ContainerTest, ThePilotChuteUnderTheRootIsOnlyPlaced)
{
    const CGfxObjPtr pilotChute = m_Rig->GetPilotChute()->GetGfxObj();
    Root()->AddChild(pilotChute);
    pilotChute->SetPos({7, 7, 7});
    m_Rig->CreateBridleLine();
    EXPECT_EQ(Root(), pilotChute->GetParent());
    EXPECT_EQ(CVector(0, 1000, 0), pilotChute->GetPos());
}

TEST_F(ContainerTest, TheRisersReachFromTheContainerTowardsTheSlider)
{
    m_Rig->CreateBridleLine();
    m_Rig->CreateLines();
    // The slider opened above the rig, as it rides under an open canopy.
    m_Rig->GetSlider()->GetGfxObj()->SetPos({0, 4, 0});
    Frames(1);
    ASSERT_EQ(4u, Lines().GetRiserSegments().size());
    const xml::CNodePtr risersL = Model("Container", "Vector")->GetChildById("Attachment", "Risers.L", "Name,Id");
    const CVector attachment = CVector(0, 1000, 0) + xml::ParseVector(risersL->GetAttribute("Offset")->GetValue());
    const sds::CRope& leftRear = *Lines().GetRiserSegments()[CSuspensionLines::LEFT_REAR];
    EXPECT_VECTOR_NEAR(attachment, leftRear.GetFirst()->m_Pos, 1e-3f);
    // 0.4 m long, pointing up towards the slider 4 m above.
    EXPECT_NEAR(0.4f, leftRear.GetObject()->GetScale().y, 1e-4f);
    EXPECT_NEAR(0.4f, (leftRear.GetSecond()->m_Pos - attachment).Length(), 1e-4f);
    EXPECT_GT(leftRear.GetSecond()->m_Pos.y, attachment.y + 0.35f);
    // The toggles ride on the rear risers.
    const CVector toggle = Lines().GetToggle(true)->GetWorldPos();
    EXPECT_LT((toggle - attachment).Length(), 0.4f);
    EXPECT_VECTOR_NEAR(Lines().GetToggleRiserPoint(true)->m_Pos, toggle, 1e-6f);
}

TEST_F(ContainerTest, HandsTakeTogglesAndGrabAndReleaseRisers)
{
    m_Rig->CreateBridleLine();
    m_Rig->CreateLines();
    m_Rig->BeginInflation();
    Frames(1);
    const auto leftHand = Lines().GetHandPoint(true);

    m_Rig->GrabLeftFrontRiser();
    m_Rig->GrabLeftRearRiser();
    EXPECT_EQ(leftHand, Lines().GetMovingRiserPoint(CSuspensionLines::LEFT_FRONT).GetTarget());
    EXPECT_EQ(leftHand, Lines().GetMovingRiserPoint(CSuspensionLines::LEFT_REAR).GetTarget());
    Frames(1);
    EXPECT_VECTOR_NEAR(m_LeftHand->GetWorldPos(), Lines().GetMovingRiserPoint(CSuspensionLines::LEFT_FRONT).m_Pos, 1e-5f);
    m_Rig->ReleaseLeftFrontRiser();
    EXPECT_EQ(Lines().GetRiserRestPoint(CSuspensionLines::LEFT_FRONT),
              Lines().GetMovingRiserPoint(CSuspensionLines::LEFT_FRONT).GetTarget());
    EXPECT_EQ(leftHand, Lines().GetMovingRiserPoint(CSuspensionLines::LEFT_REAR).GetTarget());

    m_Rig->GrabRightRearRiser();
    EXPECT_EQ(Lines().GetHandPoint(false), Lines().GetMovingRiserPoint(CSuspensionLines::RIGHT_REAR).GetTarget());
    m_Rig->ReleaseRightRearRiser();
    EXPECT_EQ(Lines().GetRiserRestPoint(CSuspensionLines::RIGHT_REAR),
              Lines().GetMovingRiserPoint(CSuspensionLines::RIGHT_REAR).GetTarget());

    m_Rig->TakeRightToggle();
    m_Rig->TakeRightToggle();
    EXPECT_EQ(Lines().GetHandPoint(false), Lines().GetTogglePlacement(false).GetTarget());
    m_RightHand->SetPos({0.5f, 1000.2f, 0.4f});
    Frames(1);
    EXPECT_VECTOR_NEAR(CVector(0.5f, 1000.2f, 0.4f), Lines().GetToggle(false)->GetPos(), 1e-5f);
    EXPECT_EQ(Lines().GetToggleRiserPoint(true), Lines().GetTogglePlacement(true).GetTarget());
}

TEST_F(ContainerTest, TheCanopyStartsFullFlightAndLogsItsLife)
{
    sds::CCanopy* canopy = static_cast<sds::CCanopy*>(m_Rig->GetCanopy().get());
    const std::string identity = sds::IdentityOf(canopy);
    EXPECT_TRUE(m_Log.Has("CCanopy " + identity + " is created"));
    EXPECT_TRUE(canopy->GetExtractionAnimation()->IsEnabled());
    canopy->StartInflating();
    EXPECT_TRUE(canopy->GetInflatingAnimation()->IsAutoUpdate());
    canopy->StartFullFlight();
    EXPECT_FALSE(canopy->GetExtractionAnimation()->IsEnabled());
    EXPECT_FALSE(canopy->GetInflatingAnimation()->IsEnabled());
    EXPECT_TRUE(canopy->GetFullFlightAnimation()->IsEnabled());
    EXPECT_TRUE(canopy->GetFullFlightAnimation()->GetLoop());
    for (const sds::CAnimationPtr& turn :
         {canopy->GetRightToggleTurnAnimation(), canopy->GetLeftToggleTurnAnimation(),
          canopy->GetRightFrontRiserTurnAnimation(), canopy->GetLeftFrontRiserTurnAnimation(),
          canopy->GetRightRearRiserTurnAnimation(), canopy->GetLeftRearRiserTurnAnimation()})
        EXPECT_TRUE(turn->IsEnabled()) << turn->GetAnimationName();
    EXPECT_EQ(0.5f, canopy->GetLeftToggleTurnAnimation()->GetRelativePosition());
    EXPECT_EQ(0.5f, canopy->GetRightToggleTurnAnimation()->GetRelativePosition());
    EXPECT_EQ(0.0f, canopy->GetLeftRearRiserTurnAnimation()->GetRelativePosition());

    const std::string chute = sds::IdentityOf(m_Rig->GetPilotChute().get());
    EXPECT_TRUE(m_Log.Has("CPilotChute " + chute + " is created"));
    m_Rig->GetPilotChute()->ReverseInflating();
    m_Rig->GetPilotChute()->ReverseInflating();
    EXPECT_EQ(5.0f, std::static_pointer_cast<sds::CPilotChute>(m_Rig->GetPilotChute())->GetInflatingAnimation()->GetSpeed());
    m_Rig.reset();
    EXPECT_TRUE(m_Log.Has("CCanopy " + identity + " is destroyed"));
    EXPECT_TRUE(m_Log.Has("CPilotChute " + chute + " is destroyed"));
}

TEST_F(ContainerTest, TheEquipmentFileNamesEveryModelTheRigWears)
{
    try {
        m_Equipment.GetModelNode("Canopy", "Sabre");
        ADD_FAILURE();
    } catch (const xml::CNoNodeException& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find(" does not have a child 'Canopy' with unique identifier 'Sabre'"));
    }
    const xml::CNodePtr container = Xml("<Container Model=\"Vector\"><MainCanopy Model=\"Sabre\"><PilotChute Model=\"Aerocon\" /></MainCanopy></Container>");
    EXPECT_THROW(m_Equipment.CreateContainer(container, nullptr, m_LeftHand, m_RightHand), xml::CNoNodeException);
}

// A side without lines has no middle column for its risers: the lines refuse
// it instead of reading past the end of an empty list.
TEST_F(ContainerTest, ALineCountBelowOneFailsTheLines)
{
    const xml::CNodePtr lines = Model("Canopy", "Navigator")->GetChild("SuspensionLines");
    for (const char* count : {"AttachmentsPerSide", "NumControlLines"}) {
        SCOPED_TRACE(count);
        const std::string kept = lines->GetAttribute(count)->GetValue();
        lines->GetAttribute(count)->SetValue("0");
        auto rig = m_Equipment.CreateContainer(JumperContainer(), nullptr, m_LeftHand, m_RightHand);
        rig->CreateBridleLine();
        try {
            rig->CreateLines();
            ADD_FAILURE() << "no failure";
        } catch (const sds::CException& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find(std::string("\"") + count + "\" must be at least 1"))
                << e.what();
        }
        lines->GetAttribute(count)->SetValue(kept);
    }
}

TEST_F(ContainerTest, TheDefaultLineSetCascadesFromTheCanopyToTheRisers)
{
    m_Rig->CreateBridleLine();
    m_Rig->CreateLines();
    EXPECT_EQ(70u, Lines().GetUpperSegments().size());
    EXPECT_EQ(4u, Lines().GetRiserSegments().size());
    EXPECT_EQ(22u, Lines().GetLowerSegments().size());

    m_Rig->GetSlider()->GetGfxObj()->SetPos({0, 4, 0});
    Frames(1);
    // The outer columns' rings lie 4 × ConnectionOffset from the first, outwards on each side.
    for (const bool left : {true, false}) {
        const CVector spread = Lines().GetGroupPoint(left, true, 4)->m_Pos - Lines().GetGroupPoint(left, true, 0)->m_Pos;
        EXPECT_VECTOR_NEAR(CVector(left ? 0.012f : -0.012f, 0, 0), spread, 1e-4f);
    }
    const float fans[] = {-0.0075f, -0.0045f, -0.0015f, 0.0015f, 0.0045f};
    for (unsigned column = 0; column < 5; ++column)
        for (const auto riser : {CSuspensionLines::LEFT_FRONT, CSuspensionLines::RIGHT_REAR})
            EXPECT_NEAR(fans[column], Lines().GetFanPoint(riser, column)->GetOffset().x, 1e-6f);

    // Until the canopy inflates only the slider's side follows.
    const sds::CRope& upper = *Lines().GetUpperSegments().front();
    const sds::CRope& lower = *Lines().GetLowerSegments().front();
    const CVector kept = upper.GetObject()->GetPos();
    m_Rig->GetSlider()->GetGfxObj()->SetPos({0, 3, 0});
    Frames(1);
    EXPECT_EQ(kept, upper.GetObject()->GetPos());
    EXPECT_VECTOR_NEAR((lower.GetFirst()->m_Pos + lower.GetSecond()->m_Pos) * 0.5f, lower.GetObject()->GetPos(),
                       1e-4f);

    // Open: the canopy 6 m above the rig, 3 m above the slider.
    m_Rig->GetCanopy()->GetGfxObj()->SetPos({0, 6, 0});
    m_Rig->BeginInflation();
    Frames(1);
    for (const auto& segments : {Lines().GetUpperSegments(), Lines().GetLowerSegments()})
        for (const auto& segment : segments) {
            const CVector a = segment->GetFirst()->m_Pos, b = segment->GetSecond()->m_Pos;
            EXPECT_VECTOR_NEAR((a + b) * 0.5f, segment->GetObject()->GetPos(), 1e-4f);
            EXPECT_NEAR((a - b).Length(), segment->GetObject()->GetScale().y, 1e-4f);
        }
    // The A line of the first column hangs from the canopy down to its cascade,
    // which lies between the canopy and the slider.
    const CVector top = upper.GetFirst()->m_Pos, cascade = upper.GetSecond()->m_Pos;
    EXPECT_GT(top.y, cascade.y);
    EXPECT_GT(cascade.y, Lines().GetGroupPoint(true, true, 0)->m_Pos.y);
}

// In the bag and on its way down the lines the deployment places the slider;
// once it sits on the rig the lines carry it "Distance" from its base on the
// rig towards the canopy, its top to the canopy, turned with the rig.
TEST_F(ContainerTest, TheLinesCarryTheSliderOnceItSitsOnTheRig)
{
    m_Rig->CreateBridleLine();
    m_Rig->CreateLines();
    const CGfxObjPtr slider = m_Rig->GetSlider()->GetGfxObj();
    slider->SetPos({0, 4, 0});
    Frames(1);
    EXPECT_EQ(CVector(0, 4, 0), slider->GetPos());
    m_Rig->GetCanopy()->GetGfxObj()->SetPos({0, 6, 0});
    m_Rig->BeginInflation();
    Root()->AddChild(slider);
    slider->SetPos({0, 1003, 0});
    Frames(1);
    EXPECT_EQ(CVector(0, 1003, 0), slider->GetPos());

    // On the rig, the jumper heading a quarter round and leaning a little.
    m_Rig->GetGfxObj()->AddChild(slider);
    m_Rig->GetSlider()->ResetToContainer();
    sds::CQuaternion heading, lean;
    heading.FromAngleAxis(1.5707964f, CVector::UNIT_Y);
    lean.FromAngleAxis(0.2f, CVector::UNIT_X);
    m_Rig->GetGfxObj()->SetOrientation(heading * lean);
    Frames(2);
    const CVector base = CVector(0, 1000, 0) + heading * lean * CVector(0.1f, 0, 0);
    CVector up = CVector(0, 1006, 0) - base;
    up.Normalize();
    EXPECT_VECTOR_NEAR(base, Lines().GetSliderBase()->m_Pos, 1e-4f);
    EXPECT_VECTOR_NEAR(base + up * 0.36f, Lines().GetSliderPlacement().m_Pos, 1e-4f);
    EXPECT_VECTOR_NEAR(base + up * 0.36f, slider->GetWorldPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(up, slider->GetWorldOrientation() * CVector::UNIT_Y, 1e-4f);
    // The slider's sides stay the rig's: its left rings on the rig's left.
    const CVector left = heading * CVector(0, 0, -1);
    for (const bool front : {true, false}) {
        const CVector across = Lines().GetGroupPoint(true, front, 0)->m_Pos - Lines().GetGroupPoint(false, front, 0)->m_Pos;
        EXPECT_GT(across.Dot(left), 0.3f) << front;
    }

    // Without the slider's place on the lines there are no lines.
    const xml::CNodePtr lines = Model("Canopy", "Navigator")->GetChild("SuspensionLines");
    lines->RemoveChild(lines->GetChild("Slider"));
    EXPECT_THROW(m_Rig->CreateLines(), xml::CNoNodeException);
}

TEST_F(ContainerTest, ALineAttachmentMissingFromTheFileFailsTheLines)
{
    const xml::CNodePtr lines = Model("Canopy", "Navigator")->GetChild("SuspensionLines");
    lines->RemoveChild(lines->GetChildById("Attachment", "LB3", "Name,Id"));
    m_Rig->CreateBridleLine();
    try {
        m_Rig->CreateLines();
        ADD_FAILURE() << "no failure";
    } catch (const xml::CNoNodeException& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("with unique identifier 'LB3'")) << e.what();
    }
}

// The file's line attachments and the canopy mesh's joints are written apart:
// each point must lie on its joint, or the lines start off the canopy.
TEST_F(ContainerTest, EveryCanopyLineAttachmentLiesOnItsJoint)
{
    const xml::CNodePtr lines = Model("Canopy", "Navigator")->GetChild("SuspensionLines");
    const meshgen::CMeshModel canopy = meshgen::CanopyModel(PhysicsSourcesDir());
    for (const meshgen::CLineJoint& joint : meshgen::CanopyLineJoints()) {
        const xml::CNodePtr attachment = lines->GetChildById("Attachment", joint.m_Name, "Name,Id");
        EXPECT_EQ(joint.m_Name, attachment->GetAttribute("Joint")->GetValue());
        EXPECT_VECTOR_NEAR(meshgen::LineJointPos(canopy, joint),
                           xml::ParseVector(attachment->GetAttribute("Offset")->GetValue()), 1e-3f);
        EXPECT_VECTOR_NEAR(meshgen::LineJointPos(canopy, joint),
                           canopy.BindPos(canopy.BoneIndex(joint.m_Name)), 1e-5f);
    }
}
