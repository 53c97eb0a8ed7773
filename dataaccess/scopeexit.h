#pragma once
// Runs a function when the scope is left, however it is left: the one guard of the
// data-access layer for undoing a step (a depth, a flag, statement-owned tables).
#include <utility>

namespace da {

template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : m_f(std::move(f)) {}
    ~ScopeExit() { m_f(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F m_f;
};

}  // namespace da
