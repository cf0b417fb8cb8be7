#include <gtest/gtest.h>

#include <cmath>

#include "jumper/SimObj.h"
#include "physics/IPhyObj.h"
#include "physics/PhyMgr.h"
#include "RigWorld.h"

using sds::CQuaternion;
using sds::CVector;

namespace {

// The same rotation: q and -q turn alike.
void ExpectSameRotation(const CQuaternion& expected, const CQuaternion& actual, float tolerance)
{
    const float dot = expected.w * actual.w + expected.x * actual.x + expected.y * actual.y + expected.z * actual.z;
    EXPECT_NEAR(1.0f, std::fabs(dot), tolerance);
}

} // namespace

// A falling box of the physics world and a cube shown for it.
class SimObjTest : public RigTest
{
protected:
    SimObjTest()
        : m_World(physics::CPhyMgr::Create(LoadShipped("../data/physics/physics.xml", "Physics"),
                                           LoadShipped("../conf/materials.conf", "Materials")))
    {
        m_World->SetLogCallbacks([](const std::string&) {}, [](const std::string&) {}, [](const std::string&) {});
        m_Body = m_World->CreateBox(CVector(3, 50, -2), CVector(1, 1, 1), 10.0f, "");
        m_Body->SetOrientation(CQuaternion(0.8f, 0.6f, 0.0f, 0.0f));
    }

    void ExpectSamePose(const sds::CSimObj& simObj) const
    {
        EXPECT_EQ(m_Body->GetPos(), simObj.GetGfxObj()->GetPos());
        ExpectSameRotation(m_Body->GetOrientation(), simObj.GetGfxObj()->GetOrientation(), 1e-6f);
    }

    std::shared_ptr<physics::CPhyMgr> m_World;
    std::shared_ptr<physics::IPhyObj> m_Body;
};

TEST_F(SimObjTest, TheGraphicObjectStartsAtTheBodyAndFollowsItEachUpdate)
{
    sds::CSimObj simObj(m_Gfx.CreateObject("Cube", sds::CGfxObjPtr()), m_Body);
    ExpectSamePose(simObj);
    EXPECT_EQ(m_Body, simObj.GetSimObj());
    for (int frame = 0; frame < 3; ++frame) {
        m_World->Update({0.1f, 0.0f});
        simObj.Update({0.1f, 0.0f});
        ExpectSamePose(simObj);
    }
    EXPECT_LT(simObj.GetGfxObj()->GetPos().y, 50.0f);
}

TEST_F(SimObjTest, GraphicsDrivenTheBodyFollowsUntilPhysicsLeadsAgain)
{
    sds::CSimObj simObj(m_Gfx.CreateObject("Cube", sds::CGfxObjPtr()), m_Body);
    simObj.SetGfxDriven(true);
    const CVector dragged(-7, 12, 4);
    simObj.GetGfxObj()->SetPos(dragged);
    simObj.GetGfxObj()->SetOrientation(CQuaternion::IDENTITY);
    // Setting the direction moves nothing by itself.
    EXPECT_NE(dragged, m_Body->GetPos());
    simObj.Update({0.0f, 0.0f});
    EXPECT_VECTOR_NEAR(dragged, m_Body->GetPos(), 1e-4f);
    ExpectSameRotation(CQuaternion::IDENTITY, m_Body->GetOrientation(), 1e-5f);

    simObj.SetGfxDriven(false);
    m_World->Update({0.1f, 0.0f});
    simObj.Update({0.1f, 0.0f});
    ExpectSamePose(simObj);
    EXPECT_LT(simObj.GetGfxObj()->GetPos().y, dragged.y);
    EXPECT_NEAR(dragged.x, simObj.GetGfxObj()->GetPos().x, 1e-3f);
}
