#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "FakeJudgedJumper.h"
#include "app/AppFixture.h"
#include "core/XmlFile.h"
#include "graphics/memory/MemGfxMgr.h"
#include "mods/CollisionJudge.h"
#include "support/FakeSndMgr.h"

using namespace sds;

namespace {

// The target the level registers with the graphics manager.
class CTarget : public ILevelPositions
{
public:
    std::optional<CVector> GetTargetPos() const override { return m_Pos; }
    CVector m_Pos;
};

class CollisionJudgeTest : public ::testing::Test
{
protected:
    CollisionJudgeTest()
    {
        CMessageCapture quiet;
        m_Table = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/collision.conf")->GetChild("Collision");
    }

    std::unique_ptr<CCollisionJudge> MakeJudge()
    {
        return std::make_unique<CCollisionJudge>(m_Jumper, m_Table,
                                                 [this](const std::shared_ptr<ISound>& s) { m_Kept.push_back(s); });
    }

    // A frame at that velocity, then a touch at that offset from the body.
    void Touch(CCollisionJudge& judge, const CVector& velocity, const CVector& lean)
    {
        m_Jumper.m_Body->m_Velocity = velocity;
        judge.Update(CTiming());
        physics::IPhyCollisionEvent event;
        event.m_Point = m_Jumper.m_Body->m_Pos + lean;
        m_Jumper.m_Body->m_Callback(event);
    }

    CCapturingLogMgr m_Log;
    CMemGfxMgr m_Gfx;
    CFakeSndMgr m_Sound;
    CFakeJudgedJumper m_Jumper;
    xml::CNodePtr m_Table;
    std::vector<std::shared_ptr<ISound>> m_Kept;
};

const CVector Upright(0.0f, -1.0f, 0.0f);

} // namespace

TEST_F(CollisionJudgeTest, DefaultTableClassifiesTheTouchdown)
{
    const struct
    {
        CVector Velocity;
        CVector Lean;
        const char* Type;
        IJudgedJumper::ELanding State;
    } cases[] = {
        {{0.8f, -0.9f, 0.0f}, Upright, "StandUp Landing", IJudgedJumper::LANDING_NORMAL},
        // Limits are strict: 1 m/s across is too fast to stand up.
        {{1.0f, -0.5f, 0.0f}, Upright, "Running Landing", IJudgedJumper::LANDING_NORMAL},
        // A PLF is named as such but ends on the ground.
        {{3.2f, -1.0f, 0.0f}, Upright, "PLF Landing", IJudgedJumper::LANDING_CRASH},
        {{0.0f, -4.0f, 0.0f}, Upright, "Low Damage Crash", IJudgedJumper::LANDING_CRASH},
        {{0.0f, -5.0f, 0.0f}, Upright, "Medium Damage Crash", IJudgedJumper::LANDING_CRASH},
        {{0.0f, -20000.0f, 0.0f}, Upright, "Death Crash", IJudgedJumper::LANDING_CRASH},
        // Touching only 0.2 m under the body is a fall however slow.
        {{0.1f, -0.1f, 0.0f}, {0.0f, -0.2f, 0.0f}, "No Damage Crash", IJudgedJumper::LANDING_CRASH},
        // Leaning 0.5 m to any side is a fall, towards -x and -z too.
        {{0.1f, -0.1f, 0.0f}, {0.5f, -1.0f, 0.0f}, "No Damage Crash", IJudgedJumper::LANDING_CRASH},
        {{0.1f, -0.1f, 0.0f}, {-0.5f, -1.0f, 0.0f}, "No Damage Crash", IJudgedJumper::LANDING_CRASH},
        {{0.1f, -0.1f, 0.0f}, {0.0f, -1.0f, -0.5f}, "No Damage Crash", IJudgedJumper::LANDING_CRASH},
        {{0.1f, -0.1f, 0.0f}, {-0.25f, -1.0f, 0.25f}, "StandUp Landing", IJudgedJumper::LANDING_NORMAL},
    };
    for (const auto& c : cases) {
        m_Jumper.m_Landings.clear();
        auto judge = MakeJudge();
        Touch(*judge, c.Velocity, c.Lean);
        EXPECT_EQ(c.Type, judge->GetLandingType()) << c.Type << " " << c.Lean.x;
        EXPECT_EQ(std::vector<IJudgedJumper::ELanding>{c.State}, m_Jumper.m_Landings) << c.Type;
    }
}

