#pragma once

#include <cstdint>

namespace sds {

// Decides which frames of a screen that mostly stands still, such as the
// menus, are drawn. Drawing a frame costs far more than polling the input
// (the software renderer draws on the processor), so a frame is drawn when
// something on the screen changed and for a short while after, when effects
// of the change may still follow; otherwise only every idle frame time, so
// that a change nobody reported does not stay unseen for long.
class CRedrawPacer
{
public:
    // Microseconds.
    CRedrawPacer(std::uint64_t idleFrameTime, std::uint64_t settleTime);

    // Whether the frame at `now` (microseconds on a steady clock) is drawn;
    // `changed` says that something on the screen changed in it. The first
    // frame is drawn.
    bool IsDrawn(std::uint64_t now, bool changed);

private:
    std::uint64_t m_IdleFrameTime;
    std::uint64_t m_SettleTime;
    bool m_Started;
    std::uint64_t m_LastChange;
    std::uint64_t m_LastDrawn;
};

} // namespace sds
