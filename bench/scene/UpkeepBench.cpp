// The drop zone's own upkeep while a jumper flies across it: the default drop
// zone loaded as the game mode loads it (with the tests' jump preset) on a GL
// window, under a virtual screen of its own when there is no display. Run
// from the run tree's bin folder with no arguments.
//
// The camera, standing for the jumper, falls from the exit point and then
// flies its canopy across the zone and down to the target at a fixed frame
// time of 1/60 s. Each frame is timed from the zone's update (its pagers and
// sky) through the level's ground request for the jumper and the ground's
// baking of what it queued; nothing is drawn. Prints the slowest frames, what
// each part took at most, the frames' time on the thread's own clock (which
// leaves out the time other programs ran instead), then:
//
//   zone_upkeep_frames=<frames>
//   zone_upkeep_ms_median=<ms>
//   zone_upkeep_ms_p99=<ms>
//   zone_upkeep_ms_max=<ms>
//   zone_upkeep_frames_over_5ms=<frames>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/ResourceMgr.h"
#include "core/XmlFile.h"
#include "graphics/ICamera.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "jumper/ObjGround.h"
#include "level/LevelStack.h"
#include "scene/BenchServices.h"
#include "scene/ogre/OgreZoneLoader.h"
#include "support/OgreBenchEngine.h"

