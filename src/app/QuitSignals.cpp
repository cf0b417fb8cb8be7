#include "app/QuitSignals.h"

namespace sds {

namespace {

volatile std::sig_atomic_t g_Received = 0;

extern "C" void OnQuitSignal(int signal)
{
    g_Received = signal;
}

} // namespace

CQuitSignals::CQuitSignals()
{
    g_Received = 0;
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // The next signal takes the default way out, should the program hang.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &m_OldInterrupt);
    sigaction(SIGTERM, &action, &m_OldTerminate);
}

CQuitSignals::~CQuitSignals()
{
    sigaction(SIGINT, &m_OldInterrupt, nullptr);
    sigaction(SIGTERM, &m_OldTerminate, nullptr);
    g_Received = 0;
}

int CQuitSignals::GetReceived()
{
    return g_Received;
}

} // namespace sds
