// Copying files held by others, deleting folder trees, the wallpaper setting.
#include "desktop/files.h"
#include "tests/fixtures/toolsfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeFile(const QString& name, const QByteArray& data) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Another process that locks a file the way lockKind says and holds it until released.
class LockingProcess {
public:
    LockingProcess(const QString& file, int lockKind) {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            return;
        const QByteArray name = QFile::encodeName(file);  // the child only makes system calls
        m_pid = fork();
        if (m_pid == 0) {
            ::close(release[1]);  // the parent's closing it is the signal to end
            const int fd = ::open(name.constData(), O_RDWR);
            const bool locked = fd >= 0 && (lockKind == LOCK_EX ? flock(fd, LOCK_EX) == 0 : lockf(fd, F_LOCK, 0) == 0);
            char c = locked ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            (void)!::read(release[0], &c, 1);
            _exit(0);
        }
        char c = 0;
        m_locked = ::read(ready[0], &c, 1) == 1 && c == 'y';
        m_release = release[1];
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(release[0]);
    }
    ~LockingProcess() {
        if (m_pid > 0) {
            ::close(m_release);
            waitpid(m_pid, nullptr, 0);
        }
    }
    bool locked() const { return m_locked; }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_locked = false;
};

class Files : public ToolsFixture {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(Files, FileCopyReplacesTheTargetWithTheSourceBytes) {
    TTools& tools = create();
    const QByteArray data = QByteArray(200000, 'x') + QByteArray("\0\xff end", 6);
    writeFile(path("a.bin"), data);
    writeFile(path("b.bin"), "an older, longer target that must not survive in part");
    EXPECT_TRUE(tools.FileCopy(path("a.bin"), path("b.bin")));
    EXPECT_EQ(readFile(path("b.bin")), data);
}

TEST_F(Files, FileCopyRefusesASourceHeldElsewhere) {
    TTools& tools = create();
    writeFile(path("held.txt"), "held");
    {
        QFile open(path("held.txt"));  // another handle of this program
        ASSERT_TRUE(open.open(QIODevice::ReadOnly));
        EXPECT_FALSE(tools.FileCopy(path("held.txt"), path("copy1.txt")));
    }
    for (int kind : {LOCK_EX, F_LOCK}) {
        LockingProcess other(path("held.txt"), kind);
        ASSERT_TRUE(other.locked());
        EXPECT_FALSE(tools.FileCopy(path("held.txt"), path("copy2.txt"))) << kind;
    }
    EXPECT_FALSE(QFile::exists(path("copy1.txt")));
    EXPECT_FALSE(QFile::exists(path("copy2.txt")));
    EXPECT_TRUE(tools.FileCopy(path("held.txt"), path("copy3.txt")));  // released: copies
}

TEST_F(Files, FileCopyAnswersFalseOnlyForASourceThatCannotBeOpened) {
    TTools& tools = create();
    EXPECT_FALSE(tools.FileCopy(path("missing.txt"), path("out.txt")));
    EXPECT_FALSE(tools.FileCopy(QStringLiteral("/dev/zero"), path("out.txt")));  // no end to copy to
    EXPECT_FALSE(tools.FileCopy(m_dir.path(), path("out.txt")));
    EXPECT_FALSE(QFile::exists(path("out.txt")));

    writeFile(path("src.txt"), "keep me");
    for (const QString& target : {path("no/such/dir/out.txt"), m_dir.path(), path("src.txt")}) {
        try {
            tools.FileCopy(path("src.txt"), target);
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const desk::FileError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(target)))
                << e.message().toStdString();
        }
    }
    EXPECT_EQ(readFile(path("src.txt")), "keep me");  // copying onto itself lost nothing
}

TEST_F(Files, DelDirRemovesTheTreeButNotWhatItsLinksPointAt) {
    TTools& tools = create();
    QTemporaryDir outside;
    writeFile(outside.filePath(QStringLiteral("keep.txt")), "outside");
    QDir root(m_dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("tree/a/b/c")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("tree/d;]}'")));
    writeFile(path("tree/top.txt"), "1");
    writeFile(path("tree/a/b/c/deep.txt"), "2");
    writeFile(path("tree/d;]}'/odd.txt"), "3");
    ASSERT_TRUE(QFile::link(outside.path(), path("tree/a/link")));
    QFile::setPermissions(path("tree/a/b/c/deep.txt"), QFileDevice::ReadOwner);

    EXPECT_TRUE(tools.DelDir(path("tree")));
    EXPECT_FALSE(QFileInfo::exists(path("tree")));
    EXPECT_EQ(readFile(outside.filePath(QStringLiteral("keep.txt"))), "outside");

    EXPECT_FALSE(tools.DelDir(path("tree")));  // gone already
    EXPECT_FALSE(tools.DelDir(QString()));
    EXPECT_FALSE(tools.DelDir(QStringLiteral("/")));
}

TEST_F(Files, ChangeWallpaperSetsTheDesktopsPictureWhereItIsWritable) {
    TTools& tools = create();
    // A gsettings that logs its arguments and answers "writable" as told.
    const QString bin = path("bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    writeFile(bin + QStringLiteral("/gsettings"),
              "#!/bin/sh\n"
              "echo \"$@\" >> \"$(dirname \"$0\")/log\"\n"
              "if [ \"$1\" = writable ]; then [ \"$3\" = picture-uri ] && echo true || echo false; fi\n");
    QFile::setPermissions(bin + QStringLiteral("/gsettings"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ":" + oldPath);
    tools.ChangeWallpaper(QStringLiteral("/srv/pictures/my farm #1.bmp"));
    qputenv("PATH", oldPath);
    EXPECT_EQ(readFile(bin + QStringLiteral("/log")),
              "writable org.gnome.desktop.background picture-uri\n"
              "set org.gnome.desktop.background picture-uri file:///srv/pictures/my%20farm%20%231.bmp\n"
              "writable org.gnome.desktop.background picture-uri-dark\n");
}

}  // namespace