TEST_F(CollisionJudgeTest, FirstTouchIsLoggedJudgedAndRecorded)
{
    auto target = std::make_shared<CTarget>();
    target->m_Pos = CVector(10.0f, 50.0f, 20.0f);
    m_Gfx.AddLevelPositions(target);
    m_Jumper.m_Body->m_Pos = CVector(13.0f, 1.0f, 24.0f);

    auto judge = MakeJudge();
    EXPECT_EQ("", judge->GetMessage());
    xml::CNodePtr info = judge->GetCollisionInfo();
    ASSERT_EQ(1u, info->GetChildren().size());
    EXPECT_EQ("Jump was not finished.", info->GetChild("Info")->GetValue());
    EXPECT_TRUE(info->GetChild("Info")->GetAttributes().empty());

    Touch(*judge, CVector(0.8f, -0.9f, 0.0f), CVector(0.0f, -1.0f, 0.0f));
    EXPECT_TRUE(m_Log.Has("Collision with HSpeed=0.8; VSpeed=0.9; Speed=1.20416; Lean=0,-1,0"));
    EXPECT_TRUE(m_Log.Has("Jumper0 is in StandUp Landing"));
    const std::set<std::string> comments = {"Nailed it!", "Perfectly done!"};
    EXPECT_EQ(1u, comments.count(judge->GetMessage()));
    EXPECT_TRUE(m_Log.Has(judge->GetMessage()));

    // A harder second touch changes nothing.
    Touch(*judge, CVector(0.0f, -30.0f, 0.0f), CVector(0.0f, -1.0f, 0.0f));
    EXPECT_EQ("StandUp Landing", judge->GetLandingType());
    EXPECT_EQ(1u, m_Jumper.m_Landings.size());

    // The distance ignores the heights: 3 m along x, 4 m along z.
    info = judge->GetCollisionInfo();
    std::vector<std::string> rows;
    for (auto it = info->GetChildrenBegin("Info"); it != info->GetChildrenEnd("Info"); ++it)
        rows.push_back(it->second->GetAttribute("Name")->GetValue() + "=" + it->second->GetValue() + " " +
                       it->second->GetAttribute("Units", ""));
    EXPECT_EQ((std::vector<std::string>{"Distance to target on landing=5 Distance", "Landing type=StandUp Landing ",
                                        "Landing speed=1.20416 Speed", "Landing message=" + judge->GetMessage() + " "}),
              rows);
}

TEST_F(CollisionJudgeTest, HighDamageSoundIsKeptByTheEngine)
{
    auto judge = MakeJudge();
    Touch(*judge, CVector(0.0f, -12.0f, 0.0f), CVector(0.0f, -1.0f, 0.0f));
    EXPECT_EQ("High Damage Crash", judge->GetLandingType());
    const auto sounds = m_Sound.SoundsOf("../data/Skorvel/sounds/NeckCrack.wav");
    ASSERT_EQ(1u, sounds.size());
    EXPECT_TRUE(sounds[0]->m_Playing);
    EXPECT_FALSE(sounds[0]->m_Looping);
    ASSERT_EQ(1u, m_Kept.size());
    EXPECT_EQ(sounds[0], m_Kept[0]);
    EXPECT_EQ(20.0f, m_Sound.m_Templates.back()->m_ReferenceDistance);
}

TEST_F(CollisionJudgeTest, ATableWithoutCrashRowsIsRefusedNamingItsFile)
{
    // A touch-down too fast for every landing row would get no verdict, and
    // the jumper would lie on the ground until the program is killed.
    CMessageCapture quiet;
    const xml::CNodePtr file = xml::LoadXmlFromMemory("<Collision MaxLean=\"0.3, -0.4, 0.3\"><Landing Type=\"Soft\" "
                                                      "MaxVelocity=\"1, 1\" State=\"Landing\"/></Collision>",
                                                      "../conf/collision.conf");
    m_Table = file->GetChild("Collision");
    try {
        MakeJudge();
        ADD_FAILURE() << "accepted";
    } catch (const std::exception& e) {
        EXPECT_STREQ("The landing table ../conf/collision.conf has no \"Crash\" row, so a landing too fast for every "
                     "\"Landing\" row would get no verdict.",
                     e.what());
    }
    EXPECT_FALSE(m_Jumper.m_Body->m_Callback) << "a judge that failed takes no contacts";
}

TEST_F(CollisionJudgeTest, FaultsOfTheTableAndOfTheJumper)
{
    m_Table = ParseElement("<Collision><Crash Type=\"X\" MaxSpeed=\"1\"/></Collision>");
    EXPECT_THROW(MakeJudge(), xml::CNoNodeException);
    EXPECT_FALSE(m_Jumper.m_Body->m_Callback) << "a judge that failed takes no contacts";
    m_Table = ParseElement("<Collision MaxLean=\"1,1,1\"><Crash Type=\"X\"/></Collision>");
    EXPECT_THROW(MakeJudge(), xml::CNoNodeException);

    m_Table = ParseElement("<Collision MaxLean=\"1,1,1\"><Crash Type=\"X\" MaxSpeed=\"1\"/></Collision>");
    m_Jumper.m_HasState = false;
    auto judge = MakeJudge();
    EXPECT_THROW(Touch(*judge, CVector(), CVector()), std::runtime_error);
}

TEST_F(CollisionJudgeTest, GoneJudgeTakesNoMoreContacts)
{
    auto judge = MakeJudge();
    EXPECT_TRUE(m_Jumper.m_Body->m_Callback);
    judge.reset();
    EXPECT_FALSE(m_Jumper.m_Body->m_Callback);
}

TEST_F(CollisionJudgeTest, FactoryMakesTheNormalJudgeButForTheForceFieldEdition)
{
    const CCollisionJudgeFactory factory = MakeCollisionJudgeFactory(nullptr);
    EXPECT_NE(nullptr, dynamic_cast<CCollisionJudge*>(factory("SkorvelPersonal", m_Jumper, m_Table).get()));
    // That edition's judge names materials of the level's physics world: none without it.
    EXPECT_EQ(nullptr, factory("DovuvUvozeVozediza", m_Jumper, m_Table));
}
