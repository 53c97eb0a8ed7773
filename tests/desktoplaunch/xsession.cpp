#include "xsession.h"

#include "tests/fixtures/windowmanagerready.h"

#include <csignal>
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
    return windowManagerManages(m_display.c_str());
}
