// A session of a hundred jumps through the game mode over the real graphics:
// the rendering engine with the shipped drop zone (terrain and surface-object
// pages, their collision meshes baked into the physics world), every level
// mod, the physics, the jumper, and OpenAL on its null output, stepped by a
// fixed frame time of 1/60 s rather than the wall clock, nothing drawn. Each
// jump is the default lesson's kind: it starts under the open canopy 60 m over
// the ground and is flown hands up to it, two seconds there; with
// --from-aircraft it starts in the aircraft and is flown by the shipped keys
// (out of the door, let go, pull half a second later), whose long flight
// comes down less surely where it was aimed. The first starts over the middle
// of the zone; the next nine start so that they come down at nine places of
// the zone (in and among trees, the pond, the hangar, the fields, the club
// house, the runway), and so on in turn, each after a
// restart as the statistics menu's "Repeat jump". Run from the run tree (it
// goes there itself) on a display or under a virtual screen of its own.
// Prints a line a jump (where it started and came down, its verdict, the
// meshes and actors in the physics world, the resident memory and the heap in
// use), then
//   session_restarted_rss_growth_kb_per_jump=<resident KB a jump, each taken
//     just after the restart that follows the 10th and the 100th jump; the
//     restart has handed the pages the jump freed back to the system>
//   session_heap_growth_kb_per_jump=<heap in use, KB a jump from the 10th to the 100th>
//   session_rss_growth_kb_per_jump_10th_to_100th=<resident KB a jump, the 10th
//     landing's against the 100th's>
//   session_actors_after_10=<physics actors>
//   session_actors_after_100=<physics actors>
//   session_rss_growth_kb_per_jump=<resident KB a jump after the 10th: the mean
//     at the landings of jumps 91 to 100 less that of jumps 11 to 20, over the
//     80 jumps between; each ten fly every place once, and a landing's own
//     pages vary by a megabyte from place to place, so that one jump against
//     another would measure where they came down>
//   session_baked_meshes_after_10=<collision meshes in the world>
//   session_baked_meshes_after_100=<collision meshes in the world>
#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>

#include "core/Helpers.h"
#include "jumper/ObjGround.h"
#include "level/OgreJumpWorld.h"
#include "mods/PhyEnabledMod.h"
#include "physics/PhyMgr.h"
#include "physics/sdk/IScene.h"
#include "scene/HomeFieldGround.h"
#include "sound/openal/SndMgrFactory.h"
#include "support/MessageCapture.h"
#include "support/OgreBenchEngine.h"

