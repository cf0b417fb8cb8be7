#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "WorldFixture.h"
#include "phsgen/PhysicsSource.h"
#include "physics/PhyRagDoll.h"
#include "physics/sdk/IActor.h"

namespace {

// A source of two bones, with `bones` as its "Bones" list.
xml::CNodePtr Source(const std::string& bones)
{
    return Xml("<PhysicsFile Version=\"1.4\">" + bones +
               "<Skeleton Name=\"Doll\" />"
               "<Actor Name=\"A\" Skeleton=\"Doll\" Bone=\"Hips\" BoneDriven=\"true\"><Shape Kind=\"Box\" /></Actor>"
               "<Actor Name=\"B\" Skeleton=\"Doll\" Bone=\"Chest\"><Shape Kind=\"Box\" /></Actor>"
               "<Actor Name=\"Stand\" Static=\"true\"><Shape Kind=\"Box\" /></Actor>"
               "</PhysicsFile>");
}

} // namespace

TEST(PhysicsSourceTest, TheBoneListMustBeTheSkeletonsBones)
{
    const xml::CNodePtr good =
        Source("<Bones Skeleton=\"Doll\"><Bone Name=\"Hips\" /><Bone Name=\"Chest\" Parent=\"Hips\" /></Bones>");
    EXPECT_NO_THROW(phsgen::ReadPhysicsSource(good));
    const std::vector<phsgen::CBoneEntry> bones = phsgen::ReadBoneList(good);
    ASSERT_EQ(2u, bones.size());
    EXPECT_EQ("Chest", bones[1].m_Name);
    EXPECT_EQ("Hips", bones[1].m_Parent);
    EXPECT_TRUE(phsgen::ReadBoneList(Source("")).empty());
    EXPECT_NO_THROW(phsgen::ReadPhysicsSource(Source("")));

    // A bone of the mesh alone: no actor carries it, and it keeps its bind position.
    const std::vector<phsgen::CBoneEntry> withRing = phsgen::ReadBoneList(Source(
        "<Bones Skeleton=\"Doll\"><Bone Name=\"Hips\" /><Bone Name=\"Chest\" Parent=\"Hips\" />"
        "<Bone Name=\"Ring\" Parent=\"Chest\" Actor=\"false\" Position=\"0.5, 1, 0\" /></Bones>"));
    ASSERT_EQ(3u, withRing.size());
    EXPECT_FALSE(withRing[2].m_HasActor);
    EXPECT_EQ(sds::CVector(0.5f, 1, 0), withRing[2].m_Position);
    EXPECT_TRUE(withRing[0].m_HasActor);
    EXPECT_NO_THROW(phsgen::ReadPhysicsSource(Source(
        "<Bones Skeleton=\"Doll\"><Bone Name=\"Hips\" /><Bone Name=\"Chest\" />"
        "<Bone Name=\"Ring\" Actor=\"false\" /></Bones>")));

    const struct
    {
        const char* m_What;
        const char* m_Bones;
    } bad[] = {
        {"an actor carrying a bone of the mesh alone",
         "<Bones Skeleton=\"Doll\"><Bone Name=\"Hips\" /><Bone Name=\"Chest\" Actor=\"false\" /></Bones>"},
        {"a bone no actor carries",
         "<Bones Skeleton=\"Doll\"><Bone Name=\"Hips\" /><Bone Name=\"Chest\" /><Bone Name=\"Tail\" /></Bones>"},
        {"an actor's bone left out", "<Bones Skeleton=\"Doll\"><Bone Name=\"Hips\" /></Bones>"},
        {"a bone before its parent",
         "<Bones Skeleton=\"Doll\"><Bone Name=\"Chest\" Parent=\"Hips\" /><Bone Name=\"Hips\" /></Bones>"},
        {"a bone twice",
         "<Bones Skeleton=\"Doll\"><Bone Name=\"Hips\" /><Bone Name=\"Chest\" /><Bone Name=\"Hips\" /></Bones>"},
    };
    for (const auto& c : bad)
        EXPECT_THROW(phsgen::ReadPhysicsSource(Source(c.m_Bones)), std::invalid_argument) << c.m_What;
}

// The jumper's rag doll as the build writes it, dropped flat on its back.
TEST_F(WorldTest, TheJumpersRagDollFallsInOnePieceAndComesToRest)
{
    m_World->CreateGroundPlane();
    sds::CQuaternion onItsBack;
    onItsBack.FromAngleAxis(1.5707963f, sds::CVector::UNIT_Z); // the belly (+x) up
    const auto doll = std::dynamic_pointer_cast<physics::CPhyRagDoll>(
        m_World->CreateScyPhy("../data/models/Jumper.phs", {0, 1.5f, 0}, onItsBack, nullptr));
    ASSERT_TRUE(doll);
    EXPECT_EQ("Pelvis", doll->GetRootName());
    EXPECT_EQ(14, doll->GetJointCount());
    Frames(240);
    const sds::CVector pelvis = doll->GetBonePos("Pelvis");
    for (std::uint16_t i = 0; i < doll->GetActorCount(); ++i)
    {
        const physics::sdk::IActor& part = *doll->GetBone(doll->GetActorName(i))->GetActor();
        SCOPED_TRACE(doll->GetActorName(i));
        EXPECT_GT(part.GetGlobalPosition().y, -0.05f);
        EXPECT_LT(part.GetGlobalPosition().y, 0.5f);
        EXPECT_LT((part.GetGlobalPosition() - pelvis).Length(), 1.1f);
        EXPECT_LT(part.GetLinearVelocity().Length(), 0.2f);
    }
}
