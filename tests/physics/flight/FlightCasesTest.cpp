// How the shipped canopy flies: the shipped physics, curves, menu and judge
// table (../data, ../conf of the run tree), flown headless by fixed pulls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/XmlFile.h"
#include "sound/DummySndMgr.h"
#include "support/CanopyFlight.h"
#include "support/CapturingLogMgr.h"
#include "support/DiskResourceMgr.h"
#include "support/JudgedLanding.h"
#include "support/MessageCapture.h"

using Pulls = CCanopyFlight::CPulls;
using sds::CVector;

namespace {

const float kLbPerKg = 1.0f / 0.45359237f;
const float kFt2PerM2 = 1.0f / 0.09290304f;

// The drop-zone menu's values of a "PhyParam" of the shipped configuration.
std::vector<float> MenuValues(const std::string& name)
{
    CMessageCapture quiet;
    std::vector<float> values;
    xml::ForEachChild(*xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds")->GetChild("Jumper"), "PhyParam",
                      [&](const xml::CNodePtr& row) {
                          if (row->GetAttribute("Name")->GetValue() == name)
                              values.push_back(row->GetAttribute("Value")->GetValue<float>());
                      });
    return values;
}

float MenuDefault(const std::string& name)
{
    CMessageCapture quiet;
    return xml::LoadXmlFile("../conf/conf.xml")
        ->GetChild("sds")
        ->GetChild("Jumper")
        ->GetChild("Defaults")
        ->GetAttribute(name)
        ->GetValue<float>();
}

class FlightCasesTest : public ::testing::Test
{
protected:
    // Hands up for 8 s from high above the ground, then `pulls` held for 14 s:
    // the means of their last 7 s.
    static CCanopyFlight::CMeans Steady(const Pulls& pulls, const CCanopyFlight::CSetup& base = {})
    {
        CCanopyFlight::CSetup setup = base;
        setup.m_Height = 1000.0f;
        CCanopyFlight flight(setup);
        EXPECT_TRUE(flight.Fly(8.0f));
        flight.SetPulls(pulls);
        EXPECT_TRUE(flight.Fly(14.0f));
        return flight.Means(-7.0f);
    }

    // Hands up from 25 m over flat ground into a head wind, both toggles fully
    // down once the feet are `height` over the ground (0: never), judged by
    // the landing judge with the shipped table.
    static std::string Flare(const std::string& conversion, float wind, float height, CVector* touchDown = nullptr)
    {
        CCanopyFlight::CSetup setup;
        setup.m_InputConversion = conversion;
        setup.m_HeadWind = wind;
        setup.m_Height = 25.0f;
        CCanopyFlight flight(setup);
        CJudgedLanding judge(flight);
        const auto landed = [&judge] { return !judge.GetVerdict().empty(); };
        if (height > 0.0f)
        {
            flight.FlyUntil([&] { return landed() || flight.FeetHeight() <= height; }, 60.0f);
            flight.SetPulls(Pulls::Toggles(1.0f, 1.0f));
        }
        EXPECT_TRUE(flight.FlyUntil(landed, 60.0f)) << "no touch-down";
        if (touchDown)
            *touchDown = judge.GetTouchDownVelocity();
        return judge.GetVerdict();
    }

    static float Glide(const CCanopyFlight::CMeans& means) { return means.m_HSpeed / means.m_VSpeed; }

    CMessageCapture m_Quiet;
    CCapturingLogMgr m_Log;
    CDiskResourceMgr m_Resources;
    sds::CDummySndMgr m_Sound;
};

} // namespace

