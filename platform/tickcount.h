#pragma once
// The system tick count (GetTickCount): milliseconds since start-up in 32 bits, wrapping
// after about 49.7 days, and the 1 ms sleep that waits on it. Tests install a settable
// source whose clock moves only when it is told to or when the program sleeps.
#include <cstdint>

namespace plat {

class TickSource {
public:
    virtual ~TickSource() = default;
    virtual std::uint32_t tickCount() = 0;
    // Blocks the calling thread for about ms milliseconds.
    virtual void sleepMs(unsigned ms) = 0;
};

// A clock that starts where it is set and advances by exactly the time slept.
class SettableTickSource : public TickSource {
public:
    explicit SettableTickSource(std::uint32_t start = 0) : m_now(start) {}
    std::uint32_t tickCount() override { return m_now; }
    void sleepMs(unsigned ms) override {
        m_now += ms;  // wraps as the real counter does
        ++m_sleeps;
    }
    void set(std::uint32_t now) { m_now = now; }
    int sleeps() const { return m_sleeps; }

private:
    std::uint32_t m_now;
    int m_sleeps = 0;
};

// The source in use: the installed one, otherwise the monotonic clock.
TickSource& tickSource();
// Installs a source (nullptr: back to the clock); answers the one it replaces. Not owned.
TickSource* setTickSource(TickSource* source);

}  // namespace plat
