#pragma once
// A private X server for tests (Xvfb), optionally with a window manager (openbox).
// Xvfb tells its display number through -displayfd once it accepts clients; openbox is
// ready once the root window names its supporting window. Absent programs: not usable.
#include <QByteArray>
#include <QStandardPaths>
#include <QString>

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

class XSession {
public:
    explicit XSession(bool withWindowManager) {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            (withWindowManager && QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()))
            return;
        m_previous = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
        m_hadDisplay = std::getenv("DISPLAY") != nullptr;
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_server = fork();
        if (m_server == 0) {
            dup2(fds[1], 3);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr);
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return;
        m_display = ":" + number;
        setenv("DISPLAY", m_display.c_str(), 1);
        if (withWindowManager && !startWindowManager())
            return;
        m_ok = true;
    }
    ~XSession() {
        for (pid_t p : {m_wm, m_server}) {
            if (p > 0) {
                kill(p, SIGTERM);
                waitpid(p, nullptr, 0);
            }
        }
        if (m_hadDisplay)
            setenv("DISPLAY", m_previous.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ok() const { return m_ok; }

private:
    bool startWindowManager();

    pid_t m_server = -1;
    pid_t m_wm = -1;
    std::string m_display;
    std::string m_previous;
    bool m_hadDisplay = false;
    bool m_ok = false;
};