TEST_F(FlightCasesTest, HandsUpTurnsRisersAndBrakesFlyAsAStudentCanopy)
{
    const CCanopyFlight::CMeans handsUp = Steady(Pulls());
    EXPECT_GT(handsUp.m_HSpeed, 8.0f);
    EXPECT_LT(handsUp.m_HSpeed, 10.0f);
    EXPECT_GT(handsUp.m_VSpeed, 2.8f);
    EXPECT_LT(handsUp.m_VSpeed, 3.6f);
    EXPECT_GT(Glide(handsUp), 2.5f);
    EXPECT_LT(Glide(handsUp), 3.4f);
    EXPECT_LT(std::fabs(handsUp.m_Turn), 2.0f);

    const struct
    {
        const char* what;
        Pulls pulls;
        // Each against hands-up flight: forward and down speed, as shares of it.
        float hMin, hMax, vMin, vMax;
        int glide; // -1 steeper, +1 flatter, 0 either
        float turnMin, turnMax; // degrees a second, + to the left
    } cases[] = {
        {"full left toggle", Pulls::Toggles(1, 0), 0.5f, 1.0f, 1.05f, 1.6f, -1, 25.0f, 90.0f},
        {"full right toggle", Pulls::Toggles(0, 1), 0.5f, 1.0f, 1.05f, 1.6f, -1, -90.0f, -25.0f},
        {"front risers", Pulls::FrontRisers(1), 1.03f, 1.4f, 1.25f, 2.0f, -1, -2.0f, 2.0f},
        {"rear risers", Pulls::RearRisers(1), 0.8f, 0.99f, 0.6f, 0.95f, +1, -2.0f, 2.0f},
        {"both toggles half down", Pulls::Toggles(0.5f, 0.5f), 0.55f, 0.9f, 0.8f, 1.05f, -1, -2.0f, 2.0f},
        // Deep brakes: half the speed, no more sink.
        {"deep brakes", Pulls::Toggles(1, 1), 0.35f, 0.6f, 0.7f, 1.02f, -1, -2.0f, 2.0f},
    };
    std::vector<CCanopyFlight::CMeans> flown;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const CCanopyFlight::CMeans means = Steady(c.pulls);
        flown.push_back(means);
        EXPECT_GE(means.m_HSpeed, c.hMin * handsUp.m_HSpeed);
        EXPECT_LE(means.m_HSpeed, c.hMax * handsUp.m_HSpeed);
        EXPECT_GE(means.m_VSpeed, c.vMin * handsUp.m_VSpeed);
        EXPECT_LE(means.m_VSpeed, c.vMax * handsUp.m_VSpeed);
        if (c.glide != 0)
        {
            EXPECT_GT(c.glide * (Glide(means) - Glide(handsUp)), 0.05f) << "glide " << Glide(means);
        }
        EXPECT_GE(means.m_Turn, c.turnMin);
        EXPECT_LE(means.m_Turn, c.turnMax);
    }
    // Left and right are mirror images.
    EXPECT_NEAR(flown[0].m_Turn, -flown[1].m_Turn, 0.05f * flown[0].m_Turn);
    EXPECT_NEAR(flown[0].m_VSpeed, flown[1].m_VSpeed, 0.1f);
    EXPECT_NEAR(flown[0].m_HSpeed, flown[1].m_HSpeed, 0.1f);
}

TEST_F(FlightCasesTest, EveryMenuCanopyAndWeightFliesSteadySoonAfterTheOpening)
{
    const float weight = MenuDefault("ExitWeight");
    const std::vector<float> sizes = MenuValues("CanopySize");
    const std::vector<float> weights = MenuValues("ExitWeight");
    ASSERT_GE(sizes.size(), 6u);
    ASSERT_GE(weights.size(), 3u);
    std::vector<std::pair<float, float>> cases = {{MenuDefault("CanopySize"), weight}};
    for (float size : sizes)
        for (float mass : weights)
            cases.emplace_back(size, mass);

    // Each from an opening in free fall, 40 s hands up.
    CCanopyFlight::CMeans reference;
    for (std::size_t i = 0; i < cases.size(); ++i)
    {
        const auto [size, mass] = cases[i];
        SCOPED_TRACE(std::to_string(int(std::lround(size * kFt2PerM2))) + " ft² at " +
                     std::to_string(int(std::lround(mass * kLbPerKg))) + " lb");
        CCanopyFlight::CSetup setup;
        setup.m_CanopySize = size;
        setup.m_ExitWeight = mass;
        CCanopyFlight flight(setup, true);
        ASSERT_TRUE(flight.Fly(40.0f));

        // Flying forward and down from 3 s after the opening on, upright at the end.
        for (const CCanopyFlight::CSample& sample : flight.Samples())
            if (sample.m_Time >= flight.Opened() + 3.0f)
            {
                ASSERT_GT(std::hypot(sample.m_Velocity.x, sample.m_Velocity.z), 3.0f) << sample.m_Time;
                ASSERT_GT(-sample.m_Velocity.y, 1.0f) << sample.m_Time;
            }
        EXPECT_GT((flight.Body().GetOrientation() * CVector::UNIT_Y).y, 0.9f);
        EXPECT_LE(flight.SettleTime(0.1f, 10.0f), 3.0f);

        const CCanopyFlight::CMeans means = flight.Means(-10.0f);
        EXPECT_LT(std::fabs(means.m_Turn), 2.0f);
        if (i == 0)
        {
            reference = means;
            EXPECT_GT(means.m_HSpeed, 8.0f);
            EXPECT_LT(means.m_HSpeed, 10.0f);
            continue;
        }
        // The speeds grow with the square root of the wing loading.
        const float expected = std::sqrt(mass / size / (weight / cases.front().first));
        EXPECT_NEAR(expected, means.m_HSpeed / reference.m_HSpeed, 0.08f * expected);
        EXPECT_NEAR(expected, means.m_VSpeed / reference.m_VSpeed, 0.08f * expected);
    }
}

