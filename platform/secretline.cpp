#include "secretline.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace plat {

QString readSecretLine(const char* prompt) {
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        std::fputs(prompt, stderr);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    // Byte by byte from the descriptor: whatever follows the line stays unread for
    // whoever reads standard input next.
    std::string line;
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line += c;
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

}  // namespace plat
