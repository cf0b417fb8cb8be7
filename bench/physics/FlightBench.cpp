// The jumper's side of a whole jump, flown by script over a ground plane with
// the shipped physics files: exit, free fall, the pull and the three stages of
// the deployment, the canopy ride with its inputs, the touch-down and the
// landing. Run from the run tree (it changes there itself; --run-dir names
// another). Prints each phase or input segment as it ends (its times, heights
// and mean speeds), then one summary line per segment, each figure averaged
// over the segment's second half:
//
//   segment=<name> t=<s> h_speed=<m/s> v_speed=<m/s> glide=<ratio> turn=<deg/s>
//
// (v_speed positive downward; turn positive to the left, that is anticlockwise
// seen from above; "touchdown" gives the speeds at the first ground contact).
// Then flights of their own over flat ground, each judged by the landing judge
// with the shipped table: a full flare (both toggles down) from hands-up
// flight begun when the feet are that high over the ground (0: no flare), into
// a head-on wind of a wind region,
//
//   flare height=<m> wind=<m/s> h_speed=<m/s> v_speed=<m/s> landing=<verdict>
//
// (the speeds the judge classified), every menu canopy size at the menu's
// default exit weight and the smallest at the heaviest, the largest at the
// lightest, hands up after an opening from free fall (the means of the last
// 10 s of 40 s; settle_s is the time from the opening until the sink stays
// within 10 % of that mean),
//
//   size ft2=<ft²> lb=<lb> h_speed=<m/s> v_speed=<m/s> turn=<deg/s> settle_s=<s>
//
// and the best verdict of each wind's flares (best_flare_landing_wind_<m/s>=).
// Last realtime_ratio, simulated seconds per wall-clock second of the whole
// jump's stepping. The body's telemetry goes to data.csv beside it. Exits with
// 1 when a value turns non-finite, 2 when a flight never lands, 3 on an error.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/DataLog.h"
#include "core/ILogMgr.h"
#include "core/ResourceMgr.h"
#include "core/WallClock.h"
#include "physics/IPhyJumper.h"
#include "physics/PhyMgr.h"
#include "physics/flight/ICanopyRideState.h"
#include "physics/flight/IDeploymentState.h"
#include "physics/flight/IExitState.h"
#include "physics/flight/ILandingState.h"
#include "physics/flight/PhyJumper.h"
#include "sound/DummySndMgr.h"
#include "support/CanopyFlight.h"
#include "support/JudgedLanding.h"

namespace {

const float kPi = 3.14159265f;

// Times (s) and heights (m) of the script; each can be given as --name=value.
struct CScript
{
    float m_ExitHeight = 3000.0f;
    float m_ExitSpeed = 30.0f;
    float m_Hang = 0.5f;           // at the door before letting go
    float m_PullHeight = 1000.0f;
    float m_PilotChuteOut = 0.7f;  // after the pull: the pilot chute takes the bag out
    float m_CanopyOut = 1.4f;      // the canopy comes out of the bag
    float m_SliderDown = 2.4f;     // the canopy is inflated; the slider comes down
    float m_CanopyRide = 4.0f;     // the canopy flies
    float m_HandsUp = 20.0f;
    float m_LeftTurn = 10.0f;
    float m_FrontRisers = 10.0f;
    float m_RearRisers = 10.0f;
    float m_BothToggles = 10.0f;
    float m_BothTogglesPull = 0.5f;
    float m_DeepBrakes = 10.0f;
    float m_FlareHeight = 4.0f;    // of the body's centre
    float m_Landing = 3.0f;
    float m_TimeLimit = 1200.0f;   // no touch-down by then: the jump never lands
    float m_Telemetry = 1.0f;      // 0: no data log
    std::string m_RunDir = SDS_RUN_DIR "/bin";

