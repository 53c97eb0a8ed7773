#include "applock.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace da::embedded {

namespace {

long long nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace

AppLocks::AppLocks(const QString& folder, const QString& database) : m_folder(folder), m_database(database) {}

AppLocks::~AppLocks() {
    for (const Held& h : std::as_const(m_held))
        close(h.fd);
}

// One file per database and resource; the names are hexadecimal, so that any resource
// text gives a valid file name. Letter case counts in resource names.
QString AppLocks::lockFile(const QString& resource) const {
    const QByteArray key = m_database.toLower().toUtf8().toHex() + '-' + resource.toUtf8().toHex();
    return QDir(m_folder).filePath(QStringLiteral(".applock-") + QString::fromLatin1(key));
}

int AppLocks::acquire(const QString& resource, bool exclusive, int timeoutMs) {
    if (resource.isEmpty() || resource.size() > 255)
        return -999;
    if (auto it = m_held.find(resource); it != m_held.end()) {
        ++it->count;
        return 0;
    }
    const QByteArray path = QFile::encodeName(lockFile(resource));
    // Read-only is enough for flock, so every user who may read the server folder's
    // databases may take the lock; the file is born as SQLite's database files are.
    const int fd = open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return -999;
    const int mode = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    const long long deadline = timeoutMs < 0 ? -1 : nowMs() + timeoutMs;
    // flock has no timeout of its own: try, and sleep a little between tries.
    for (bool waited = false;; waited = true) {
        if (flock(fd, mode) == 0) {
            m_held.insert(resource, Held{fd, 1});
            return waited ? 1 : 0;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            close(fd);
            return -999;
        }
        if (deadline >= 0 && nowMs() >= deadline) {
            close(fd);
            return -1;
        }
        const timespec pause{0, 20 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

int AppLocks::release(const QString& resource) {
    auto it = m_held.find(resource);
    if (it == m_held.end())
        return -999;
    if (--it->count == 0) {
        close(it->fd);  // gives the lock up
        m_held.erase(it);
    }
    return 0;
}

}  // namespace da::embedded
