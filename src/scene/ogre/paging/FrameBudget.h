#pragma once

#include <functional>

namespace Forests {

// The time the pagers of a zone may spend on building and releasing pages in
// one frame, shared by all of them. A frame's first step is always allowed,
// so that the work moves on however long one step takes; later steps only
// while the time spent since the frame began is below the budget.
class FrameBudget
{
public:
    // Milliseconds since some fixed point.
    typedef std::function<double()> Clock;

    explicit FrameBudget(double milliseconds, Clock clock = Clock());

    void startFrame();
    // Whether one more step fits in this frame.
    bool hasRoom() const;
    // A step was taken, in the budget or not.
    void countStep() { ++m_Steps; }

private:
    double m_Budget;
    Clock m_Clock;
    double m_FrameStart = 0;
    int m_Steps = 0;
};

} // namespace Forests