    bool Parse(int argc, char** argv)
    {
        const std::map<std::string, float*> numbers = {
            {"exit-height", &m_ExitHeight},     {"exit-speed", &m_ExitSpeed},
            {"hang", &m_Hang},                  {"pull-height", &m_PullHeight},
            {"pilot-chute-out", &m_PilotChuteOut}, {"canopy-out", &m_CanopyOut},
            {"slider-down", &m_SliderDown},     {"canopy-ride", &m_CanopyRide},
            {"hands-up", &m_HandsUp},           {"left-turn", &m_LeftTurn},
            {"front-risers", &m_FrontRisers},   {"rear-risers", &m_RearRisers},
            {"both-toggles", &m_BothToggles},   {"both-toggles-pull", &m_BothTogglesPull},
            {"deep-brakes", &m_DeepBrakes},
            {"flare-height", &m_FlareHeight},   {"landing", &m_Landing},
            {"time-limit", &m_TimeLimit},       {"telemetry", &m_Telemetry}};
        for (int i = 1; i < argc; ++i)
        {
            const std::string arg = argv[i];
            const auto equals = arg.find('=');
            if (arg.compare(0, 2, "--") != 0 || equals == std::string::npos)
                return Usage(arg, numbers);
            const std::string name = arg.substr(2, equals - 2);
            const std::string value = arg.substr(equals + 1);
            if (name == "run-dir")
            {
                m_RunDir = value;
                continue;
            }
            const auto found = numbers.find(name);
            char* end = nullptr;
            const float number = found == numbers.end() ? 0.0f : std::strtof(value.c_str(), &end);
            if (found == numbers.end() || end == value.c_str() || *end || !std::isfinite(number))
                return Usage(arg, numbers);
            *found->second = number;
        }
        return true;
    }

    static bool Usage(const std::string& arg, const std::map<std::string, float*>& numbers)
    {
        std::fprintf(stderr, "bench_flight: cannot read '%s'\nOptions: --run-dir=<folder>", arg.c_str());
        for (const auto& number : numbers)
            std::fprintf(stderr, " --%s=%g", number.first.c_str(), *number.second);
        std::fprintf(stderr, "\n");
        return false;
    }
};

// The log service: everything to standard error, so that the figures stand alone.
class CStdErrLogMgr : public sds::ILogMgr
{
public:
    void LogMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void LogError(const std::string& text) override { LogMessage("Error: " + text); }
    void LogWarning(const std::string& text) override { LogMessage("Warning: " + text); }
};

struct CSample
{
    float m_Time;
    float m_Height;
    float m_HSpeed;
    float m_VSpeed; // positive downward
    float m_Track;  // heading of the horizontal velocity, radians, anticlockwise from +x seen from above
};

// The samples of one phase or input segment.
struct CSegment
{
    std::string m_Name;
    std::vector<CSample> m_Samples;
};

// The angle from one heading to the next, in (-pi, pi].
float TurnBetween(float from, float to)
{
    float turn = to - from;
    while (turn > kPi)
        turn -= 2.0f * kPi;
    while (turn <= -kPi)
        turn += 2.0f * kPi;
    return turn;
}

// The means of a run of samples: speeds, glide and turn rate.
struct CMeans
{
    double m_HSpeed = 0.0;
    double m_VSpeed = 0.0;
    double m_Glide = 0.0;
    double m_Turn = 0.0; // degrees per second
};

CMeans Average(const std::vector<CSample>& samples)
{
    CMeans means;
    if (samples.empty())
        return means;
    double turn = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        means.m_HSpeed += samples[i].m_HSpeed;
        means.m_VSpeed += samples[i].m_VSpeed;
        if (i > 0)
            turn += TurnBetween(samples[i - 1].m_Track, samples[i].m_Track);
    }
    means.m_HSpeed /= double(samples.size());
    means.m_VSpeed /= double(samples.size());
    means.m_Glide = means.m_VSpeed != 0.0 ? means.m_HSpeed / means.m_VSpeed : 0.0;
    const double duration = samples.back().m_Time - samples.front().m_Time;
    means.m_Turn = duration > 0.0 ? turn / duration * 180.0 / kPi : 0.0;
    return means;
}

