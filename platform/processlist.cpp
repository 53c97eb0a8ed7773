#include "processlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace plat {

namespace {

QString lastComponent(QString path) {
    // A replaced or deleted executable reads "/path/name (deleted)".
    if (path.endsWith(QLatin1String(" (deleted)")))
        path.chop(10);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QByteArray readSmall(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096);
}

}  // namespace

QString processExeName(const QString& procDir) {
    const QString exe = QFile::symLinkTarget(procDir + QStringLiteral("/exe"));
    if (!exe.isEmpty())
        return lastComponent(exe);
    const QByteArray cmdline = readSmall(procDir + QStringLiteral("/cmdline"));
    const QByteArray first = cmdline.left(cmdline.indexOf('\0'));
    if (!first.isEmpty())
        return lastComponent(QString::fromLocal8Bit(first));
    return QString::fromLocal8Bit(readSmall(procDir + QStringLiteral("/comm"))).trimmed();
}

std::vector<ProcessEntry> runningProcesses(const QString& procRoot) {
    QDir root(procRoot);
    if (!root.exists())
        throw std::runtime_error(std::strerror(ENOENT));
    std::vector<ProcessEntry> list;
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (!ok)
            continue;
        const QString exe = processExeName(root.filePath(name));
        if (!exe.isEmpty())
            list.push_back({exe, pid});
    }
    std::sort(list.begin(), list.end(), [](const ProcessEntry& a, const ProcessEntry& b) { return a.pid < b.pid; });
    return list;
}

}  // namespace plat