namespace {

const char* const kConfig = "../conf/conf.xml";
const float kFrame = 1.0f / 60.0f;
// Canopy flight's horizontal speed, free fall's descent (m/s).
const float kCanopySpeed = 10.0f;
const float kFreeFallSpeed = 50.0f;
// Never lower above the ground than this (m).
const float kLowest = 2.0f;
// Frames at the exit point before the flight: the zone settles as it does
// while the aircraft climbs.
const int kSettleFrames = 300;

// The flight's turning points: out of the aircraft at 4000 m, open at 1000 m,
// then the canopy across the zone, low over the woods at its edges, and in to
// the target. Each leg takes as long as the faster of the two speeds allows.
const sds::CVector kFlight[] = {
    {-700, 4000, -700}, {-500, 1000, -500}, {900, 700, -300}, {800, 500, 900},
    {-900, 250, 700},   {-700, 120, -800},  {150, 2, 50},
};

typedef std::chrono::steady_clock CClock;

// The time this thread ran: on a busy machine, without the time others ran
// instead. For telling a frame's own work from the machine's load.
double ThreadCpuMs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Ms(CClock::time_point from, CClock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct CFrame
{
    sds::CVector m_Pos;
    double m_Zone = 0;
    double m_Request = 0;
    double m_Bake = 0;
    // The thread's own time in all three.
    double m_Cpu = 0;
    double Total() const { return m_Zone + m_Request + m_Bake; }
};

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const std::size_t at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

class CFlight
{
public:
    CFlight(CLevelStack& level, wrappers::COgreGfxMgr& graphics)
        : m_Graphics(graphics), m_Zone(*level.Level()->GetLoaders().at(0)),
          m_Engine(level.Level()->GetEngineLoader()), m_Ground(level.Physics()->GetGround())
    {
    }

    // One frame with the jumper at `pos`, coming down at `descent` and heading along `heading`.
    CFrame Step(sds::CVector pos, float descent, const sds::CVector& heading)
    {
        pos.y = std::max(pos.y, GroundBelow(pos) + kLowest);
        m_Timing.m_Elapsed = kFrame;
        m_Timing.m_Global += kFrame;
        // The camera's own update first: it would take the camera back to
        // where its mode puts it.
        m_Graphics.UpdateCamera(m_Timing);
        sds::ICamera* camera = m_Graphics.GetCamera();
        camera->SetPos(pos);
        camera->LookAt(pos + heading);

        CFrame frame;
        frame.m_Pos = pos;
        const double cpuStart = ThreadCpuMs();
        const CClock::time_point start = CClock::now();
        m_Zone.Update(m_Timing);
        const CClock::time_point zone = CClock::now();
        m_Engine.RequestGround(pos, descent);
        const CClock::time_point request = CClock::now();
        m_Ground.Update(m_Timing);
        const CClock::time_point bake = CClock::now();
        frame.m_Cpu = ThreadCpuMs() - cpuStart;
        frame.m_Zone = Ms(start, zone);
        frame.m_Request = Ms(zone, request);
        frame.m_Bake = Ms(request, bake);
        return frame;
    }

    std::size_t BakedMeshes() const { return m_Ground.GetMeshes().size(); }

private:
    float GroundBelow(const sds::CVector& pos)
    {
        const float above = 5000.0f;
        return above - m_Graphics.GetDistanceBelow(sds::CVector(pos.x, above, pos.z));
    }

    wrappers::COgreGfxMgr& m_Graphics;
    sds::ILevelResourceLoader& m_Zone;
    sds::CEngineLoader& m_Engine;
    sds::CObjGround& m_Ground;
    sds::CTiming m_Timing;
};

int Run()
{
    CZoneBenchGraphics bench(kConfig);
    wrappers::COgreGfxMgr& graphics = bench.m_Graphics;
    CQuietLog log;

    CLevelStack level;
    level.SetDropZone();
    level.Load();
    CFlight flight(level, graphics);

    const sds::CVector forward(1, 0, 0);
    for (int i = 0; i < kSettleFrames; ++i)
        flight.Step(kFlight[0], 0.0f, forward);

    std::vector<CFrame> frames;
    for (std::size_t leg = 1; leg < sizeof(kFlight) / sizeof(kFlight[0]); ++leg) {
        const sds::CVector from = kFlight[leg - 1], to = kFlight[leg];
        sds::CVector across = to - from;
        across.y = 0;
        const float drop = from.y - to.y;
        const float seconds = std::max(across.Length() / kCanopySpeed, drop / kFreeFallSpeed);
        const int steps = static_cast<int>(std::ceil(seconds / kFrame));
        const sds::CVector heading = across.Length() > 0 ? across / across.Length() : forward;
        for (int i = 1; i <= steps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            frames.push_back(flight.Step(from + (to - from) * t, drop / seconds, heading));
        }
    }

    std::vector<CFrame> slowest = frames;
    std::sort(slowest.begin(), slowest.end(), [](const CFrame& a, const CFrame& b) { return a.Total() > b.Total(); });
    for (std::size_t i = 0; i < std::min<std::size_t>(10, slowest.size()); ++i) {
        const CFrame& frame = slowest[i];
        std::printf("slow frame at %.0f,%.0f,%.0f: zone=%.2f request=%.2f bake=%.2f ms\n", frame.m_Pos.x,
                    frame.m_Pos.y, frame.m_Pos.z, frame.m_Zone, frame.m_Request, frame.m_Bake);
    }
    std::vector<double> totals, zone, request, bake, cpu;
    for (const CFrame& frame : frames) {
        cpu.push_back(frame.m_Cpu);
        totals.push_back(frame.Total());
        zone.push_back(frame.m_Zone);
        request.push_back(frame.m_Request);
        bake.push_back(frame.m_Bake);
    }
    const auto over = [](const std::vector<double>& values) {
        return std::count_if(values.begin(), values.end(), [](double ms) { return ms > 5.0; });
    };
    std::printf("zone_update_ms_max=%.3f zone_update_frames_over_5ms=%ld\n", Percentile(zone, 1.0), over(zone));
    std::printf("ground_request_ms_max=%.3f ground_request_frames_over_5ms=%ld\n", Percentile(request, 1.0),
                over(request));
    std::printf("ground_bake_ms_max=%.3f ground_bake_frames_over_5ms=%ld\n", Percentile(bake, 1.0), over(bake));
    std::printf("baked_meshes=%zu\n", flight.BakedMeshes());
    std::printf("zone_upkeep_cpu_ms_max=%.3f zone_upkeep_cpu_frames_over_5ms=%ld\n", Percentile(cpu, 1.0), over(cpu));
    std::printf("zone_upkeep_frames=%zu\n", totals.size());
    std::printf("zone_upkeep_ms_median=%.3f\n", Percentile(totals, 0.5));
    std::printf("zone_upkeep_ms_p99=%.3f\n", Percentile(totals, 0.99));
    std::printf("zone_upkeep_ms_max=%.3f\n", Percentile(totals, 1.0));
    std::printf("zone_upkeep_frames_over_5ms=%ld\n", over(totals));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchOnADisplay("bench_upkeep", argc, argv, Run);
}
