#pragma once
// One program run as a process of its own, measured from outside: wall time, processor
// time and peak resident memory, as the benchmarks compare whole programs.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct MeasuredRun {
    int status = -1;  // exit status; -1 when killed, 127 when it could not be started
    double seconds = 0;
    double cpuSeconds = 0;  // user and system: steadier than wall time on a busy machine
    long peakKiB = 0;
};

// Runs command with standard input and output redirected to the files named (none: kept).
inline MeasuredRun runMeasured(const QStringList& command, const QString& stdinPath = {},
                               const QString& stdoutPath = {}) {
    std::vector<QByteArray> storage;
    for (const QString& part : command)
        storage.push_back(part.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& part : storage)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    const QByteArray in = stdinPath.toLocal8Bit();
    const QByteArray out = stdoutPath.toLocal8Bit();

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!in.isEmpty())
            dup2(open(in.constData(), O_RDONLY), STDIN_FILENO);
        if (!out.isEmpty())
            dup2(open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    MeasuredRun result;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0)
        return result;
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakKiB = usage.ru_maxrss;
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return result;
}
