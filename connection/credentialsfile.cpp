#include "credentialsfile.h"

#include "connection/scrambling.h"
#include "platform/ansicodec.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace conn {
namespace {

QString lineAt(const QStringList& lines, int index) { return index < lines.size() ? lines.at(index) : QString(); }

bool holdsLineBreak(const QString& text) { return text.contains(QChar(u'\r')) || text.contains(QChar(u'\n')); }

// A scrambled line cannot hold a line break: the reader splits the line there. The
// folder of an embedded server has other spellings ("/./" inserted after its first
// separator) that move its characters onto other keys; the first that scrambles cleanly
// is written.
QString writableServer(const QString& server) {
    if (!holdsLineBreak(positionScramble(server)) || !server.startsWith(QLatin1String("file:")))
        return server;
    const qsizetype slash = server.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return server;
    QString candidate = server;
    for (int tries = 0; tries < 64; ++tries) {
        candidate.insert(slash + 1, QLatin1String("./"));
        if (!holdsLineBreak(positionScramble(candidate)))
            return candidate;
    }
    return server;
}

QByteArray joinCrLf(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text.toUtf8();
}

void writeOwnerOnly(const QString& path, const QByteArray& bytes) {
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(path);
    // Narrow an existing file before its new content goes in; a new one is born narrow.
    if (file.exists() && !file.setPermissions(ownerOnly))
        throw std::runtime_error("cannot set the permissions of " + path.toStdString());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate, ownerOnly) || file.write(bytes) != bytes.size() ||
        !file.flush())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// The file's group becomes group and its members may read it; others still may not.
void shareWithGroup(const QString& path, const QString& group) {
    const QByteArray name = group.toLocal8Bit();
    const struct group* entry = getgrnam(name.constData());
    if (!entry)
        throw std::runtime_error("no group named " + group.toStdString());
    const QByteArray file = QFile::encodeName(path);
    if (chown(file.constData(), static_cast<uid_t>(-1), entry->gr_gid) != 0)
        throw std::runtime_error("cannot give the group " + group.toStdString() + " the file " + path.toStdString() +
                                 ": " + std::strerror(errno));
    if (chmod(file.constData(), S_IRUSR | S_IWUSR | S_IRGRP) != 0)
        throw std::runtime_error("cannot set the permissions of " + path.toStdString() + ": " + std::strerror(errno));
}

}  // namespace

da::ConnectParams readCredentialsFile(const QString& path) {
    const QStringList lines = plat::loadLines(path);
    da::ConnectParams params;
    params.password = positionScramble(lineAt(lines, 0));
    params.server = positionScramble(lineAt(lines, 1));
    params.database = positionScramble(lineAt(lines, 2));
    params.user = positionScramble(lineAt(lines, 3));
    return params;
}

void writeCredentialsFile(const QString& path, const da::ConnectParams& params, const QString& group) {
    const QStringList lines{positionScramble(params.password), positionScramble(writableServer(params.server)),
                            positionScramble(params.database), positionScramble(params.user)};
    for (const QString& line : lines) {
        if (holdsLineBreak(line))
            throw std::runtime_error("a scrambled value would hold a line break; choose another value");
    }
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += plat::toAnsi(line) + "\r\n";
    // The reader must give back what was written; the code page cannot hold everything.
    if (plat::splitLines(plat::decodeText(bytes)) != lines)
        bytes = QByteArray("\xEF\xBB\xBF") + joinCrLf(lines);
    if (plat::splitLines(plat::decodeText(bytes)) != lines)
        throw std::runtime_error("the values cannot be written so that they read back unchanged");
    writeOwnerOnly(path, bytes);
    if (!group.isEmpty())
        shareWithGroup(path, group);
}

da::ConnectParams readRememberedConnection(const QString& path) {
    const QStringList lines = plat::loadLines(path);
    if (lines.size() < 4)
        throw std::runtime_error(path.toStdString() + " has fewer than four lines");
    da::ConnectParams params;
    params.server = lines.at(0);
    params.database = lines.at(1);
    params.user = lines.at(2);
    params.password = lines.at(3);
    return params;
}

void writeRememberedConnection(const QString& path, const da::ConnectParams& params) {
    QByteArray bytes;
    for (const QString& line : {params.server, params.database, params.user, params.password})
        bytes += plat::toAnsi(line) + "\r\n";
    writeOwnerOnly(path, bytes);
}

}  // namespace conn
