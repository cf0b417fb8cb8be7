#include "WorldFixture.h"

#include "PhysicsFiles.h"
#include "physics/PhyRagDoll.h"
#include "physics/PhyWindSock.h"
#include "physics/WindMgr.h"
#include "physics/sdk/IActor.h"
#include "physics/sdk/IScene.h"
#include "physics/zavuvi/Matrix.h"

using physics::CPhyWindSock;
using sds::CQuaternion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

const char* const kWindSockFile = "../data/physics/WindSock.phs";

// Keeps what the rag-doll factory is given, as the level's visible rag dolls do.
struct CRagDollFactory
{
    physics::IPhyMgr::CObjectCallback Callback()
    {
        return [this](const std::string& name, const std::shared_ptr<physics::IPhyObj>& object) {
            m_Names.push_back(name);
            m_RagDolls.push_back(std::dynamic_pointer_cast<physics::CPhyRagDoll>(object));
        };
    }
    std::vector<std::string> m_Names;
    std::vector<std::shared_ptr<physics::CPhyRagDoll>> m_RagDolls;
};

class WindSockTest : public WorldTest
{
protected:
    std::shared_ptr<CPhyWindSock> Create(const std::string& file = kWindSockFile)
    {
        return std::dynamic_pointer_cast<CPhyWindSock>(
            m_World->CreateWindSock(file, {0, 0, 0}, CQuaternion::IDENTITY, m_Factory.Callback()));
    }

    void Wind(float speed)
    {
        m_World->GetWindMgr().GetRegions().push_back(m_World->GetWindMgr().CreateRegion(
            Xml("<Region Direction=\"0, 0, 1\" Speed=\"" + std::to_string(speed) +
                "\"><Shape Position=\"0, 5, 0\" Size=\"12, 12, 12\" /></Region>")));
    }

    physics::CPhyRagDoll& RagDoll() { return *m_Factory.m_RagDolls.at(0); }
    // The middle of the sock, half a metre behind its mouth.
    CVector SockMiddle()
    {
        const sdk::IActor& tail = *RagDoll().GetBone("Tail")->GetActor();
        return tail.GetGlobalPosition() + tail.GetGlobalOrientation() * CVector(-0.6f, 0, 0);
    }

    CRagDollFactory m_Factory;
};

} // namespace

TEST_F(WindSockTest, TheWindSockTakesItsRagDollFromTheFile)
{
    auto windSock = Create();
    ASSERT_TRUE(windSock);
    EXPECT_EQ(std::vector<std::string>{"WindSock"}, m_Factory.m_Names);
    ASSERT_EQ(1u, m_World->GetWindSocks().size());
    EXPECT_EQ(windSock, m_World->GetWindSocks()[0]);
    EXPECT_EQ(CVector(0.1f, 0.1f, 1), windSock->GetNoiseMaximum());
    EXPECT_FALSE(windSock->IsTorn());

    // The tail's wind reports come to the windsock; the actor stays the rag doll's.
    sdk::IActor* tail = RagDoll().GetBone("Tail")->GetActor();
    EXPECT_EQ(tail, windSock->GetActor());
    EXPECT_FALSE(windSock->OwnsActor());
    EXPECT_EQ(windSock.get(), tail->GetUserData());
    // The ring turns about the mast only.
    const sdk::IActor& twist = *RagDoll().GetBone("Twist")->GetActor();
    EXPECT_TRUE(twist.ReadBodyFlag(sdk::BF_FROZEN_ROT_X | sdk::BF_FROZEN_ROT_Z | sdk::BF_FROZEN_POS_X |
                                   sdk::BF_FROZEN_POS_Z));
    EXPECT_FALSE(twist.ReadBodyFlag(sdk::BF_FROZEN_ROT_Y));
}

