#include "files.h"

#include "desktop/bitmap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desk {

namespace {

QString systemText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// True when a descriptor of this process other than fd is open on fd's file, or another
// owner holds a record lock on it.
bool heldElsewhere(int fd) {
    struct stat self {};
    if (fstat(fd, &self) != 0)
        return true;
    if (DIR* dir = opendir("/proc/self/fd")) {
        bool held = false;
        const int dirFd = dirfd(dir);
        while (dirent* e = readdir(dir)) {
            char* end = nullptr;
            const long other = std::strtol(e->d_name, &end, 10);
            if (*end != '\0' || end == e->d_name || other == fd || other == dirFd)
                continue;
            struct stat st {};
            if (fstat(int(other), &st) == 0 && st.st_dev == self.st_dev && st.st_ino == self.st_ino) {
                held = true;
                break;
            }
        }
        closedir(dir);
        if (held)
            return true;
    }
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    return fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

// Takes fd for this process alone: no other handle, no lock of another owner.
bool takeAlone(int fd) { return !heldElsewhere(fd) && flock(fd, LOCK_EX | LOCK_NB) == 0; }

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Copies everything; 0 or the errno of the failure, and which side failed.
int copyAll(int in, int out, bool& readFailed) {
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            readFailed = true;
            return errno;
        }
        if (n == 0)
            return 0;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, std::size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0) {
                readFailed = false;
                return errno;
            }
            done += w;
        }
    }
}

}  // namespace

bool fileCopy(const QString& from, const QString& to) {
    const Fd in(::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0)
        return false;
    struct stat st {};
    // A device or pipe has no end to copy up to; it is not a file that can be opened here.
    if (fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode) || !takeAlone(in.get()))
        return false;

    const QByteArray target = QFile::encodeName(to);
    const Fd out(::open(target.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (out.get() < 0)
        throw FileError(createFailedMessage(to, systemText(errno)));
    if (!takeAlone(out.get()))
        throw FileError(createFailedMessage(to, systemText(EBUSY)));
    if (ftruncate(out.get(), 0) != 0)
        throw FileError(createFailedMessage(to, systemText(errno)));

    bool readFailed = false;
    if (const int err = copyAll(in.get(), out.get(), readFailed)) {
        ::unlink(target.constData());
        throw FileError(QStringLiteral("Cannot %1 file \"%2\". %3")
                            .arg(readFailed ? QStringLiteral("read") : QStringLiteral("write"), readFailed ? from : to,
                                 systemText(err)));
    }
    return true;
}

bool delDir(const QString& dir) {
    if (dir.isEmpty())
        return false;
    namespace fs = std::filesystem;
    const fs::path path(QFile::encodeName(QDir::cleanPath(dir)).toStdString());
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        return false;
    // The root holds the system; no caller means it.
    if (fs::weakly_canonical(path, ec) == fs::path("/"))
        return false;
    fs::remove_all(path, ec);  // a symbolic link inside goes, not what it points at
    return !fs::exists(fs::symlink_status(path, ec));
}

namespace {

QString runGsettings(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    // gsettings answers at once; a hung settings service must not hold the window.
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

}  // namespace

void changeWallpaper(const QString& picture) {
    const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    if (gsettings.isEmpty())
        return;
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    // An empty name takes the wallpaper away, as the system's own setting does.
    const QString uri = picture.isEmpty()
                            ? QString()
                            : QUrl::fromLocalFile(QFileInfo(picture).absoluteFilePath()).toString(QUrl::FullyEncoded);
    for (const QString& key : {QStringLiteral("picture-uri"), QStringLiteral("picture-uri-dark")}) {
        if (runGsettings(gsettings, {QStringLiteral("writable"), schema, key}) == u"true")
            runGsettings(gsettings, {QStringLiteral("set"), schema, key, uri});
    }
}

}  // namespace desk
