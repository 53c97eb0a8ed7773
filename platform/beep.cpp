#include "beep.h"

#include <cstdio>
#include <unistd.h>

namespace plat {

namespace {

// Linux has no message sounds; the bell of the terminal the program runs in is the
// nearest thing. Without a terminal the beep is silent, as on a machine without sound.
class TerminalBeep : public Beep {
public:
    void messageBeep(unsigned) override {
        if (isatty(STDERR_FILENO)) {
            std::fputc('\a', stderr);
            std::fflush(stderr);
        }
    }
};

Beep* g_installed = nullptr;

}  // namespace

Beep& beep() {
    static TerminalBeep terminal;
    return g_installed ? *g_installed : terminal;
}

Beep* setBeep(Beep* beep) {
    Beep* previous = g_installed;
    g_installed = beep;
    return previous;
}

}  // namespace plat