void PrintSummary(const std::string& name, const std::vector<CSample>& samples)
{
    const CMeans means = Average(samples);
    std::printf("segment=%s t=%.2f h_speed=%.2f v_speed=%.2f glide=%.2f turn=%.1f\n", name.c_str(),
                samples.empty() ? 0.0f : samples.front().m_Time, means.m_HSpeed, means.m_VSpeed, means.m_Glide,
                means.m_Turn);
}

// The second half of the segment's samples.
std::vector<CSample> SecondHalf(const CSegment& segment)
{
    const std::size_t half = segment.m_Samples.size() / 2;
    return std::vector<CSample>(segment.m_Samples.begin() + std::ptrdiff_t(half), segment.m_Samples.end());
}

class CFlight
{
public:
    CFlight(const CScript& script, physics::CPhyMgr& world, physics::IPhyJumper& jumper)
        : m_Script(script), m_World(world), m_Jumper(jumper), m_Step(world.GetMaxTimeStep())
    {
        m_Jumper.SetCollisionCallback([this](const physics::IPhyCollisionEvent& event) {
            if (event.m_Point.y < 1.0f)
                m_Touched = true;
        });
    }

    // Simulated seconds per wall-clock second of the jump's stepping.
    double GetRealtimeRatio() const { return m_RealtimeRatio; }

    // Flies the jump; the exit code.
    int Run()
    {
        const std::uint64_t start = sds::GetWallClockMs();
        const int result = Fly();
        const double wall = double(sds::GetWallClockMs() - start) / 1000.0;
        if (result != 0)
            return result;
        for (const char* name : {"freefall", "canopy_hands_up", "canopy_left_turn", "canopy_front_risers",
                                 "canopy_rear_risers", "canopy_both_toggles", "canopy_deep_brakes", "flare"})
        {
            std::vector<CSample> samples;
            for (const CSegment& segment : m_Segments)
                if (segment.m_Name == name)
                    samples = SecondHalf(segment);
            PrintSummary(name, samples);
        }
        PrintSummary("touchdown", {m_TouchDown});
        m_RealtimeRatio = wall > 0.0 ? m_Time / wall : 0.0;
        return 0;
    }

private:
    int Fly()
    {
        physics::PhyJumperStates::IExitState& exit = *m_Jumper.GetExitState();
        m_Jumper.SwitchToExitState();
        exit.SetPos({0.0f, m_Script.m_ExitHeight, 0.0f});
        exit.SetOrientation(sds::CQuaternion::IDENTITY);
        exit.SetVelocity({m_Script.m_ExitSpeed, 0.0f, 0.0f});
        Begin("exit");
        if (!Until([this](float t) { return t >= m_Script.m_Hang; }))
            return m_Error;

        m_Jumper.SwitchToFreeFallState();
        Begin("freefall");
        if (!Until([this](float) { return m_Jumper.GetPos().y <= m_Script.m_PullHeight; }))
            return m_Error;

        m_Jumper.SwitchToDeploymentState();
        Begin("deployment");
        const float pull = m_Time;
        physics::PhyJumperStates::IDeploymentState& deployment = *m_Jumper.GetDeploymentState();
        for (float stage : {m_Script.m_PilotChuteOut, m_Script.m_CanopyOut, m_Script.m_SliderDown})
        {
            if (!Until([&](float t) { return t >= pull + stage; }))
                return m_Error;
            deployment.NextStage();
        }
        if (!Until([&](float t) { return t >= pull + m_Script.m_CanopyRide; }))
            return m_Error;

        m_Jumper.SwitchToCanopyRideState();
        physics::PhyJumperStates::ICanopyRideState& canopy = *m_Jumper.GetCanopyRideState();
        const struct
        {
            const char* m_Name;
            float m_Duration;
            float m_Toggles[2];
            float m_FrontRisers;
            float m_RearRisers;
        } segments[] = {
            {"canopy_hands_up", m_Script.m_HandsUp, {0.0f, 0.0f}, 0.0f, 0.0f},
            {"canopy_left_turn", m_Script.m_LeftTurn, {1.0f, 0.0f}, 0.0f, 0.0f},
            {"canopy_front_risers", m_Script.m_FrontRisers, {0.0f, 0.0f}, 1.0f, 0.0f},
            {"canopy_rear_risers", m_Script.m_RearRisers, {0.0f, 0.0f}, 0.0f, 1.0f},
            {"canopy_both_toggles", m_Script.m_BothToggles, {m_Script.m_BothTogglesPull, m_Script.m_BothTogglesPull},
             0.0f, 0.0f},
            {"canopy_deep_brakes", m_Script.m_DeepBrakes, {1.0f, 1.0f}, 0.0f, 0.0f},
            {"canopy_approach", m_Script.m_TimeLimit, {0.0f, 0.0f}, 0.0f, 0.0f},
        };
        const auto low = [this] { return m_Jumper.GetPos().y <= m_Script.m_FlareHeight || m_Touched; };
        for (const auto& segment : segments)
        {
            canopy.SetLeftToggle(segment.m_Toggles[0]);
            canopy.SetRightToggle(segment.m_Toggles[1]);
            canopy.SetLeftFrontRiser(segment.m_FrontRisers);
            canopy.SetRightFrontRiser(segment.m_FrontRisers);
            canopy.SetLeftRearRiser(segment.m_RearRisers);
            canopy.SetRightRearRiser(segment.m_RearRisers);
            Begin(segment.m_Name);
            const float begin = m_Time;
            if (!Until([&](float t) { return t >= begin + segment.m_Duration || low(); }))
                return m_Error;
            if (low())
                break;
        }

        canopy.SetLeftToggle(1.0f);
        canopy.SetRightToggle(1.0f);
        Begin("flare");
        if (!Until([this](float) { return m_Touched; }))
            return m_Error;

        m_Jumper.GetLandingState()->SetLandingMode(1);
        m_Jumper.SwitchToLandingState();
        Begin("landing");
        const float touchDown = m_Time;
        if (!Until([&](float t) { return t >= touchDown + m_Script.m_Landing; }))
            return m_Error;
        EndPhase();
        return 0;
    }

