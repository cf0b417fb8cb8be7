// The default drop zone's load and teardown through the graphics manager, on
// a GL window (under a virtual screen of its own when there is no display).
// Run from the run tree's bin folder with no arguments. Each round loads the
// zone, puts the level's camera at the zone's "Camera" facing its "Target"
// and gives the pagers their first update, then tears the zone down. Prints
// each round's times, the first (cold) load, then the medians. Then the whole
// level as the game mode loads it (the zone, the physics, the level's objects
// and the first jump, with the tests' jump preset) and its teardown, the
// physics mod included, timed the same way:
//
//   zone_first_load_seconds=<s>
//   zone_load_seconds=<s>
//   zone_teardown_seconds=<s>
//   level_load_seconds=<s>
//   level_teardown_seconds=<s>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/ResourceMgr.h"
#include "core/WallClock.h"
#include "core/XmlFile.h"
#include "graphics/ICamera.h"
#include "graphics/ogre/OgreGfxMgr.h"
#include "level/LevelStack.h"
#include "support/OgreBenchEngine.h"
#include "scene/ogre/OgreZoneLoader.h"
#include "scene/BenchServices.h"

namespace {

const int kRounds = 5;
const char* const kConfig = "../conf/conf.xml";
const char* const kZone = "../data/Skorvel/HomeField.dz";

double Seconds(std::uint64_t start)
{
    return static_cast<double>(sds::GetWallClockMs() - start) / 1000.0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Run()
{
    CZoneBenchGraphics bench(kConfig);
    wrappers::COgreGfxMgr& graphics = bench.m_Graphics;

    const xml::CNodePtr zone = xml::LoadXmlFile(kZone)->GetChild("scene");
    const sds::CVector eye = zone->GetChild("Camera")->GetAttribute("Pos")->GetValue<sds::CVector>();
    const sds::CVector target = zone->GetChild("Target")->GetAttribute("Position")->GetValue<sds::CVector>();

    std::vector<double> loads, teardowns;
    for (int round = 0; round < kRounds; ++round) {
        std::uint64_t start = sds::GetWallClockMs();
        std::shared_ptr<sds::ILevelResourceLoader> loaded = graphics.LoadZone(zone, [](const std::string&, float) {});
        sds::ICamera* camera = graphics.GetCamera();
        camera->SetPos(eye);
        camera->LookAt(target);
        graphics.UpdateCamera(sds::CTiming());
        loaded->Update(sds::CTiming());
        loads.push_back(Seconds(start));

        start = sds::GetWallClockMs();
        loaded.reset();
        teardowns.push_back(Seconds(start));
        std::printf("round=%d load=%.3f teardown=%.3f\n", round + 1, loads.back(), teardowns.back());
    }
    std::printf("zone_first_load_seconds=%.3f\n", loads.front());
    std::printf("zone_load_seconds=%.3f\n", Median(loads));
    std::printf("zone_teardown_seconds=%.3f\n", Median(teardowns));

    CQuietLog log;
    CLevelStack level;
    level.SetDropZone(kZone);
    std::vector<double> levelLoads, levelTeardowns;
    for (int round = 0; round < kRounds; ++round) {
        std::uint64_t start = sds::GetWallClockMs();
        level.Load();
        levelLoads.push_back(Seconds(start));

        start = sds::GetWallClockMs();
        level.Unload();
        levelTeardowns.push_back(Seconds(start));
        std::printf("level round=%d load=%.3f teardown=%.3f\n", round + 1, levelLoads.back(), levelTeardowns.back());
    }
    std::printf("level_load_seconds=%.3f\n", Median(levelLoads));
    std::printf("level_teardown_seconds=%.3f\n", Median(levelTeardowns));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchOnADisplay("bench_zone", argc, argv, Run);
}
