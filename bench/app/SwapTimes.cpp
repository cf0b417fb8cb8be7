// Preloaded into the program by bench/app/canopy_frames.sh: writes the time of
// every glXSwapBuffers, in nanoseconds of the monotonic clock, one a line, to
// the file named by SDS_SWAP_TIMES, then swaps as usual. The program itself
// is left as it is.
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace
{
using SwapFn = void (*)(Display*, GLXDrawable);

int OpenLog()
{
    const char* path = std::getenv("SDS_SWAP_TIMES");
    return path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
}
}

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static const SwapFn swap = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    static const int log = OpenLog();
    swap(display, drawable);
    if (log < 0)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%lld\n",
                                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    // One write a line keeps the file whole however the program ends.
    if (write(log, line, static_cast<size_t>(length)) < 0)
        return;
}