    void Begin(const std::string& name)
    {
        EndPhase();
        m_Segments.push_back({name, {}});
    }

    // The phase or segment that ends, over all its samples.
    void EndPhase()
    {
        if (m_Segments.empty() || m_Segments.back().m_Samples.empty())
            return;
        const std::vector<CSample>& samples = m_Segments.back().m_Samples;
        const CMeans means = Average(samples);
        std::printf("phase=%s t=%.2f..%.2f height=%.1f..%.1f h_speed=%.2f v_speed=%.2f glide=%.2f turn=%.1f\n",
                    m_Segments.back().m_Name.c_str(), samples.front().m_Time, samples.back().m_Time,
                    samples.front().m_Height, samples.back().m_Height, means.m_HSpeed, means.m_VSpeed, means.m_Glide,
                    means.m_Turn);
    }

    // Steps until `done` holds at a step's end; false, with m_Error set, when a
    // value turns non-finite or the time runs out first.
    template <class F>
    bool Until(F done)
    {
        while (!done(m_Time))
        {
            if (m_Time > m_Script.m_TimeLimit)
            {
                std::fprintf(stderr, "bench_flight: the jump never landed: no touch-down within %.0f s\n",
                             m_Script.m_TimeLimit);
                m_Error = 2;
                return false;
            }
            const sds::CVector before = m_Jumper.GetVelocity();
            const bool touched = m_Touched;
            StepOnce();
            const sds::CVector position = m_Jumper.GetPos();
            const sds::CVector velocity = m_Jumper.GetVelocity();
            if (!position.IsFinite() || !velocity.IsFinite() || !std::isfinite(m_Jumper.GetOrientation().Norm()))
            {
                std::fprintf(stderr, "bench_flight: the body's %s turned non-finite at t=%.3f in %s\n",
                             position.IsFinite() ? "velocity" : "position", m_Time, m_Segments.back().m_Name.c_str());
                m_Error = 1;
                return false;
            }
            const CSample sample = Sample(position, velocity);
            m_Segments.back().m_Samples.push_back(sample);
            if (m_Touched && !touched)
            {
                // The speeds that met the ground, before the contact stopped them.
                m_TouchDown = Sample(position, before);
                m_TouchDown.m_Track = sample.m_Track;
            }
        }
        return true;
    }

