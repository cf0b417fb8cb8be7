#pragma once

// Skeletons, joints and animations, run against every implementation of the
// graphics service (instantiated with a world type in each test binary).

#include <cmath>

#include <gtest/gtest.h>

#include "support/VectorNear.h"

#include "core/Exception.h"
#include "graphics/IGfxMgr.h"
#include "support/CapturingLogMgr.h"
#include "support/Frames.h"

template <class TWorld>
class SkeletonAnimationTest : public ::testing::Test
{
protected:
    sds::CGfxObjPtr MakeRig() { return m_World.Mgr().CreateObject("SkeletonTest", nullptr); }

    TWorld m_World;
};

TYPED_TEST_SUITE_P(SkeletonAnimationTest);


TYPED_TEST_P(SkeletonAnimationTest, JointsAreFoundByHandleAndName)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    const sds::CSkeletonPtr skeleton = rig->GetSkeleton();
    ASSERT_TRUE(skeleton);
    ASSERT_EQ(3u, skeleton->GetNumJoints());
    const char* names[] = {"Root", "Arm", "Hand"};
    for (std::uint16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(i, skeleton->GetJoint(i)->GetHandle());
        EXPECT_EQ(names[i], skeleton->GetJoint(i)->GetName());
        EXPECT_EQ(skeleton->GetJoint(i), skeleton->GetJoint(names[i]));
    }
    EXPECT_TRUE(skeleton->GetJoint(0)->IsRoot());
    EXPECT_EQ("", skeleton->GetJoint(0)->GetParentName());
    EXPECT_EQ("Arm", skeleton->GetJoint(2)->GetParentName());
    EXPECT_VECTOR_NEAR(sds::CVector(0, 2, 0), skeleton->GetJoint(2)->GetWorldPos(), 1e-4f);

    try {
        skeleton->GetJoint(std::uint16_t(3));
        FAIL() << "no exception";
    } catch (const sds::CException& e) {
        EXPECT_STREQ("Joint does not exist: 3", e.what());
    }
    try {
        skeleton->GetJoint("Foot");
        FAIL() << "no exception";
    } catch (const sds::CException& e) {
        EXPECT_STREQ("Joint does not exist: Foot", e.what());
    }
    // A mesh without skeleton has no skeleton view.
    EXPECT_FALSE(this->m_World.Mgr().CreateObject("Cube", nullptr)->GetSkeleton());
}

TYPED_TEST_P(SkeletonAnimationTest, AnimationIsSharedWhileHeldAndNewAfterRelease)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    sds::CAnimationPtr first = rig->GetAnimation("Move", 1.0f, true, false, true);
    sds::CAnimationPtr again = rig->GetAnimation("Move", 3.0f, false, true, false);
    EXPECT_EQ(first, again);
    EXPECT_TRUE(again->IsAutoUpdate());
    EXPECT_FLOAT_EQ(1.0f, again->GetSpeed());
    EXPECT_TRUE(again->IsEnabled());
    EXPECT_FALSE(again->GetLoop());

    first.reset();
    again.reset();
    const sds::CAnimationPtr fresh = rig->GetAnimation("Move", 3.0f, false, true, false);
    EXPECT_FALSE(fresh->IsAutoUpdate());
    EXPECT_FLOAT_EQ(3.0f, fresh->GetSpeed());
    EXPECT_FALSE(fresh->IsEnabled());
    EXPECT_EQ("Move", fresh->GetAnimationName());

    EXPECT_ANY_THROW(rig->GetAnimation("NoSuchAnimation"));
}

TYPED_TEST_P(SkeletonAnimationTest, AddTimeStopsAtEitherEnd)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    const sds::CAnimationPtr move = rig->GetAnimation("Move", 1.0f, true, false, true);
    ASSERT_FLOAT_EQ(2.0f, move->GetLength());

    move->SetRelativePosition(0.9f); // 1.8 s
    move->AddTime(0.5f);
    EXPECT_FLOAT_EQ(1.0f, move->GetRelativePosition());
    move->SetRelativePosition(0.15f); // 0.3 s
    move->AddTime(-0.5f);
    EXPECT_FLOAT_EQ(0.0f, move->GetRelativePosition());

    // Looping, the end reached exactly starts again at 0; the rest is not carried.
    move->SetLoop(true);
    move->SetRelativePosition(0.9f);
    move->AddTime(0.5f);
    EXPECT_FLOAT_EQ(0.0f, move->GetRelativePosition());

    const sds::CAnimationPtr lift = rig->GetAnimation("Lift");
    lift->SetRelativePosition(0.5f);
    EXPECT_FLOAT_EQ(0.5f, lift->GetRelativePosition());
    lift->AddTime(1.0f);
    EXPECT_FLOAT_EQ(0.75f, lift->GetRelativePosition());
}

