#include "processstart.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The program: up to the first blank outside quotes, quotes removed, backslashes kept.
QString takeProgram(const QString& line, qsizetype& i) {
    QString program;
    bool quoted = false;
    for (; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"')
            quoted = !quoted;
        else if (isBlank(c) && !quoted)
            break;
        else
            program += c;
    }
    return program;
}

// One argument after the program, by the runtime's backslash and quote rules.
QString takeArgument(const QString& line, qsizetype& i) {
    QString arg;
    bool quoted = false;
    while (i < line.size()) {
        const QChar c = line[i];
        if (isBlank(c) && !quoted)
            break;
        if (c == u'\\') {
            qsizetype n = 0;
            while (i < line.size() && line[i] == u'\\') {
                ++n;
                ++i;
            }
            if (i < line.size() && line[i] == u'"') {
                arg += QString(n / 2, u'\\');
                if (n % 2 == 1) {
                    arg += u'"';
                    ++i;
                }
            } else {
                arg += QString(n, u'\\');
            }
            continue;
        }
        if (c == u'"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
                arg += u'"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        arg += c;
        ++i;
    }
    return arg;
}

QString resolveProgram(const QString& program) {
    if (program.contains(u'/'))
        return program;
    const QFileInfo here(QDir::current(), program);
    if (here.isFile() && here.isExecutable())
        return here.absoluteFilePath();
    return QStandardPaths::findExecutable(program);
}

}  // namespace

QStringList splitCommandLine(const QString& commandLine) {
    QStringList args;
    qsizetype i = 0;
    args.append(takeProgram(commandLine, i));
    for (;;) {
        while (i < commandLine.size() && isBlank(commandLine[i]))
            ++i;
        if (i >= commandLine.size())
            break;
        args.append(takeArgument(commandLine, i));
    }
    return args;
}

bool startAndWait(const QString& commandLine, const QString& workingDir) {
    QStringList args = splitCommandLine(commandLine);
    const QString program = resolveProgram(args.first());
    if (program.isEmpty())
        return false;
    std::vector<std::string> storage;
    for (const QString& a : args)
        storage.push_back(a.toStdString());
    storage[0] = program.toStdString();
    std::vector<char*> argv;
    for (std::string& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    const std::string dir = workingDir.toStdString();

    // The child reports a failed chdir or exec through a pipe closed on exec, so a
    // program that cannot start answers false at once instead of a child exit code.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = fork();
    if (pid < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (pid == 0) {
        setsid();
        close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
        int err = 0;
        if (!dir.empty() && chdir(dir.c_str()) != 0)
            err = errno;
        else {
            execv(argv[0], argv.data());
            err = errno;
        }
        (void)!write(report[1], &err, sizeof err);
        _exit(127);
    }
    close(report[1]);
    int err = 0;
    ssize_t got;
    do
        got = read(report[0], &err, sizeof err);
    while (got < 0 && errno == EINTR);
    close(report[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return got == 0;
}

}  // namespace plat