TEST_F(FlightCasesTest, AFlareAtTheRightHeightLandsAndOneFarFromItCrashes)
{
    const std::set<std::string> standingUp = {"StandUp Landing", "Running Landing"};
    const std::set<std::string> landing = {"StandUp Landing", "Running Landing", "PLF Landing"};
    const float any = 1e9f;
    const struct
    {
        const char* conversion; // the shipped default when empty
        float wind;             // head on, m/s
        float height;           // of the feet when the flare begins, m (0: none)
        const std::set<std::string>* verdicts; // none: a crash
        float maxForward;       // m/s over the ground at the touch-down
    } cases[] = {
        {"", 0.0f, 0.0f, nullptr, any},
        {"", 0.0f, 1.0f, nullptr, any},
        {"", 0.0f, 3.0f, &landing, any},
        {"", 0.0f, 12.0f, nullptr, any},
        {"", 3.6f, 0.0f, nullptr, any},
        {"", 3.6f, 2.0f, &standingUp, 2.5f},
        {"", 3.6f, 12.0f, nullptr, any},
        // A student's flare lands from a band of heights 1.5 m deep, and at
        // walking pace in the middle of it into the wind.
        {"Student", 0.0f, 1.5f, nullptr, any},
        {"Student", 0.0f, 2.5f, &landing, any},
        {"Student", 0.0f, 4.0f, &landing, any},
        {"Student", 0.0f, 8.0f, nullptr, any},
        {"Student", 3.6f, 0.5f, nullptr, any},
        {"Student", 3.6f, 1.0f, &standingUp, any},
        {"Student", 3.6f, 1.5f, &standingUp, 2.5f},
        {"Student", 3.6f, 2.5f, &standingUp, 2.5f},
        {"Student", 3.6f, 8.0f, nullptr, any},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.conversion) + " wind " + std::to_string(c.wind) + " flare at " +
                     std::to_string(c.height));
        CVector touchDown;
        const std::string verdict = Flare(c.conversion, c.wind, c.height, &touchDown);
        const float forward = std::hypot(touchDown.x, touchDown.z);
        const std::string speeds = " at " + std::to_string(forward) + " / " + std::to_string(-touchDown.y) + " m/s";
        if (c.verdicts)
            EXPECT_EQ(1u, c.verdicts->count(verdict)) << verdict << speeds;
        else
            EXPECT_NE(std::string::npos, verdict.find(" Crash")) << verdict << speeds;
        EXPECT_LT(forward, c.maxForward) << speeds;
    }
}

TEST_F(FlightCasesTest, AJumpStartedUnderCanopyFliesSteadyAtOnceAndFlaresToALanding)
{
    // The first preset of the drop-zone menu, begun under canopy over flat
    // ground into its wind, flown hands up, then flared 2 m up.
    CMessageCapture quiet;
    std::map<std::string, std::string> preset;
    const xml::CNodePtr first = xml::LoadXmlFile("../conf/presets.xml")->GetChild("Presets")->GetChild("Preset");
    xml::ForEachChild(*first, "Info", [&](const xml::CNodePtr& row) {
        preset[row->GetAttribute("Name")->GetValue()] = row->GetValue();
    });
    ASSERT_EQ("Into the wind (Up wind)", preset["Wind direction"]);
    CCanopyFlight::CSetup setup;
    xml::ForEachChild(*xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds")->GetChild("Configuration"), "InputType",
                      [&](const xml::CNodePtr& row) {
                          if (row->GetAttribute("Name")->GetValue() == preset["Input type"])
                              setup.m_InputConversion = row->GetAttribute("Value")->GetValue();
                      });
    ASSERT_FALSE(setup.m_InputConversion.empty()) << preset["Input type"];
    setup.m_HeadWind = std::stof(preset["Wind strength"]);
    setup.m_ExitWeight = std::stof(preset["Exit weight"]);
    setup.m_CanopySize = std::stof(preset["Canopy size"]);
    setup.m_Height = std::stof(preset["Altitude"]);
    CCanopyFlight flight(setup);
    CJudgedLanding judge(flight);
    ASSERT_TRUE(flight.Fly(12.0f));
    EXPECT_LE(flight.SettleTime(0.1f, 8.0f), 3.0f);
    EXPECT_LT(std::fabs(flight.Means(-8.0f).m_Turn), 2.0f);

    const auto landed = [&judge] { return !judge.GetVerdict().empty(); };
    ASSERT_TRUE(flight.FlyUntil([&] { return landed() || flight.FeetHeight() <= 2.0f; }, 60.0f));
    ASSERT_FALSE(landed());
    flight.SetPulls(Pulls::Toggles(1.0f, 1.0f));
    ASSERT_TRUE(flight.FlyUntil(landed, 60.0f));
    const CVector touchDown = judge.GetTouchDownVelocity();
    EXPECT_TRUE(judge.GetVerdict() == "StandUp Landing" || judge.GetVerdict() == "Running Landing")
        << judge.GetVerdict() << " at " << std::hypot(touchDown.x, touchDown.z) << " / " << -touchDown.y << " m/s";
}
