#pragma once
// Application locks of the embedded engine (sp_getapplock, sp_releaseapplock): an
// exclusive or shared lock of the operating system on a file of the server folder, one
// per database and resource. The lock belongs to the session that took it; a session
// that ends, or a process that is killed, gives it up with its file descriptor.
#include <QHash>
#include <QString>

namespace da::embedded {

class AppLocks {
public:
    AppLocks(const QString& folder, const QString& database);
    ~AppLocks();
    AppLocks(const AppLocks&) = delete;
    AppLocks& operator=(const AppLocks&) = delete;

    // Waits up to timeoutMs (-1: without end, 0: not at all) for the lock. Answers as
    // sp_getapplock does: 0 granted at once, 1 granted after waiting, -1 timed out,
    // -999 a wrong argument or a lock file that cannot be opened. A session asking again
    // for a lock it holds gets it at once; each grant needs its own release.
    int acquire(const QString& resource, bool exclusive, int timeoutMs);
    // 0 released, -999 when the session does not hold it.
    int release(const QString& resource);

private:
    struct Held {
        int fd = -1;
        int count = 0;
    };
    QString lockFile(const QString& resource) const;

    QString m_folder;
    QString m_database;
    QHash<QString, Held> m_held;
};

}  // namespace da::embedded
