// The scripted jump of the jumper's tests replayed headless (the in-memory
// graphics, the real physics world and jumper states): from the door to the
// landing, 60 frames a simulated second. Median of 5 jumps; prints its
// figures last:
//   jump_frame_us=<wall microseconds per frame>
//   jump_realtime_ratio=<simulated over wall time>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <vector>

#include "support/ScriptedJump.h"

int main()
{
    if (chdir(SDS_RUN_DIR "/bin") != 0) {
        std::cerr << "cannot enter the run tree " SDS_RUN_DIR "/bin\n";
        return 1;
    }
    std::vector<double> frameUs;
    int frames = 0;
    for (int run = 0; run < 5; ++run) {
        CScriptedJump jump;
        const auto start = std::chrono::steady_clock::now();
        const std::string failure = jump.Fly();
        const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
        if (!failure.empty()) {
            std::cerr << "the jump failed: " << failure << "\n";
            return 1;
        }
        frames = jump.m_Frames;
        frameUs.push_back(spent.count() / jump.m_Frames);
    }
    std::sort(frameUs.begin(), frameUs.end());
    const double median = frameUs[frameUs.size() / 2];
    std::cout << "jump_frames=" << frames << "\n";
    std::cout << "jump_simulated_s=" << frames / 60.0 << "\n";
    std::cout << "jump_frame_us=" << median << "\n";
    std::cout << "jump_realtime_ratio=" << (1e6 / 60.0) / median << std::endl;
    return 0;
}
