#include "WorldFixture.h"

#include "core/XmlException.h"
#include "physics/BoxActor.h"
#include "physics/ScriptWindRegion.h"
#include "physics/WindRegion.h"
#include "physics/sdk/IActor.h"
#include "support/HostileScripts.h"
#include "physics/sdk/IShape.h"

using physics::CScriptWindRegion;
using physics::CWindRegion;
using sds::CVector;
namespace sdk = physics::sdk;

namespace {

std::string Region(const std::string& attributes, const std::string& shape = "Position=\"0, 0, 0\" Size=\"10, 10, 10\"",
                   const std::string& children = "")
{
    return "<Region " + attributes + "><Shape " + shape + " />" + children + "</Region>";
}

// A scripted region of 20 m around the origin, its radii 3, 4 and 5 m out.
std::string ScriptRegion(const std::string& script)
{
    return "<Region Name=\"Field\"><Shape Position=\"0, 0, 0\" Size=\"20, 20, 20\" />"
           "<Radius Name=\"1\" Position=\"3, 0, 0\" /><Radius Name=\"2\" Position=\"0, 4, 0\" />"
           "<Radius Name=\"3\" Position=\"0, 0, 5\" /><Function><![CDATA[" +
           script + "]]></Function></Region>";
}

class WindTest : public WorldTest
{
protected:
    std::shared_ptr<physics::IWindRegion> Make(const std::string& xml)
    {
        return m_World->GetWindMgr().CreateRegion(Xml(xml));
    }

    int ErrorsContaining(const std::string& part) const
    {
        int count = 0;
        for (const std::string& e : m_Errors)
            count += e.find(part) != std::string::npos;
        return count;
    }
};

} // namespace

