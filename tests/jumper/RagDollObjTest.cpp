#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "graphics/IAnimation.h"
#include "graphics/ISkeleton.h"
#include "jumper/RagDollObj.h"
#include "physics/PhyRagDoll.h"
#include "physics/flight/ILandingState.h"
#include "JumperWorld.h"

using sds::CQuaternion;
using sds::CRagDollObj;

namespace {

struct CPose
{
    CVector m_Pos;
    CQuaternion m_Orientation;
};

// The same turn, whichever sign the quaternion has.
void ExpectSameTurn(const CQuaternion& expected, const CQuaternion& actual, float tolerance)
{
    const float dot =
        expected.w * actual.w + expected.x * actual.x + expected.y * actual.y + expected.z * actual.z;
    EXPECT_NEAR(1.0f, std::fabs(dot), tolerance);
}

} // namespace

// The jumper's body, mid-stride at (10, 1000, 5) and turned a quarter about y,
// bound to the jumper's landing rag doll.
class RagDollObjTest : public JumperTest
{
protected:
    RagDollObjTest() : m_Jumper(Make()), m_Body(m_Jumper->GetBodyObj())
    {
        m_Body->SetPos({10, 1000, 5});
        m_Body->SetOrientation(CQuaternion(0.707107f, 0, 0.707107f, 0));
        m_Body->UpdateTransform();
        const sds::CAnimationPtr walking = m_Jumper->ReadBodyAnimation("Walking");
        walking->SetEnabled(true);
        walking->SetWeight(1.0f);
        walking->SetRelativePosition(0.3f);
        m_Body->UpdateAnimation();
    }

    std::shared_ptr<physics::CPhyRagDoll> Doll() const
    {
        return m_Jumper->GetPhyJumper()->GetLandingState()->GetJumperRagDoll();
    }
    // Each skeleton bone's pose in the world, by name.
    std::map<std::string, CPose> SkeletonPoses() const
    {
        std::map<std::string, CPose> poses;
        const sds::CSkeletonPtr skeleton = m_Body->GetSkeleton();
        for (std::uint16_t i = 0; i < skeleton->GetNumJoints(); ++i) {
            const sds::CJointPtr joint = skeleton->GetJoint(i);
            poses[joint->GetName()] = {m_Body->GetWorldPos() + m_Body->GetWorldOrientation() * joint->GetWorldPos(),
                                       m_Body->GetWorldOrientation() * joint->GetWorldOrientation()};
        }
        return poses;
    }
    // The physical bones the skeleton poses: every actor but the skeleton's root.
    std::map<std::string, CPose> PhysicalPoses() const
    {
        std::map<std::string, CPose> poses;
        const sds::CSkeletonPtr skeleton = m_Body->GetSkeleton();
        for (std::uint16_t i = 0; i < skeleton->GetNumJoints(); ++i) {
            const sds::CJointPtr joint = skeleton->GetJoint(i);
            if (!joint->IsRoot() && Doll()->HasActor(joint->GetName()))
                poses[joint->GetName()] = {Doll()->GetBonePos(joint->GetName()),
                                           Doll()->GetBoneOrientation(joint->GetName())};
        }
        return poses;
    }

    std::unique_ptr<CJumper> m_Jumper;
    CGfxObjPtr m_Body;
};

TEST_F(RagDollObjTest, PosingPutsEachPhysicalBoneAtItsSkeletonBoneAndPosingAgainChangesNothing)
{
    CRagDollObj ragDoll(m_Body, Doll(), false);
    const std::map<std::string, CPose> first = PhysicalPoses();
    ASSERT_GT(first.size(), 3u);
    const std::map<std::string, CPose> skeleton = SkeletonPoses();
    for (const auto& [name, pose] : first) {
        SCOPED_TRACE(name);
        EXPECT_VECTOR_NEAR(skeleton.at(name).m_Pos, pose.m_Pos, 1e-3f);
        ExpectSameTurn(skeleton.at(name).m_Orientation, pose.m_Orientation, 1e-4f);
    }
    ragDoll.PosePhysicsFromSkeleton();
    for (const auto& [name, pose] : PhysicalPoses()) {
        SCOPED_TRACE(name);
        EXPECT_VECTOR_NEAR(first.at(name).m_Pos, pose.m_Pos, 1e-5f);
        ExpectSameTurn(first.at(name).m_Orientation, pose.m_Orientation, 1e-6f);
    }
}

TEST_F(RagDollObjTest, HandingOverToPhysicsInTheFrameOfThePoseMovesNoBone)
{
    CRagDollObj ragDoll(m_Body, Doll(), false);
    ragDoll.Update(m_Frame);
    const std::map<std::string, CPose> posed = SkeletonPoses();
    ragDoll.SwitchToPhysics();
    ragDoll.Update(m_Frame);
    EXPECT_TRUE(ragDoll.IsPhysicsDriven());
    EXPECT_VECTOR_NEAR(Doll()->GetPos(), m_Body->GetPos(), 1e-6f);
    for (const auto& [name, pose] : SkeletonPoses()) {
        SCOPED_TRACE(name);
        EXPECT_LT((posed.at(name).m_Pos - pose.m_Pos).Length(), 0.01f);
    }
}

TEST_F(RagDollObjTest, AModelWithoutASkeletonIsRefused)
{
    try {
        CRagDollObj ragDoll(m_Gfx.CreateObject(">novis", nullptr), Doll(), false);
        ADD_FAILURE() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ("GetGfxObj()->HasSkeleton() && \"Model must have a skeleton\"", e.what());
    }
}
