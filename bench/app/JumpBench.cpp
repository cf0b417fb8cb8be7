// The whole default jump through the game mode with every level mod, the
// physics and the jumper, over the in-memory graphics (no rendering): the
// shipped drop zone and jump preset, flown from the aircraft's door to the
// touch-down by the shipped keys at 60 frames a simulated second. Five jumps,
// each after a restart; prints each jump's figures (also per second of the
// processor's time, which a busy machine moves less) and, last, the median:
//   jump_realtime_ratio=<simulated seconds per wall second>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <vector>

#include "jumper/ExitPlaneState.h"
#include "level/JumpWorld.h"
#include "support/MessageCapture.h"

int main()
{
    if (chdir(SDS_RUN_DIR "/bin") != 0) {
        std::cerr << "cannot enter the run tree " SDS_RUN_DIR "/bin\n";
        return 1;
    }
    CMessageCapture quiet;
    CJumpWorld world;
    world.Start();
    std::vector<double> ratios;
    for (int jump = 1; jump <= 5; ++jump) {
        if (jump == 1)
            world.Jump();
        else
            world.Restart();
        // The whole jump: from the aircraft's door, whatever the lesson's own start.
        const sds::CJumper* jumper = world.Jumper();
        if (!jumper || jumper->GetCurrentState() != jumper->GetExitPlaneState()) {
            std::cerr << "jump " << jump << " does not start in the aircraft at its door\n";
            return 1;
        }
        const double simulatedBefore = world.SimulatedSeconds();
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t startCpu = std::clock();
        std::string failure;
        if (!world.FlyJump(failure)) {
            std::cerr << "jump " << jump << " failed: " << failure << "\n";
            return 1;
        }
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double cpu = double(std::clock() - startCpu) / CLOCKS_PER_SEC;
        const double simulated = world.SimulatedSeconds() - simulatedBefore;
        ratios.push_back(simulated / wall);
        std::printf("jump %d: %.1f s simulated in %.3f s: %.2f ms per simulated second, %.0f x real time "
                    "(%.0f x per processor second)\n",
                    jump, simulated, wall, 1000.0 * wall / simulated, simulated / wall, simulated / cpu);
        world.m_Log.m_Lines.clear();
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("jump_realtime_ratio=%.0f\n", ratios[ratios.size() / 2]);
    return 0;
}
