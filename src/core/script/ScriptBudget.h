#pragma once

#include <chrono>
#include <string>

namespace sds {

// The time that the program's calls into one script may take together in a
// frame. A script that has used it up is stopped (see CScriptMgr::SetBudget).
//
// The wall clock is cheap to read and counts first. On a busy machine it also
// counts time in which the thread did not run at all; so once the wall clock
// says the budget is spent, the calls go on until they have spent it again in
// the thread's own processor time, which costs a system call to read. A
// script may so take up to twice the limit in a frame, never more.
class CScriptBudget
{
public:
    typedef std::chrono::steady_clock CClock;

    // What the script of a scene's force field may take in a frame: it is
    // asked for every particle, and the frame must go on.
    static constexpr std::chrono::milliseconds kSceneFrameLimit{20};

    explicit CScriptBudget(CClock::duration limit = kSceneFrameLimit);

    // A new frame: nothing is spent.
    void Start();
    // A call of the program into the script begins, or ended after `wall`.
    void BeginCall();
    void EndCall(CClock::duration wall);
    // True when the calls have used the budget up, with `running` of the call
    // going on. Cheap while the wall clock keeps within the limit.
    bool IsSpent(CClock::duration running = CClock::duration::zero());

    CClock::duration GetLimit() const { return m_Limit; }
    // The error text of a script stopped by this budget.
    const std::string& GetMessage() const { return m_Message; }

private:
    void CountProcessorTime();

    CClock::duration m_Limit;
    CClock::duration m_WallSpent{};
    bool m_InCall = false;
    // Counting processor time, and what the calls spent of it.
    bool m_ByProcessor = false;
    std::chrono::nanoseconds m_ProcessorSpent{};
    std::chrono::nanoseconds m_ProcessorAtCallStart{};
    std::string m_Message;
};

} // namespace sds
