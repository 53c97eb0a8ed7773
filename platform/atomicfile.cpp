#include "atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

std::function<void(const QString&)>& hook() {
    static std::function<void(const QString&)> h;
    return h;
}

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace

void setAtomicWriteHook(std::function<void(const QString& tempName)> h) { hook() = std::move(h); }

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    auto fail = [&](int err) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(err));
        return false;
    };
    if (fd < 0)
        return fail(errno);
    // The new file keeps the old one's permissions; a new one gets the usual 0644.
    struct stat old {};
    ::fchmod(fd, ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    const qsizetype half = bytes.size() / 2;
    bool ok = writeAll(fd, bytes.constData(), half);
    if (ok && hook())
        hook()(QFile::decodeName(temp));
    ok = ok && writeAll(fd, bytes.constData() + half, bytes.size() - half);
    ok = ok && ::fsync(fd) == 0;
    const int writeErr = errno;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temp.constData(), target.constData()) != 0) {
        const int err = ok ? errno : writeErr;
        ::unlink(temp.constData());
        return fail(err);
    }
    // The rename itself reaches the disk with the folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace plat
