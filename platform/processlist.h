#pragma once
// The running processes as the Windows tool-help snapshot lists them: each process's
// executable file name without folder, and its identifier. Read from /proc; the name is
// the last component of the executable's path (not the kernel's 15-character name), so
// long names such as BreedingValueTransfer.exe match.
#include <QString>
#include <vector>

namespace plat {

struct ProcessEntry {
    QString exeName;
    qint64 pid = 0;
};

// In ascending order of identifier. Throws std::runtime_error with the system's text
// when the process table cannot be read.
std::vector<ProcessEntry> runningProcesses(const QString& procRoot = QStringLiteral("/proc"));

// The executable file name of one /proc/PID folder: the target of exe, else the first
// word of cmdline, else comm; empty for a process that vanished meanwhile.
QString processExeName(const QString& procDir);

}  // namespace plat