TEST_F(WindSockTest, ARagDollWithoutTailOrTwistIsRefused)
{
    CTempDir dir;
    for (const char* missing : {"Tail", "Twist"})
    {
        Zavuvi::PhysicsEntity entity;
        entity.Load(kWindSockFile);
        for (Zavuvi::PhysicsActor& actor : entity.m_Actors)
            if (actor.m_BoneName == missing)
                actor.m_BoneName = "Sock";
        try
        {
            Create(test_files::Write(dir, std::string(missing) + ".phs", entity));
            ADD_FAILURE() << missing;
        }
        catch (const std::exception& e)
        {
            EXPECT_EQ(std::string("Windsock ragdoll must have bone '") + missing + "'", e.what());
        }
    }
    // A file without a skeleton has no rag doll at all.
    Zavuvi::PhysicsEntity bare;
    bare.m_Actors.push_back(test_files::Actor("Pole", {}, true, {test_files::Shape(0, {}, {1, 1, 1})}));
    EXPECT_THROW(Create(test_files::Write(dir, "bare.phs", bare)), std::runtime_error);
    EXPECT_TRUE(m_World->GetWindSocks().empty());
}

// In still air the sock hangs; in a steady wind it turns downwind and fills.
TEST_F(WindSockTest, TheSockSwingsWithTheWind)
{
    auto windSock = Create();
    Frames(120);
    EXPECT_LT(SockMiddle().y, 4.7f); // drooping
    EXPECT_NEAR(0.0f, SockMiddle().z, 0.1f);

    Wind(10.0f);
    Frames(300);
    const CVector middle = SockMiddle();
    EXPECT_GT(middle.z, 0.4f); // blown downwind
    EXPECT_GT(middle.y, 4.6f); // and lifted
    EXPECT_FALSE(windSock->IsTorn());
    EXPECT_VECTOR_NEAR(CVector(0, 5, 0), RagDoll().GetBonePos("Twist"), 0.02f); // still on its mast
    EXPECT_TRUE(m_Errors.empty()) << m_Errors[0];
}

// A gale tears the sock off its ring: it is no longer driven, and the ring is
// free to turn every way.
TEST_F(WindSockTest, TheSockTearsWhenItsJointBreaks)
{
    CTempDir dir;
    Zavuvi::PhysicsEntity weak;
    weak.Load(kWindSockFile);
    for (Zavuvi::PhysicsJoint& joint : weak.m_Joints)
        if (joint.m_Name == "Mouth")
            joint.m_MaxForce = 80.0f;
    auto windSock = Create(test_files::Write(dir, "weak.phs", weak));

    Frames(60);
    EXPECT_FALSE(windSock->IsTorn()); // its weight alone does not break it
    Wind(25.0f);
    for (int i = 0; i < 120 && !windSock->IsTorn(); ++i)
        Frames(1);
    ASSERT_TRUE(windSock->IsTorn());
    const sdk::IActor& twist = *RagDoll().GetBone("Twist")->GetActor();
    EXPECT_FALSE(twist.ReadBodyFlag(sdk::BF_FROZEN_POS_X));
    EXPECT_FALSE(twist.ReadBodyFlag(sdk::BF_FROZEN_ROT_Z));
    Frames(120);
    EXPECT_LT(SockMiddle().y, 0.0f); // the sock fell, nothing holds it up
    EXPECT_VECTOR_NEAR(CVector(0, 5, 0), RagDoll().GetBonePos("Twist"), 0.05f); // the ring stays on its mast
}

// The rag doll belongs to whoever shows it: once it is gone the windsock lets
// go of the tail without touching it, and does nothing more.
TEST_F(WindSockTest, AWindSockWhoseRagDollIsGoneDoesNothing)
{
    auto windSock = Create();
    Wind(10.0f);
    Frames(10);
    const std::size_t actors = m_World->GetScene().GetActors().size();
    m_Factory.m_RagDolls.clear();
    EXPECT_EQ(actors - 3, m_World->GetScene().GetActors().size()); // mast, ring and tail went once
    EXPECT_EQ(nullptr, windSock->GetActor()); // at once, not only from its next update
    EXPECT_THROW(windSock->GetPos(), std::runtime_error);
    Frames(30);
    EXPECT_EQ(nullptr, windSock->GetActor());
    windSock->DrawForces();
    EXPECT_TRUE(m_Errors.empty()) << m_Errors[0];

    // While another holder keeps the file's actors, the tail's reports go back to its bone.
    auto second = Create();
    sdk::IActor* tail = RagDoll().GetBone("Tail")->GetActor();
    const std::shared_ptr<physics::CPhyObj> bone = RagDoll().GetBone("Tail");
    m_Factory.m_RagDolls.clear();
    Frames(1);
    EXPECT_EQ(nullptr, second->GetActor());
    EXPECT_EQ(bone.get(), tail->GetUserData());
}
