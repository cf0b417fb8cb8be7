#include "core/script/ScriptBudget.h"

#include <time.h>

namespace sds {

namespace {

// Processor time of the calling thread.
std::chrono::nanoseconds ThreadTime()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

std::string Milliseconds(CScriptBudget::CClock::duration time)
{
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(time).count()) + " ms";
}

} // namespace

constexpr std::chrono::milliseconds CScriptBudget::kSceneFrameLimit;

CScriptBudget::CScriptBudget(CClock::duration limit)
    : m_Limit(limit),
      m_Message("script stopped: it ran for more than " + Milliseconds(limit) +
                " in one frame, the most a scene's script may take")
{
}

void CScriptBudget::Start()
{
    m_WallSpent = CClock::duration::zero();
    m_ByProcessor = false;
    m_ProcessorSpent = std::chrono::nanoseconds::zero();
    if (m_InCall)
        m_ProcessorAtCallStart = ThreadTime();
}

void CScriptBudget::BeginCall()
{
    m_InCall = true;
    if (m_ByProcessor)
        m_ProcessorAtCallStart = ThreadTime();
}

void CScriptBudget::EndCall(CClock::duration wall)
{
    m_InCall = false;
    if (m_ByProcessor) {
        m_ProcessorSpent += ThreadTime() - m_ProcessorAtCallStart;
        return;
    }
    m_WallSpent += wall;
    if (m_WallSpent > m_Limit)
        CountProcessorTime();
}

bool CScriptBudget::IsSpent(CClock::duration running)
{
    if (!m_ByProcessor) {
        if (m_WallSpent + running <= m_Limit)
            return false;
        CountProcessorTime();
        return false;
    }
    std::chrono::nanoseconds spent = m_ProcessorSpent;
    if (m_InCall)
        spent += ThreadTime() - m_ProcessorAtCallStart;
    return spent > m_Limit;
}

void CScriptBudget::CountProcessorTime()
{
    m_ByProcessor = true;
    m_ProcessorSpent = std::chrono::nanoseconds::zero();
    if (m_InCall)
        m_ProcessorAtCallStart = ThreadTime();
}

} // namespace sds
