#include "beep.h"

#include "platform/x11desktop.h"

#include <cstdio>
#include <unistd.h>

namespace plat {

namespace {

// Linux has no message sounds; the desktop's bell is the nearest thing: the X display's
// bell where the program runs on X11, otherwise the bell of the terminal it runs in.
// Without either the beep is silent, as on a machine without sound.
class DesktopBeep : public Beep {
public:
    void messageBeep(unsigned) override {
        if (Display* display = qtX11Display()) {
            ringX11Bell(display);
            return;
        }
        if (isatty(STDERR_FILENO)) {
            std::fputc('\a', stderr);
            std::fflush(stderr);
        }
    }
};

Beep* g_installed = nullptr;

}  // namespace

Beep& beep() {
    static DesktopBeep desktop;
    return g_installed ? *g_installed : desktop;
}

Beep* setBeep(Beep* beep) {
    Beep* previous = g_installed;
    g_installed = beep;
    return previous;
}

}  // namespace plat