    void StepOnce()
    {
        // One frame of one step; the data log's rows are keyed by the frame's time.
        const std::uint64_t steps = physics::CPhyMgr::GetStepCount();
        sds::CTiming frame;
        frame.m_Elapsed = m_Step;
        frame.m_Global = m_Time + m_Step;
        while (physics::CPhyMgr::GetStepCount() == steps)
            m_World.Update(frame);
        m_Time += m_Step * float(physics::CPhyMgr::GetStepCount() - steps);
    }

    CSample Sample(const sds::CVector& position, const sds::CVector& velocity) const
    {
        return {m_Time, position.y, std::hypot(velocity.x, velocity.z), -velocity.y, std::atan2(-velocity.z, velocity.x)};
    }

    const CScript& m_Script;
    physics::CPhyMgr& m_World;
    physics::IPhyJumper& m_Jumper;
    const float m_Step;
    float m_Time = 0.0f;
    bool m_Touched = false;
    int m_Error = 0;
    CSample m_TouchDown{};
    std::vector<CSegment> m_Segments;
    double m_RealtimeRatio = 0.0;
};

// The verdicts of the shipped judge table from the best to the worst: its
// landings, then its crashes, each in the table's order.
std::vector<std::string> VerdictsBestFirst()
{
    const xml::CNodePtr table = xml::LoadXmlFile("../conf/collision.conf")->GetChild("Collision");
    std::vector<std::string> verdicts;
    xml::ForEachChild(*table, "Landing", [&](const xml::CNodePtr& row) {
        verdicts.push_back(row->GetAttribute("Type")->GetValue() + " Landing");
    });
    xml::ForEachChild(*table, "Crash", [&](const xml::CNodePtr& row) {
        verdicts.push_back(row->GetAttribute("Type")->GetValue() + " Crash");
    });
    return verdicts;
}

// A full flare begun when the feet are `height` over the ground (0: none),
// from hands-up flight into a head-on wind; prints its line and gives the
// verdict, empty when the flight never lands.
std::string Flare(float height, float wind)
{
    CCanopyFlight::CSetup setup;
    setup.m_HeadWind = wind;
    setup.m_Height = 60.0f;
    CCanopyFlight flight(setup);
    CJudgedLanding judge(flight);
    const auto landed = [&judge] { return !judge.GetVerdict().empty(); };
    if (height > 0.0f)
    {
        flight.FlyUntil([&] { return landed() || flight.FeetHeight() <= height; }, 120.0f);
        flight.SetPulls(CCanopyFlight::CPulls::Toggles(1.0f, 1.0f));
    }
    flight.FlyUntil(landed, 120.0f);
    const sds::CVector v = judge.GetTouchDownVelocity();
    std::printf("flare height=%g wind=%g h_speed=%.2f v_speed=%.2f landing=%s\n", height, wind,
                std::hypot(v.x, v.z), std::fabs(v.y), landed() ? judge.GetVerdict().c_str() : "none");
    return judge.GetVerdict();
}

// Hands-up flight under a canopy of that size (m²) and exit weight (kg) after an opening; prints its line.
void FlySize(float size, float weight)
{
    CCanopyFlight::CSetup setup;
    setup.m_CanopySize = size;
    setup.m_ExitWeight = weight;
    CCanopyFlight flight(setup, true);
    flight.Fly(40.0f);
    const CCanopyFlight::CMeans means = flight.Means(-10.0f);
    std::printf("size ft2=%.0f lb=%.0f h_speed=%.2f v_speed=%.2f turn=%.1f settle_s=%.1f\n", size / 0.09290304f,
                weight / 0.45359237f, means.m_HSpeed, means.m_VSpeed, means.m_Turn, flight.SettleTime(0.1f, 10.0f));
}

// The shipped configuration's "Jumper" element.
xml::CNodePtr JumperConfig()
{
    return xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds")->GetChild("Jumper");
}