namespace {

const int kJumps = 100;

// Where the second to the tenth jump of each ten come down (x, z): on a
// crown of the row of trees north-east of the landing area, among the trees
// south of that row, the pond, the hangar, a field under the woods of the
// hills, a field west of the runway, the club house, the runway, the
// farmland. Jumps to one place come down within metres of each other, and
// no tree stands just at the reach of the ground requests of these jumps,
// so that each asks for the same trees as the last one there.
const float kPlaces[][2] = {{350, 320}, {400, 255}, {-380, 320}, {420, -190}, {-430, 560},
                            {-450, -75}, {330, -175}, {-100, -250}, {270, -500}};
const int kPlaceCount = sizeof(kPlaces) / sizeof(kPlaces[0]);

// Metres over the ground of its place where a jump under the canopy starts,
// as the default lesson's does.
const float kCanopyStartHeight = 60.0f;

// From the aircraft: out of the door, let go, pull half a second later. Then
// hands up to the ground and two seconds there. False when there was no
// touch-down in two minutes.
bool Fly(COgreJumpWorld& world, bool fromAircraft)
{
    world.Frames(10);
    if (fromAircraft) {
        world.Tap("Space"); // out of the door
        world.Tap("Space"); // let go
        world.Frames(30);
        world.Tap("Space"); // pull
    }
    for (int frame = 0; frame < 60 * 120 && !world.TouchedDown(); ++frame)
        world.Frame();
    const bool landed = world.TouchedDown();
    world.Frames(120);
    return landed;
}

// Heap in use, in KB.
long HeapKb()
{
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

long ResidentKb()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::size_t BakedMeshes()
{
    return sds::CPhyEnabledMod::GetSingleton()->GetGround().GetMeshes().size();
}

std::size_t Actors()
{
    const auto& world = dynamic_cast<const physics::CPhyMgr&>(sds::CPhyEnabledMod::GetSingleton()->GetPhyMgr());
    return world.GetScene().GetActors().size();
}

// The preset's jumper, whose place a jump under the canopy starts from.
xml::CNodePtr PresetJumper()
{
    return sds::EngineStates::CGameModeState::GetSingleton()
        ->GetCurrentDropZone()
        ->GetWorkingTree()
        ->GetChild("scene")
        ->GetChild("Preset")
        ->GetChild("Jumper");
}

int Run(bool fromAircraft)
{
    if (chdir(SDS_RUN_DIR "/bin") != 0) {
        std::cerr << "cannot enter the run tree " SDS_RUN_DIR "/bin\n";
        return 1;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    CMessageCapture quiet;
    COgreBenchEngine engine(xml::LoadXmlFile("../conf/conf.xml")->GetChild("sds"));
    COgreJumpWorld world([](const xml::CNodePtr& soundSystem) { return wrappers::CreateSndMgr(soundSystem); },
                         LoadDefaultConfig(), engine.m_Window, engine.m_Level);
    const xml::CNodePtr aircraft = world.m_App.m_Config->GetChild("Airplane")->GetAttribute("Altitude");
    const float height = aircraft->GetValue<sds::CVector>().y;
    world.Start();
    if (!fromAircraft)
        PresetJumper()->AddAttribute("StartState", "CanopyRide");

    // Where a jump lands from where it starts, measured on the first.
    sds::CVector drift;
    // Starts the jump over its place: the first over the middle of the zone,
    // the others after a restart.
    const auto start = [&](int jump) {
        const int place = (jump - 1) % (kPlaceCount + 1) - 1;
        const float x = place < 0 ? 0.0f : kPlaces[place][0] - drift.x;
        const float z = place < 0 ? 0.0f : kPlaces[place][1] - drift.z;
        if (fromAircraft)
            aircraft->SetValue(sds::VectorToString(sds::CVector(x, height, z)));
        else
            PresetJumper()->GetAttribute("Position")->SetValue(sds::VectorToString(
                sds::CVector(x, static_cast<float>(HomeFieldGroundAt(x, z)) + kCanopyStartHeight, z)));
        if (jump == 1)
            world.Jump();
        else
            world.Restart();
    };
    long residentAt10 = 0, heapAt10 = 0, restartedAt10 = 0;
    // Resident KB summed over the landings of jumps 11 to 20 and 91 to 100.
    double residentSecondTen = 0, residentLastTen = 0;
    std::size_t meshesAt10 = 0, actorsAt10 = 0;
    for (int jump = 1; jump <= kJumps; ++jump) {
        start(jump);
        if (jump == 11)
            restartedAt10 = ResidentKb();
        const sds::CVector from = world.Jumper() ? world.Jumper()->GetPos() : sds::CVector::ZERO;
        const bool landed = Fly(world, fromAircraft);
        const sds::CVector end = world.Jumper() ? world.Jumper()->GetPos() : sds::CVector::ZERO;
        if (jump == 1)
            drift = end - from;
        const std::string type = world.Jumper() ? world.Jumper()->GetCollisionJudge()->GetLandingType() : "";
        std::printf("jump %d: from %.0f, %.0f to %.0f, %.1f, %.0f (%s) %s: %zu baked meshes, %zu actors, %ld KB resident, %ld KB heap\n",
                    jump, from.x, from.z, end.x, end.y, end.z, landed ? "landed" : "no touch-down", type.c_str(),
                    BakedMeshes(), Actors(), ResidentKb(), HeapKb());
        std::fflush(stdout);
        if (jump > 10 && jump <= 20)
            residentSecondTen += ResidentKb();
        if (jump > kJumps - 10)
            residentLastTen += ResidentKb();
        // The bench's own records of the log are no part of the program's memory.
        world.m_Log.m_Lines.clear();
        quiet.m_Messages.clear();
        quiet.m_Errors.clear();
        if (jump == 10) {
            residentAt10 = ResidentKb();
            heapAt10 = HeapKb();
            meshesAt10 = BakedMeshes();
            actorsAt10 = Actors();
        }
    }
    const double growth = (residentLastTen - residentSecondTen) / 10 / (kJumps - 20);
    const double endToEnd = static_cast<double>(ResidentKb() - residentAt10) / (kJumps - 10);
    const double heapGrowth = static_cast<double>(HeapKb() - heapAt10) / (kJumps - 10);
    // The restart after the last jump, to the place of the 11th.
    start(kJumps + 1);
    std::printf("session_restarted_rss_growth_kb_per_jump=%.1f\n",
                static_cast<double>(ResidentKb() - restartedAt10) / (kJumps - 10));
    std::printf("session_heap_growth_kb_per_jump=%.1f\n", heapGrowth);
    std::printf("session_rss_growth_kb_per_jump_10th_to_100th=%.1f\n", endToEnd);
    std::printf("session_actors_after_10=%zu\n", actorsAt10);
    std::printf("session_actors_after_100=%zu\n", Actors());
    std::printf("session_rss_growth_kb_per_jump=%.1f\n", growth);
    std::printf("session_baked_meshes_after_10=%zu\n", meshesAt10);
    std::printf("session_baked_meshes_after_100=%zu\n", BakedMeshes());
    world.LeaveToMainMenu();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    bool fromAircraft = false;
    for (int i = 1; i < argc; ++i)
        fromAircraft = fromAircraft || std::string(argv[i]) == "--from-aircraft";
    return RunBenchOnADisplay("bench_session", argc, argv, [fromAircraft] { return Run(fromAircraft); });
}