TYPED_TEST_P(SkeletonAnimationTest, ZeroLengthAnimationStaysAtZero)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    for (bool loop : {false, true}) {
        const sds::CAnimationPtr still = rig->GetAnimation("Still", 1.0f, true, loop, true);
        EXPECT_FLOAT_EQ(0.0f, still->GetLength());
        still->SetRelativePosition(0.5f);
        still->AddTime(1.0f);
        rig->Update(sds::test::Frame(0.5f));
        EXPECT_EQ(0.0f, still->GetRelativePosition()) << "loop " << loop;
    }
}

TYPED_TEST_P(SkeletonAnimationTest, FrameUpdateAdvancesLiveEnabledAutoUpdatedAnimations)
{
    const sds::CGfxObjPtr root = this->m_World.Mgr().GetRootObject();
    const sds::CGfxObjPtr rig = this->MakeRig();
    const sds::CAnimationPtr fast = rig->GetAnimation("Lift", 2.0f, true, false, true);
    const sds::CAnimationPtr disabled = rig->GetAnimation("Move", 1.0f, true, false, false);
    const sds::CAnimationPtr manual = rig->GetAnimation("Turn", 1.0f, false, false, true);

    // The root's update reaches the rig through the scene graph.
    root->Update(sds::test::Frame(0.25f));
    EXPECT_FLOAT_EQ(0.125f, fast->GetRelativePosition());
    EXPECT_FLOAT_EQ(0.0f, disabled->GetRelativePosition());
    EXPECT_FLOAT_EQ(0.0f, manual->GetRelativePosition());

    rig->DisableAllAnimations();
    EXPECT_FALSE(fast->IsEnabled());
    EXPECT_FALSE(manual->IsEnabled());
    root->Update(sds::test::Frame(0.25f));
    EXPECT_FLOAT_EQ(0.125f, fast->GetRelativePosition());
}

TYPED_TEST_P(SkeletonAnimationTest, EnabledAnimationsBlendCumulatively)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    const sds::CAnimationPtr move = rig->GetAnimation("Move", 1.0f, false, false, true);
    const sds::CAnimationPtr lift = rig->GetAnimation("Lift", 1.0f, false, false, true);
    move->SetRelativePosition(0.5f); // Arm +1 along X
    lift->SetRelativePosition(0.5f); // Arm +2 along Z
    lift->SetWeight(0.5f);
    EXPECT_FLOAT_EQ(0.5f, lift->GetWeight());
    rig->UpdateAnimation();

    const sds::CJointPtr arm = rig->GetSkeleton()->GetJoint("Arm");
    // Added up, not averaged: weights of 1 and 0.5 give the full sum.
    EXPECT_VECTOR_NEAR(sds::CVector(1, 1, 1), arm->GetPos(), 1e-4f);
    EXPECT_VECTOR_NEAR(sds::CVector(1, 2, 1), rig->GetSkeleton()->GetJoint("Hand")->GetWorldPos(), 1e-4f);

    move->SetEnabled(false);
    lift->SetEnabled(false);
    rig->UpdateAnimation();
    EXPECT_VECTOR_NEAR(sds::CVector(0, 1, 0), arm->GetPos(), 1e-4f);
}

TYPED_TEST_P(SkeletonAnimationTest, ManuallyControlledJointKeepsItsPose)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    const sds::CJointPtr arm = rig->GetSkeleton()->GetJoint("Arm");
    const sds::CAnimationPtr move = rig->GetAnimation("Move", 1.0f, false, false, true);
    move->SetRelativePosition(0.5f);
    arm->SetManuallyControlled(true);
    arm->SetPos(sds::CVector(5, 5, 5));
    rig->UpdateAnimation();
    EXPECT_VECTOR_NEAR(sds::CVector(5, 5, 5), arm->GetPos(), 1e-4f);

    arm->SetManuallyControlled(false);
    rig->UpdateAnimation();
    EXPECT_VECTOR_NEAR(sds::CVector(1, 1, 0), arm->GetPos(), 1e-4f);
}

