#include "xsession.h"

#include "tests/fixtures/windowmanagerready.h"

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

// Waits (bounded) for the window manager to announce itself on the root window.
bool XSession::startWindowManager() {
    // Spawned with no signal blocked or ignored: the test process's threads may have
    // masks that a window manager's main loop must not inherit.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char* argv[] = {const_cast<char*>("openbox"), const_cast<char*>("--sm-disable"), nullptr};
    const int failed = posix_spawnp(&m_wm, "openbox", nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (failed)
        return false;
    const bool ready = windowManagerManages(m_display.c_str());
    return ready;
}


bool XSession::waitFor(const std::function<bool()>& done, const std::vector<unsigned long>& windows, int timeoutMs) {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return done();
    XSelectInput(d, DefaultRootWindow(d), PropertyChangeMask | SubstructureNotifyMask);
    for (unsigned long w : windows)
        XSelectInput(d, w, PropertyChangeMask | StructureNotifyMask);
    XSync(d, False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool ok = done();
    while (!ok) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{ConnectionNumber(d), POLLIN, 0};
        if (XPending(d) == 0 && poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        while (XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
        }
        ok = done();
    }
    XCloseDisplay(d);
    return ok;
}
