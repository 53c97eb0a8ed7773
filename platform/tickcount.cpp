#include "tickcount.h"

#include <cerrno>
#include <ctime>

namespace plat {

namespace {

// Milliseconds of the monotonic clock, which like the tick count starts near boot and
// never steps back when the wall clock is set.
class MonotonicTickSource : public TickSource {
public:
    std::uint32_t tickCount() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        const std::uint64_t ms = std::uint64_t(ts.tv_sec) * 1000u + std::uint64_t(ts.tv_nsec) / 1000000u;
        return static_cast<std::uint32_t>(ms);  // the low 32 bits, as the counter wraps
    }
    void sleepMs(unsigned ms) override {
        timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
        }
    }
};

TickSource* g_installed = nullptr;

}  // namespace

TickSource& tickSource() {
    static MonotonicTickSource clock;
    return g_installed ? *g_installed : clock;
}

TickSource* setTickSource(TickSource* source) {
    TickSource* previous = g_installed;
    g_installed = source;
    return previous;
}

}  // namespace plat