// The menu's values of a "PhyParam" of the shipped configuration, in its order.
std::vector<float> MenuValues(const std::string& name)
{
    const xml::CNodePtr config = JumperConfig();
    std::vector<float> values;
    xml::ForEachChild(*config, "PhyParam", [&](const xml::CNodePtr& row) {
        if (row->GetAttribute("Name")->GetValue() == name)
            values.push_back(row->GetAttribute("Value")->GetValue<float>());
    });
    return values;
}

// The flare and size tables.
void FlyTables()
{
    const std::vector<std::string> verdicts = VerdictsBestFirst();
    const auto rank = [&verdicts](const std::string& verdict) {
        return std::find(verdicts.begin(), verdicts.end(), verdict) - verdicts.begin();
    };
    std::map<float, std::string> best;
    for (float wind : {0.0f, 3.6f, 5.8f})
        for (float height : {0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 8.0f, 10.0f, 12.0f})
        {
            const std::string verdict = Flare(height, wind);
            if (best.count(wind) == 0 || rank(verdict) < rank(best[wind]))
                best[wind] = verdict;
        }

    const xml::CNodePtr defaults = JumperConfig()->GetChild("Defaults");
    const float weight = defaults->GetAttribute("ExitWeight")->GetValue<float>();
    const std::vector<float> sizes = MenuValues("CanopySize");
    const std::vector<float> weights = MenuValues("ExitWeight");
    for (float size : sizes)
        FlySize(size, weight);
    FlySize(*std::min_element(sizes.begin(), sizes.end()), *std::max_element(weights.begin(), weights.end()));
    FlySize(*std::max_element(sizes.begin(), sizes.end()), *std::min_element(weights.begin(), weights.end()));

    std::printf("best_flare_landing_wind_3.6=%s\n", best[3.6f].c_str());
    std::printf("best_flare_landing_wind_0=%s\n", best[0.0f].c_str());
}

} // namespace

int main(int argc, char** argv)
{
    CScript script;
    if (!script.Parse(argc, argv))
        return 3;
    if (chdir(script.m_RunDir.c_str()) != 0)
    {
        std::fprintf(stderr, "bench_flight: cannot change to the run tree '%s': %s\n", script.m_RunDir.c_str(),
                     std::strerror(errno));
        return 3;
    }
    CStdErrLogMgr log;
    sds::CResourceMgr resources;
    try
    {
        const xml::CNodePtr physics = resources.LoadXml("../data/physics/physics.xml")->GetChild("Physics");
        const xml::CNodePtr materials = resources.LoadXml("../conf/materials.conf")->GetChild("Materials");
        std::shared_ptr<physics::CPhyMgr> world = physics::CPhyMgr::Create(physics, materials);
        world->SetLogCallbacks([&log](const std::string& text) { log.LogMessage(text); },
                               [&log](const std::string& text) { log.LogWarning(text); },
                               [&log](const std::string& text) { log.LogError(text); });
        world->SetJumperFactory(&physics::CPhyJumper::Create);
        world->CreateGroundPlane();
        int result = 0;
        double ratio = 0.0;
        {
            const std::shared_ptr<physics::IPhyJumper> jumper =
                world->CreateJumper("Jumper", script.m_Telemetry != 0.0f, 0, {0.0f, script.m_PullHeight, 0.0f}, sds::CQuaternion::IDENTITY,
                                    0.0f, 0.0f, "", "", true);
            CFlight flight(script, *world, *jumper);
            result = flight.Run();
            ratio = flight.GetRealtimeRatio();
        }
        std::ofstream csv("data.csv");
        sds::GetDataLog("main").WriteCsv(csv);
        if (!csv)
        {
            std::fprintf(stderr, "bench_flight: could not write data.csv\n");
            return 3;
        }
        if (result != 0)
            return result;
        world.reset();
        sds::CDummySndMgr sound;
        FlyTables();
        std::printf("realtime_ratio=%.0f\n", ratio);
        return 0;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "bench_flight: %s\n", e.what());
        return 3;
    }
}