TEST_F(WindTest, PlainRegionsBlowInsideTheirBox)
{
    auto region = Make(Region("Direction=\"2, 0, 0\" Speed=\"3\"", "Position=\"10, 0, 0\" Size=\"4, 2, 2\""));
    ASSERT_TRUE(std::dynamic_pointer_cast<CWindRegion>(region));
    EXPECT_FALSE(std::dynamic_pointer_cast<CScriptWindRegion>(region));
    const std::pair<CVector, CVector> cases[] = {
        {{10, 0, 0}, {6, 0, 0}},   // the direction is not normalised
        {{12, 1, -1}, {6, 0, 0}},  // on the faces
        {{8, -1, 1}, {6, 0, 0}},
        {{12.01f, 0, 0}, {0, 0, 0}},
        {{10, 1.01f, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, region->GetWind(c.first)) << sds::VectorToString(c.first);
    region->Update({0.1f, 1.0f}); // nothing to do

    EXPECT_EQ(CVector::ZERO, Make(Region(""))->GetWind(CVector::ZERO)); // no direction, no speed

    // A random speed stays below the speed and changes from one reading to the next.
    float lowest = 10.0f, highest = 0.0f;
    for (int i = 0; i < 20; ++i)
    {
        const float speed = Make(Region("Direction=\"1, 0, 0\" Speed=\"10\"", "Position=\"0, 0, 0\" Size=\"2, 2, 2\"",
                                        "<RandomSpeed />"))
                                ->GetWind(CVector::ZERO)
                                .x;
        lowest = std::min(lowest, speed);
        highest = std::max(highest, speed);
    }
    EXPECT_GE(lowest, 0.0f);
    EXPECT_LT(highest, 10.0f);
    EXPECT_LT(lowest, highest);

    EXPECT_THROW(Make("<Region Speed=\"1\" />"), xml::CNoNodeException);
}

TEST_F(WindTest, TheRegionsTriggerBoxFollowsItsSettings)
{
    auto region = std::static_pointer_cast<CWindRegion>(Make(Region("Direction=\"1, 0, 0\" Speed=\"5\"")));
    sdk::IActor* actor = region->GetActor();
    ASSERT_TRUE(actor);
    EXPECT_FALSE(actor->IsDynamic());
    EXPECT_EQ(region.get(), actor->GetUserData());
    const sdk::IShape& box = *actor->GetShapes()[0];
    EXPECT_EQ(sdk::SF_TRIGGER_ENABLE | sdk::SF_VISUALIZATION, box.GetFlags());
    EXPECT_VECTOR_NEAR(CVector(5, 5, 5), box.GetDimensions(), 1e-6f);

    region->Load(Xml(Region("Direction=\"0, 1, 0\" Speed=\"2\"", "Position=\"0, 50, 0\" Size=\"2, 4, 6\"")));
    EXPECT_EQ(actor, region->GetActor());
    EXPECT_VECTOR_NEAR(CVector(1, 2, 3), box.GetDimensions(), 1e-6f);
    EXPECT_VECTOR_NEAR(CVector(0, 50, 0), actor->GetGlobalPosition(), 1e-6f);
    EXPECT_EQ(CVector(0, 2, 0), region->GetWind({0, 51, 0}));

    // A body in the box gathers the region's wind through the world's trigger reports.
    m_World->GetWindMgr().GetRegions().push_back(region);
    auto body = std::make_shared<CRecordingBody>();
    physics::CreateBoxActor(*body, Xml("<Shape Dimensions=\"0.5, 0.5, 0.5\" Position=\"0, 0, 0\" Mass=\"1\" />"),
                            Xml("<Actor LinearDamping=\"0\" AngularDamping=\"0\" InitialVelocity=\"0, 0, 0\" />"),
                            {0, 50, 0});
    m_World->AddMovingBody(body);
    Frames(20);
    EXPECT_GT(body->GetActor()->GetLinearVelocity().y, 0.1f); // the updraft pushes it up
    m_World->GetWindMgr().GetRegions().clear();
}

TEST_F(WindTest, TheManagerSumsItsRegionsUpToTheStrongestWind)
{
    physics::CWindMgr& wind = static_cast<physics::CWindMgr&>(m_World->GetWindMgr());
    EXPECT_EQ(30.0f, wind.GetMaxWindStrength());

    const std::string two = "<Wind Enabled=\"true\">" + Region("Direction=\"1, 0, 0\" Speed=\"20\"") +
                            Region("Direction=\"0, 0, 1\" Speed=\"5\"", "Position=\"100, 0, 0\" Size=\"2, 2, 2\"") +
                            Region("Direction=\"1, 0, 0\" Speed=\"20\"", "Position=\"4, 0, 0\" Size=\"10, 10, 10\"") +
                            "</Wind>";
    wind.LoadRegions(Xml(two));
    ASSERT_EQ(3u, wind.GetRegions().size());
    EXPECT_EQ(CVector(20, 0, 0), wind.GetWind({-4, 0, 0}));   // one region
    EXPECT_EQ(CVector(30, 0, 0), wind.GetWind({0, 0, 0}));    // 40 m/s capped at 30, same direction
    EXPECT_EQ(CVector(0, 0, 5), wind.GetWind({100, 0, 0}));
    EXPECT_EQ(CVector::ZERO, wind.GetWind({0, 100, 0}));

    for (const char* off : {"<Wind Enabled=\"false\"><Region><Shape Position=\"0,0,0\" Size=\"1,1,1\" /></Region></Wind>",
                            "<Wind Enabled=\"true\" />"})
    {
        wind.LoadRegions(Xml(two));
        wind.LoadRegions(Xml(off));
        EXPECT_TRUE(wind.GetRegions().empty()) << off;
        EXPECT_EQ(CVector::ZERO, wind.GetWind(CVector::ZERO));
    }
}

TEST_F(WindTest, ScriptedRegionsAskTheirScript)
{
    auto region = Make(ScriptRegion("function CalculateForce() return (Pos - FieldCenter) * 5 end"));
    ASSERT_TRUE(std::dynamic_pointer_cast<CScriptWindRegion>(region));
    EXPECT_EQ(CVector(5, 10, 0), region->GetWind({1, 2, 0}));
    EXPECT_EQ(CVector(0, 0, 30), region->GetWind({0, 0, 10}));  // 50 m/s capped at 30, on the face
    EXPECT_EQ(CVector::ZERO, region->GetWind({0, 0, 10.5f}));   // outside the box
    region->Update({0.1f, 1.0f}); // the script has no "Update": nothing happens
    EXPECT_TRUE(m_Errors.empty());

    // The radii, the time and what CalculateForce is told.
    auto radii = Make(ScriptRegion("function CalculateForce()\n"
                                   "  return CVector(Radius1, Radius2, Radius3) + Radius3Pos + Velocity + Acceleration\n"
                                   "end"));
    EXPECT_EQ(CVector(3, 4, 10), radii->GetWind(CVector::ZERO));
    auto timed = Make(ScriptRegion("function Update() t = Time * 10 + DeltaTime end\n"
                                   "function CalculateForce() return CVector(t or -1, 0, 0) end"));
    EXPECT_EQ(CVector(-1, 0, 0), timed->GetWind(CVector::ZERO));
    timed->Update({0.5f, 2.0f});
    EXPECT_EQ(CVector(20.5f, 0, 0), timed->GetWind(CVector::ZERO));
}

// A script marked constant is asked once per update, at the box's centre.
TEST_F(WindTest, ConstantScriptsAreAskedOncePerUpdate)
{
    auto region = std::static_pointer_cast<CScriptWindRegion>(
        Make(ScriptRegion("-- CONSTANT_FUNCTION --\ncalls = 0\n"
                          "function CalculateForce() calls = calls + 1 return CVector(calls, 0, 0) + Pos end")));
    EXPECT_TRUE(region->IsConstant());
    EXPECT_EQ(CVector(1, 0, 0), region->GetWind({5, 5, 5}));
    EXPECT_EQ(CVector(1, 0, 0), region->GetWind({-5, 0, 0}));
    region->Update({0.1f, 1.0f});
    EXPECT_EQ(CVector(2, 0, 0), region->GetWind({5, 5, 5}));
    EXPECT_EQ(CVector::ZERO, region->GetWind({50, 0, 0}));
}

// A script that fails is reported once and its region blows no wind; the
// program goes on.
TEST_F(WindTest, AFailingScriptIsReportedOnceAndBlowsNoWind)
{
    const std::pair<const char*, const char*> scripts[] = {
        {"function CalculateForce() error('boom') end", "boom"},
        {"function CalculateForce() return 5 end", "Wind region 'Field': its script failed"},
        {"function CalculateForce() while true do end end", "script stopped"},
        {"function CalculateForce( return end", "expected near 'return'"},
        {"function Update() error('late') end function CalculateForce() return CVector(1, 0, 0) end", "late"},
    };
    for (const auto& script : scripts)
    {
        m_Errors.clear();
        auto region = std::static_pointer_cast<CScriptWindRegion>(Make(ScriptRegion(script.first)));
        region->Update({0.1f, 1.0f});
        EXPECT_EQ(CVector::ZERO, region->GetWind({1, 1, 1})) << script.first;
        EXPECT_EQ(CVector::ZERO, region->GetWind({2, 1, 1})) << script.first;
        region->Update({0.1f, 1.0f});
        EXPECT_TRUE(region->HasFailed()) << script.first;
        EXPECT_EQ(1u, m_Errors.size()) << script.first;
        EXPECT_EQ(1, ErrorsContaining(script.second)) << script.first << ": " << (m_Errors.empty() ? "" : m_Errors[0]);
    }

    // A formula that gives no number at one point blows nothing there, and says so once.
    m_Errors.clear();
    auto region = Make(ScriptRegion("function CalculateForce() return CVector(1 / Pos.x, 0, 0) end"));
    EXPECT_EQ(CVector::ZERO, region->GetWind(CVector::ZERO));
    EXPECT_EQ(CVector::ZERO, region->GetWind(CVector::ZERO));
    EXPECT_EQ(CVector(0.5f, 0, 0), region->GetWind({2, 0, 0}));
    EXPECT_EQ(1u, m_Errors.size());

    EXPECT_THROW(Make("<Region><Shape Position=\"0,0,0\" Size=\"1,1,1\" /><Function>x = 1</Function></Region>"),
                 xml::CNoNodeException); // no radii
}

// A scene flies with the user's force functions: whatever one does, its
// region is switched off with one line naming it and why, and the flight goes on.
TEST_F(WindTest, HostileScriptsSwitchTheirRegionOff)
{
    for (const CHostileScript& script : HostileScripts())
    {
        m_Errors.clear();
        {
            auto region = std::static_pointer_cast<CScriptWindRegion>(Make(ScriptRegion(HostileForceFunction(script))));
            region->Update({0.1f, 1.0f});
            // Every particle asks in every step: many queries a frame.
            for (int i = 0; i < 200 && !region->HasFailed(); ++i)
                region->GetWind({static_cast<float>(i % 20) - 10.0f, 0, 0});
            region->Update({0.1f, 1.1f});
            EXPECT_EQ(CVector::ZERO, region->GetWind({1, 1, 1})) << script.m_What;
            EXPECT_TRUE(region->HasFailed()) << script.m_What;
        } // its state closes: no finalizer holds it
        ASSERT_EQ(1u, m_Errors.size()) << script.m_What;
        EXPECT_EQ(0u, m_Errors[0].find("Wind region 'Field': its script failed")) << m_Errors[0];
        EXPECT_NE(std::string::npos, m_Errors[0].find(script.m_Message)) << script.m_What << ": " << m_Errors[0];
    }
}

// The budget is renewed by every update and by every step of the world, in
// which every body asks again: a script that takes a little of each keeps
// blowing; asked more often than its budget allows, it is switched off. A
// region without a name is named by its place.
TEST_F(WindTest, ARegionsBudgetIsRenewedByUpdatesAndSteps)
{
    const std::string text = "function CalculateForce() for i = 1, 200000 do end return CVector(1, 0, 0) end";
    const std::string unnamed = "<Region><Shape Position=\"0, 5, 0\" Size=\"20, 20, 20\" />"
                                "<Radius Name=\"1\" Position=\"3, 0, 0\" /><Radius Name=\"2\" Position=\"0, 4, 0\" />"
                                "<Radius Name=\"3\" Position=\"0, 0, 5\" /><Function>" + text + "</Function></Region>";
    auto region = std::static_pointer_cast<CScriptWindRegion>(Make(unnamed));
    // Together each loop takes more than the budget, twice over.
    for (int frame = 0; frame < 60; ++frame)
    {
        region->Update({0.1f, 0.1f * frame});
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(CVector(1, 0, 0), region->GetWind({0, 0, 0})) << frame;
    }
    for (int step = 0; step < 60; ++step)
    {
        Frames(1, 0.05f);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(CVector(1, 0, 0), region->GetWind({0, 0, 0})) << step;
    }
    EXPECT_FALSE(region->HasFailed());
    for (int i = 0; i < 1000 && !region->HasFailed(); ++i)
        region->GetWind({0, 0, 0});
    EXPECT_TRUE(region->HasFailed());
    ASSERT_EQ(1u, m_Errors.size());
    EXPECT_EQ("Wind region at 0,5,0: its script failed and it blows no wind from now on: script stopped: it ran for "
              "more than 20 ms in one frame, the most a scene's script may take",
              m_Errors[0]);
}
