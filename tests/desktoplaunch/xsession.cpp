#include "xsession.h"

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
    Display* d = XOpenDisplay(m_display.c_str());
    if (!d)
        return false;
    // Ready once it manages a window: a probe window mapped now shows up in its client
    // list when the window manager has taken it in (bounded, for a hung manager).
    const Atom clients = XInternAtom(d, "_NET_CLIENT_LIST", False);
    const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(d, probe);
    XSync(d, False);
    const auto listed = [&] {
        Atom type;
        int format;
        unsigned long n = 0, after;
        unsigned char* data = nullptr;
        bool found = false;
        if (XGetWindowProperty(d, DefaultRootWindow(d), clients, 0, 1024, False, XA_WINDOW, &type, &format, &n,
                               &after, &data) == Success && format == 32)
            for (unsigned long k = 0; k < n; ++k)
                found = found || reinterpret_cast<const Window*>(data)[k] == probe;
        if (data)
            XFree(data);
        return found;
    };
    const bool ready = waitFor(listed);
    XDestroyWindow(d, probe);
    XSync(d, False);
    XCloseDisplay(d);
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
