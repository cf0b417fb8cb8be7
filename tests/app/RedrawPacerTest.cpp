// Which frames of a resting screen are drawn: on a change and for a while
// after, else at the idle frame time counted from the last frame drawn.

#include <cstdint>
#include <set>

#include <gtest/gtest.h>

#include "app/RedrawPacer.h"

using sds::CRedrawPacer;

TEST(RedrawPacerTest, DrawsOnAChangeAndWhileItSettlesElseAtTheIdleRate)
{
    // Frames every 10 ms from 0 on; idle frame time 250 ms, settling 100 ms.
    const struct
    {
        const char* what;
        std::set<int> changes;
        int at;
        bool drawn;
    } cases[] = {
        {"the first frame", {}, 0, true},
        {"the end of the first frame's settling", {}, 100, true},
        {"a resting frame", {}, 110, false},
        {"the last resting frame before the idle time", {}, 340, false},
        {"the idle time after the last frame drawn", {}, 350, true},
        {"the frame after an idle one", {}, 360, false},
        {"the next idle time", {}, 600, true},
        {"a change between idle frames", {480}, 480, true},
        {"the end of a change's settling", {480}, 580, true},
        {"after a change settled", {480}, 590, false},
        {"the idle time counted from the settling's last frame", {480}, 830, true},
        {"no idle frame where one was before the change", {480}, 600, false},
        {"a change while another settles", {30, 90}, 190, true},
    };
    for (const auto& c : cases) {
        CRedrawPacer pacer(250000, 100000);
        bool drawn = false;
        for (int ms = 0; ms <= c.at; ms += 10)
            drawn = pacer.IsDrawn(static_cast<std::uint64_t>(ms) * 1000 + 7000000, c.changes.count(ms) > 0);
        EXPECT_EQ(c.drawn, drawn) << c.what << " (" << c.at << " ms)";
    }
}
