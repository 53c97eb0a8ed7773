// A monotonic clock that runs SLOWCLOCK times slower, preloaded into a benchmark run
// under valgrind: the program then sees about its native time between two rows, so the
// board's frames keep the share of the work they have without valgrind and the
// instruction counts compare like the native run.
//
//   SLOWCLOCK=50 LD_PRELOAD=build/bench/scriptrunner/libslowclock.so valgrind --tool=callgrind ...
#include <dlfcn.h>

#include <cstdlib>
#include <ctime>

namespace {

using ClockFn = int (*)(clockid_t, timespec*);

ClockFn realClock = nullptr;
double factor = 1;
double start = -1;  // seconds of the first reading, the point the slow clock starts from

bool slowed(clockid_t id) { return id == CLOCK_MONOTONIC || id == CLOCK_MONOTONIC_RAW || id == CLOCK_BOOTTIME; }

}  // namespace

extern "C" int clock_gettime(clockid_t id, timespec* ts) {
    if (!realClock) {
        realClock = reinterpret_cast<ClockFn>(dlsym(RTLD_NEXT, "clock_gettime"));
        const char* f = std::getenv("SLOWCLOCK");
        factor = f ? std::atof(f) : 1;
    }
    const int result = realClock(id, ts);
    if (result != 0 || !slowed(id) || factor <= 1)
        return result;
    double t = double(ts->tv_sec) + double(ts->tv_nsec) / 1e9;
    if (start < 0)
        start = t;
    t = start + (t - start) / factor;
    ts->tv_sec = time_t(t);
    ts->tv_nsec = long((t - double(ts->tv_sec)) * 1e9);
    return result;
}