TYPED_TEST_P(SkeletonAnimationTest, JointRotatesInItsSpaces)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    const sds::CSkeletonPtr skeleton = rig->GetSkeleton();
    const sds::CJointPtr arm = skeleton->GetJoint("Arm");
    const sds::CJointPtr hand = skeleton->GetJoint("Hand");
    arm->SetManuallyControlled(true);
    sds::CQuaternion quarterZ;
    quarterZ.FromAngleAxis(1.5707963f, sds::CVector::UNIT_Z);

    arm->Rotate(quarterZ, 7); // no such space
    EXPECT_VECTOR_NEAR(sds::CVector(0, 2, 0), hand->GetWorldPos(), 1e-4f);
    arm->Rotate(quarterZ, sds::IJoint::SPACE_LOCAL);
    // The hand hangs 1 above the arm, now turned a quarter about Z.
    EXPECT_VECTOR_NEAR(sds::CVector(-1, 1, 0), hand->GetWorldPos(), 1e-4f);
    const sds::CQuaternion parent = hand->GetParentWorldOrientation();
    EXPECT_NEAR(std::fabs(parent.w), std::fabs(quarterZ.w), 1e-4f);
    EXPECT_NEAR(std::fabs(parent.z), std::fabs(quarterZ.z), 1e-4f);
    EXPECT_NEAR(1.0f, std::fabs(skeleton->GetJoint("Root")->GetInitialOrientation().w), 1e-6f);
}

TYPED_TEST_P(SkeletonAnimationTest, ChildHangsOnABone)
{
    const sds::CGfxObjPtr rig = this->MakeRig();
    rig->SetPos(sds::CVector(10, 0, 0));
    const sds::CGfxObjPtr tool = this->m_World.Mgr().CreateObject("Cube", nullptr);
    rig->AttachToBone(tool, 2, sds::CVector(0, 0.5f, 0), sds::CQuaternion::IDENTITY, false, false);
    rig->UpdateTransform();
    EXPECT_VECTOR_NEAR(sds::CVector(10, 2.5f, 0), tool->GetWorldPos(), 1e-4f);

    rig->DetachFromBone(tool);
    tool->SetPos(sds::CVector(0, -3, 0));
    EXPECT_VECTOR_NEAR(sds::CVector(0, -3, 0), tool->GetWorldPos(), 1e-4f);
}

TYPED_TEST_P(SkeletonAnimationTest, ReleasedBodyHandsItsBoneChildrenBack)
{
    sds::CGfxObjPtr rig = this->MakeRig();
    const sds::CGfxObjPtr tool = this->m_World.Mgr().CreateObject("Cube", nullptr);
    const std::string name = tool->GetName();
    rig->AttachToBone(tool, 2, sds::CVector(0, 0.5f, 0), sds::CQuaternion::IDENTITY, false, false);
    rig.reset();

    // Back on its own node, which it moves again.
    EXPECT_EQ(name, tool->GetName());
    EXPECT_EQ(tool, this->m_World.Mgr().FindObject(name));
    EXPECT_EQ(this->m_World.Mgr().GetRootObject(), tool->GetParent());
    tool->SetPos(sds::CVector(0, -3, 0));
    tool->UpdateTransform();
    EXPECT_VECTOR_NEAR(sds::CVector(0, -3, 0), tool->GetWorldPos(), 1e-4f);
    EXPECT_TRUE(tool->IsVisible());
}

TYPED_TEST_P(SkeletonAnimationTest, AnimationStatesAreLoggedForTheAnimCategoryOnly)
{
    CCapturingLogMgr log;
    const sds::CGfxObjPtr rig = this->MakeRig();
    rig->GetAnimation("Move", 1.0f, true, false, true)->SetRelativePosition(0.5f);
    rig->PrintAnimationStates("physics");
    EXPECT_TRUE(log.m_Lines.empty());
    rig->PrintAnimationStates("anim");
    const std::vector<std::string> expected = {"Printing animation states for: " + rig->GetName(), "Lift 0 1 0 4 ",
                                               "Move 1 1 1 2 ", "Still 0 1 0 0 ", "Turn 0 1 0 1 "};
    EXPECT_EQ(expected, log.m_Lines);
}

REGISTER_TYPED_TEST_SUITE_P(SkeletonAnimationTest, JointsAreFoundByHandleAndName,
                            AnimationIsSharedWhileHeldAndNewAfterRelease, AddTimeStopsAtEitherEnd,
                            ZeroLengthAnimationStaysAtZero, FrameUpdateAdvancesLiveEnabledAutoUpdatedAnimations,
                            EnabledAnimationsBlendCumulatively, ManuallyControlledJointKeepsItsPose,
                            JointRotatesInItsSpaces, ChildHangsOnABone, ReleasedBodyHandsItsBoneChildrenBack,
                            AnimationStatesAreLoggedForTheAnimCategoryOnly);
