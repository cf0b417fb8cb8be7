#pragma once

#include <csignal>

namespace sds {

// SIGINT and SIGTERM as a request to end the program the way closing its
// window does: the engine ends the frame loop on its next frame, and the
// settings and profiles are written as on any normal end. A second signal
// before that ends the program at once, as it would without this.
class CQuitSignals
{
public:
    // Installs the handlers; the destructor puts the earlier ones back and
    // forgets a signal that came.
    CQuitSignals();
    ~CQuitSignals();
    CQuitSignals(const CQuitSignals&) = delete;
    CQuitSignals& operator=(const CQuitSignals&) = delete;

    // The signal that asked the program to end, 0 while none has.
    static int GetReceived();

private:
    struct sigaction m_OldInterrupt;
    struct sigaction m_OldTerminate;
};

} // namespace sds
