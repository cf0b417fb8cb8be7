#include "scene/ogre/paging/FrameBudget.h"

#include <chrono>

namespace Forests {

namespace {

double SteadyMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

FrameBudget::FrameBudget(double milliseconds, Clock clock)
    : m_Budget(milliseconds), m_Clock(clock ? std::move(clock) : Clock(&SteadyMs))
{
    startFrame();
}

void FrameBudget::startFrame()
{
    m_FrameStart = m_Clock();
    m_Steps = 0;
}

bool FrameBudget::hasRoom() const
{
    return m_Steps == 0 || m_Clock() - m_FrameStart < m_Budget;
}

} // namespace Forests
