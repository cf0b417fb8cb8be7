#include <gtest/gtest.h>

#include <unistd.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include <AL/al.h>

#include "JumpWorld.h"
#include "app/Profile.h"
#include "app/ProfileMgr.h"
#include "physics/PhyMgr.h"
#include "physics/sdk/IScene.h"
#include "sound/openal/OpenALSndMgr.h"
#include "sound/openal/SndMgrFactory.h"
#include "support/OpenALSources.h"

namespace {

// Heap memory in use, in bytes.
long HeapBytes()
{
    return static_cast<long>(mallinfo2().uordblks);
}

// Resident memory of this process, in bytes.
long ResidentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// What a level holds that a restart must not pile up.
struct CLevelCounts
{
    std::size_t Nodes, Entities, Actors;
    bool operator==(const CLevelCounts& other) const
    {
        return Nodes == other.Nodes && Entities == other.Entities && Actors == other.Actors;
    }
};

std::ostream& operator<<(std::ostream& out, const CLevelCounts& counts)
{
    return out << counts.Nodes << " nodes, " << counts.Entities << " entities, " << counts.Actors << " actors";
}

CLevelCounts Count(const CJumpWorld& world)
{
    const auto& physics = dynamic_cast<const physics::CPhyMgr&>(sds::CPhyEnabledMod::GetSingleton()->GetPhyMgr());
    return {world.m_Gfx.GetNumNodes(), world.m_Gfx.GetNumEntities(), physics.GetScene().GetActors().size()};
}

} // namespace

// A hundred jumps in a row by restart, the first flown to the touch-down, on
// the OpenAL manager over its null output.
TEST(RepeatedJumps, RestartsLeaveNothingBehind)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    CJumpWorld world([](const xml::CNodePtr& soundSystem) { return wrappers::CreateSndMgr(soundSystem); });
    const auto* openAL = dynamic_cast<const wrappers::COpenALSndMgr*>(world.m_Sound.get());
    ASSERT_NE(nullptr, openAL) << "OpenAL did not open its null output";
    world.Start();
    const int freeSources = FreeOpenALSources();
    const std::size_t sourcesInUse = openAL->GetSourcesInUse();

    world.Jump();
    ASSERT_NE(nullptr, world.Jumper());
    const CLevelCounts atStart = Count(world);
    std::string failure;
    ASSERT_TRUE(world.FlyJump(failure)) << failure;
    EXPECT_TRUE(world.m_Log.HasContaining("Collision with HSpeed="));

    long residentAt10 = 0, heapAt10 = 0;
    for (int jump = 2; jump <= 100; ++jump) {
        world.Restart();
        ASSERT_EQ(world.m_Engine->m_GameModeState, world.m_Engine->GetCurrentState()) << "jump " << jump;
        ASSERT_EQ(atStart, Count(world)) << "jump " << jump;
        if (jump == 2) {
            // The landed jump is in the profile with its landing.
            EXPECT_TRUE(world.m_Log.Has("Jump 1 is added to profile default"));
            const auto& jumps = world.m_Engine->GetProfileMgr().GetCurrentProfile()->GetJumps();
            ASSERT_EQ(1u, jumps.size());
            EXPECT_TRUE(jumps[0].GetInfo()->HasChildById("Info", "Landing type", "Name,Id"));
        }
        // A few frames of each jump, in the aircraft.
        world.Frames(5);
        // The test's own records of the log and the camera's frames are no part of the program's memory.
        world.m_Log.m_Lines.clear();
        std::vector<sds::CTiming>().swap(world.m_Gfx.GetMemCamera()->m_Updates);
        if (jump == 10) {
            residentAt10 = ResidentBytes();
            heapAt10 = HeapBytes();
        }
    }
    // Each restart recorded the jump it ended, and the profile keeps its
    // records in memory: about 14 KB of heap each (twenty-odd XML rows), and
    // as much resident. A restart itself leaves nothing: without the records
    // both figures stay flat.
    EXPECT_EQ(99u, world.m_Engine->GetProfileMgr().GetCurrentProfile()->GetJumps().size());
    const double megabyte = 1024.0 * 1024.0;
    const double resident = static_cast<double>(ResidentBytes() - residentAt10) / megabyte;
    const double heap = static_cast<double>(HeapBytes() - heapAt10) / megabyte;
    std::cout << "resident_memory_growth_jumps_10_to_100_mb=" << resident << std::endl;
    std::cout << "heap_growth_jumps_10_to_100_mb=" << heap << std::endl;
    EXPECT_LT(heap, 2.0);

    world.LeaveToMainMenu();
    EXPECT_EQ(sourcesInUse, openAL->GetSourcesInUse());
    EXPECT_EQ(freeSources, FreeOpenALSources());
}

// Memory freed in holes all over the heap stays resident until it is handed
// back: a restart hands it back, so that the holes a jump leaves do not pile
// up over a session.
TEST(RepeatedJumps, ARestartHandsFreedHeapBackToTheSystem)
{
    CJumpWorld world;
    world.Start();
    world.Jump();
    ASSERT_NE(nullptr, world.Jumper());

    // 64 MB of small blocks, written to; one in sixteen is kept, so the
    // rest are holes between them that the heap cannot shrink away.
    const std::size_t blockBytes = 4000, blocks = 16384;
    std::vector<std::unique_ptr<char[]>> heap(blocks), kept;
    for (std::unique_ptr<char[]>& block : heap) {
        block = std::make_unique<char[]>(blockBytes);
        std::fill_n(block.get(), blockBytes, '\1');
    }
    for (std::size_t i = 0; i < blocks; i += 16)
        kept.push_back(std::move(heap[i]));
    heap.clear();
    const long withHoles = ResidentBytes();

    world.Restart();
    ASSERT_EQ(world.m_Engine->m_GameModeState, world.m_Engine->GetCurrentState());
    const double returnedMb = static_cast<double>(withHoles - ResidentBytes()) / (1024.0 * 1024.0);
    EXPECT_GT(returnedMb, 40.0) << "of the 60 MB freed";
}
