#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "FakeJudgedJumper.h"
#include "app/AppFixture.h"
#include "core/XmlFile.h"
#include "graphics/memory/MemGfxMgr.h"
#include "mods/CollisionJudge.h"
#include "mods/ForceFieldsCollisionJudge.h"
#include "mods/PhyEnabledMod.h"
#include "physics/IPhyMgr.h"
#include "support/DefaultConfig.h"
#include "support/FakeSndMgr.h"
#include "support/HostileScripts.h"

using namespace sds;
using sds::DovuvUvozeVozediza::CForceFieldsCollisionJudge;

namespace {

class CTarget : public ILevelPositions
{
public:
    std::optional<CVector> GetTargetPos() const override { return m_Pos; }
    CVector m_Pos;
};

// The force-field edition's level: its physics mod over the shipped physics
// and materials, a target at (10, 5, 0), and the shipped contact table.
class ForceFieldsJudgeTest : public ::testing::Test
{
protected:
    ForceFieldsJudgeTest() : m_App(LoadDefaultConfig())
    {
        CMessageCapture quiet;
        m_Physics = std::make_unique<CPhyEnabledMod>(
            xml::LoadXmlFile(SDS_SOURCE_DIR "/data/physics/physics.xml")->GetChild("Physics"),
            xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/materials.conf")->GetChild("Materials"));
        m_Table = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/ffcontacts.conf")->GetChild("Collision");
        m_Target->m_Pos = TargetPos;
        m_Gfx.AddLevelPositions(m_Target);
        m_Jumper.m_Body->m_Pos = CVector(10.0f, 6.0f, 0.0f);
    }

    // A judge going clears the body's callback: the old one goes before a new one comes.
    std::unique_ptr<CForceFieldsCollisionJudge> MakeJudge()
    {
        m_Judge.reset();
        return std::make_unique<CForceFieldsCollisionJudge>(
            m_Jumper, m_Table, m_Physics->GetPhyMgr(),
            [this](const std::shared_ptr<ISound>& s) { m_Kept.push_back(s); });
    }

    // A frame at 5 m/s down, then a touch of the two materials at the point.
    void Touch(const std::string& one, const std::string& two, const CVector& point)
    {
        m_Jumper.m_Body->m_Velocity = CVector(3.0f, -4.0f, 0.0f);
        if (m_Judge)
            m_Judge->Update(CTiming());
        physics::IPhyCollisionEvent event;
        event.m_FirstMaterial = m_Physics->GetPhyMgr().GetMaterialIndex(one);
        event.m_SecondMaterial = m_Physics->GetPhyMgr().GetMaterialIndex(two);
        event.m_Point = point;
        m_Jumper.m_Body->m_Callback(event);
    }

    // The record's items as "Name=value Units".
    std::vector<std::string> Record() const
    {
        const xml::CNodePtr info = m_Judge->GetCollisionInfo();
        std::vector<std::string> rows;
        for (auto it = info->GetChildrenBegin("Info"); it != info->GetChildrenEnd("Info"); ++it)
            rows.push_back(it->second->GetAttribute("Name", "") + "=" + it->second->GetValue() + " " +
                           it->second->GetAttribute("Units", ""));
        return rows;
    }

    static const CVector TargetPos;

    CCapturingLogMgr m_Log;
    CFakeApplication m_App;
    CMemGfxMgr m_Gfx;
    CFakeSndMgr m_Sound;
    std::unique_ptr<CPhyEnabledMod> m_Physics;
    std::shared_ptr<CTarget> m_Target = std::make_shared<CTarget>();
    CFakeJudgedJumper m_Jumper;
    xml::CNodePtr m_Table;
    std::vector<std::shared_ptr<ISound>> m_Kept;
    std::unique_ptr<CForceFieldsCollisionJudge> m_Judge;
};

const CVector ForceFieldsJudgeTest::TargetPos(10.0f, 5.0f, 0.0f);

// A table of one row mapping the body on the target to that function.
xml::CNodePtr RowWithFunction(const std::string& function)
{
    return ParseElement("<Collision><Landing Type=\"Hit\" MaterialOne=\"JumperBody\" MaterialTwo=\"Target\">"
                        "<Function>" + function + "</Function></Landing></Collision>");
}

} // namespace

TEST_F(ForceFieldsJudgeTest, HitOfTheTargetIsScoredByItsDistanceInSpace)
{
    const struct
    {
        CVector Offset;
        const char* Result;
        const char* Score;
        const char* Distance;
    } cases[] = {
        {{0.25f, 0.0f, 0.0f}, "Dead on.", "10", "0.25"},
        // 0.48 m across but 0.64 m higher: 0.8 m away.
        {{0.48f, 0.64f, 0.0f}, "Target reached.", "8", "0.8"},
    };
    for (const auto& c : cases) {
        m_Jumper.m_Landings.clear();
        m_Kept.clear();
        m_Judge = MakeJudge();
        // The pair is found whichever material the world names first.
        Touch("Target", "Canopy", TargetPos + c.Offset);
        const std::string message = std::string(c.Result) + " Score: " + c.Score;
        EXPECT_EQ(message, m_Judge->GetMessage());
        EXPECT_EQ("TargetHit End", m_Judge->GetLandingType());
        EXPECT_EQ(std::vector<IJudgedJumper::ELanding>{IJudgedJumper::LANDING_TELEPORT}, m_Jumper.m_Landings);
        EXPECT_EQ((std::vector<std::string>{std::string("Distance to the target center=") + c.Distance + " Distance",
                                            "Final speed=5 Speed", "Exit message=" + message + " ",
                                            std::string("Score=") + c.Score + " ",
                                            std::string("Result=") + c.Result + " "}),
                  Record());
        ASSERT_EQ(1u, m_Kept.size()) << c.Result;
        EXPECT_TRUE(m_Sound.SoundsOf("../data/DovuvUvozeVozediza/sounds/Cheer.wav").at(0)->m_Playing);
    }
}

TEST_F(ForceFieldsJudgeTest, BoundaryMissesAndOnlyTheFirstTableContactCounts)
{
    m_Judge = MakeJudge();
    EXPECT_EQ((std::vector<std::string>{"=Jump was not finished. "}), Record());

    // The ground is in no row: nothing happens, and the next contact is looked at.
    Touch("JumperBody", "Grass", CVector(0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(m_Jumper.m_Landings.empty());
    EXPECT_EQ("", m_Judge->GetLandingType());

    Touch("JumperBody", "Boundary", CVector(40.0f, 0.0f, 0.0f));
    const std::set<std::string> comments = {"Try again.", "Practice more."};
    EXPECT_EQ(1u, comments.count(m_Judge->GetMessage())) << m_Judge->GetMessage();
    EXPECT_EQ("TargetMiss End", m_Judge->GetLandingType());
    EXPECT_TRUE(m_Kept.empty());

    // A later hit of the target changes nothing.
    Touch("JumperBody", "Target", TargetPos);
    EXPECT_EQ(1u, m_Jumper.m_Landings.size());
    const std::vector<std::string> record = Record();
    ASSERT_EQ(5u, record.size());
    EXPECT_EQ("Score=0 ", record[3]);
    EXPECT_EQ("Result=Missed ", record[4]);
}

TEST_F(ForceFieldsJudgeTest, FailingFunctionsAreLoggedAndTheJumpStillEnds)
{
    const char* functions[] = {
        // The result is not set, or set to no text.
        "Score = 3",
        "CollisionResult = 5 Score = 3",
        "CollisionResult = 'x' Score = 'many'",
        "this is not Lua",
    };
    for (const char* function : functions) {
        m_Log.m_Lines.clear();
        m_Jumper.m_Landings.clear();
        m_Table = RowWithFunction(function);
        m_Judge = MakeJudge();
        Touch("JumperBody", "Target", TargetPos);
        EXPECT_TRUE(m_Log.Has("Error: Could not run script: " + m_Table->GetChild("Landing")->GetPath())) << function;
        EXPECT_TRUE(m_Log.HasContaining("Error: Error: ")) << function;
        EXPECT_EQ(1u, m_Jumper.m_Landings.size()) << function;
        EXPECT_EQ("", m_Judge->GetMessage()) << function;
        const std::vector<std::string> record = Record();
        EXPECT_EQ("Score=0 ", record.at(3)) << function;
    }
}

// The contact table is a file the user may change: whatever its functions do,
// they are refused or stopped, the jump ends, and the judge's state closes.
TEST_F(ForceFieldsJudgeTest, HostileFunctionsAreStoppedAndTheJumpStillEnds)
{
    for (const CHostileScript& script : HostileScripts()) {
        // Run once, as a scoring rule is, it ends in time.
        if (script.m_TooLongForAFrameOnly)
            continue;
        m_Log.m_Lines.clear();
        m_Jumper.m_Landings.clear();
        m_Table = RowWithFunction(std::string("<![CDATA[") + script.m_Code + " CollisionResult = 'x' Score = 1]]>");
        m_Judge = MakeJudge();
        Touch("JumperBody", "Target", TargetPos);
        EXPECT_TRUE(m_Log.Has("Error: Could not run script: " + m_Table->GetChild("Landing")->GetPath()))
            << script.m_What;
        EXPECT_TRUE(m_Log.HasContaining(script.m_Message)) << script.m_What;
        EXPECT_EQ(1u, m_Jumper.m_Landings.size()) << script.m_What;
        m_Judge.reset();
    }
}

TEST_F(ForceFieldsJudgeTest, FunctionsHaveTheTextAndMathLibraries)
{
    m_Table = RowWithFunction("CollisionResult = string.format('%s %d', table.concat({'at', 'speed'}, ' '), "
                              "math.floor(Velocity)) Score = 7");
    m_Judge = MakeJudge();
    Touch("JumperBody", "Target", TargetPos);
    EXPECT_FALSE(m_Log.HasContaining("Could not run script"));
    EXPECT_EQ("at speed 5 Score: 7", m_Judge->GetMessage());
}

TEST_F(ForceFieldsJudgeTest, AScoreThatIsNoNumberCountsZeroWithAWarningNamingTheScene)
{
    for (const char* score : {"0/0", "1/0", "-1/0"}) {
        SCOPED_TRACE(score);
        m_Log.m_Lines.clear();
        CMessageCapture quiet;
        const xml::CNodePtr file = xml::LoadXmlFromMemory(
            std::string("<Collision><Landing Type=\"Hit\" MaterialOne=\"JumperBody\" MaterialTwo=\"Target\">"
                        "<Function>CollisionResult = 'On the edge.' Score = ") +
                score + "</Function></Landing></Collision>",
            "../conf/ffcontacts.conf");
        m_Table = file->GetChild("Collision");
        m_Judge.reset();
        m_Judge = std::make_unique<CForceFieldsCollisionJudge>(m_Jumper, m_Table, m_Physics->GetPhyMgr(), nullptr,
                                                               "Rotor Valley");
        Touch("JumperBody", "Target", TargetPos);
        EXPECT_EQ("On the edge. Score: 0", m_Judge->GetMessage()) << "not \"Score: -nan\"";
        EXPECT_EQ("Score=0 ", Record().at(3)) << "nor -nan in the profile";
        EXPECT_TRUE(m_Log.HasContaining("Warning: The score function of the \"Hit"));
        EXPECT_TRUE(m_Log.HasContaining(" of ../conf/ffcontacts.conf gave "));
        EXPECT_TRUE(m_Log.HasContaining(" in the scene \"Rotor Valley\"; the jump scores 0"));
    }
}

TEST_F(ForceFieldsJudgeTest, DuplicatedAndUnknownPairsAreWarned)
{
    m_Table = ParseElement(
        "<Collision>"
        "<Landing Type=\"First\" MaterialOne=\"JumperBody\" MaterialTwo=\"Target\"/>"
        "<Landing Type=\"Second\" Name=\"Late\" MaterialOne=\"JumperBody\" MaterialTwo=\"Target,Nowhere\"/>"
        "<Landing Type=\"Third\" MaterialOne=\"Target\" MaterialTwo=\"JumperBody\"><Message>Third</Message></Landing>"
        "</Collision>");
    m_Judge = MakeJudge();
    EXPECT_TRUE(m_Log.Has("Warning: Duplicated collision to landing type mapping: JumperBody Target Late"));
    // Without "Name" the row's type names it.
    EXPECT_TRUE(m_Log.Has("Warning: Duplicated collision to landing type mapping: Target JumperBody Third"));
    // An unknown name would be the default material of the ground: its pair is skipped.
    EXPECT_TRUE(m_Log.Has("Warning: Force-field contact Late: unknown material 'Nowhere', the pair JumperBody "
                          "Nowhere is skipped"));
    Touch("JumperBody", "Grass", CVector());
    EXPECT_TRUE(m_Jumper.m_Landings.empty());

    // The later row wins; without a function the result stays empty and the score 0.
    Touch("JumperBody", "Target", TargetPos);
    EXPECT_EQ("Third End", m_Judge->GetLandingType());
    EXPECT_EQ("Third", m_Judge->GetMessage());
    const std::vector<std::string> record = Record();
    EXPECT_EQ("Score=0 ", record.at(3));
    EXPECT_EQ("Result= ", record.at(4));
}

TEST_F(ForceFieldsJudgeTest, TableFaultsAndTheJudgesLifetime)
{
    for (const char* row : {"<Landing MaterialOne=\"JumperBody\" MaterialTwo=\"Target\"/>",
                            "<Landing Type=\"X\" MaterialTwo=\"Target\"/>", "<Landing Type=\"X\" MaterialOne=\"A\"/>"}) {
        m_Table = ParseElement(std::string("<Collision>") + row + "</Collision>");
        EXPECT_THROW(MakeJudge(), xml::CNoNodeException) << row;
        EXPECT_FALSE(m_Jumper.m_Body->m_Callback) << "a judge that failed takes no contacts";
    }
    m_Table = xml::LoadXmlFile(SDS_SOURCE_DIR "/conf/ffcontacts.conf")->GetChild("Collision");
    m_Judge = MakeJudge();
    EXPECT_TRUE(m_Jumper.m_Body->m_Callback);
    m_Judge.reset();
    EXPECT_FALSE(m_Jumper.m_Body->m_Callback);
}

TEST_F(ForceFieldsJudgeTest, FactoryGivesTheEditionItsJudge)
{
    const CCollisionJudgeFactory factory = MakeCollisionJudgeFactory(nullptr);
    EXPECT_NE(nullptr,
              dynamic_cast<CForceFieldsCollisionJudge*>(factory("DovuvUvozeVozediza", m_Jumper, m_Table).get()));
    m_Physics.reset();
    EXPECT_EQ(nullptr, factory("DovuvUvozeVozediza", m_Jumper, m_Table));
    EXPECT_TRUE(m_Log.Has("Error: No physics world: the jump has no force-field judge"));
}
