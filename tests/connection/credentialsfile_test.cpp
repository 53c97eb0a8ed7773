#include "tests/fixtures/qstringprint.h"
#include "connection/credentialsfile.h"
#include "connection/scrambling.h"
#include "platform/ansicodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray scrambledAnsi(std::initializer_list<const char*> lines, const char* lineEnd = "\r\n") {
    QByteArray bytes;
    for (const char* line : lines)
        bytes += plat::toAnsi(conn::positionScramble(QString::fromUtf8(line))) + lineEnd;
    return bytes;
}

// A long text whose scrambled form holds no line break: at each position the first
// letter that does not meet its key as CR or LF.
QString longClean(int length) {
    QString text;
    for (int k = 1; k <= length; ++k) {
        for (char16_t c = u'a';; ++c) {
            const char16_t scrambled = c ^ char16_t(2 * k);
            if (scrambled != u'\r' && scrambled != u'\n') {
                text += QChar(c);
                break;
            }
        }
    }
    return text;
}

class CredentialsFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name = "WTimes.DLL") const { return dir.filePath(QString::fromLatin1(name)); }
};

void expectParams(const da::ConnectParams& p, const char* password, const char* server, const char* database,
                  const char* user) {
    EXPECT_EQ(p.password, password);
    EXPECT_EQ(p.server, server);
    EXPECT_EQ(p.database, database);
    EXPECT_EQ(p.user, user);
}

TEST_F(CredentialsFile, LinesArePasswordServerDatabaseUser) {
    writeAll(path(), scrambledAnsi({"secret", "file:/srv/farms", "Farm", "sa", "ignored"}));
    expectParams(conn::readCredentialsFile(path()), "secret", "file:/srv/farms", "Farm", "sa");
    // Two lines, LF only: no database and no user.
    writeAll(path(), scrambledAnsi({"pw", "srv"}, "\n"));
    expectParams(conn::readCredentialsFile(path()), "pw", "srv", "", "");
}

TEST_F(CredentialsFile, MissingFileRaises) {
    EXPECT_THROW(conn::readCredentialsFile(path("none")), std::runtime_error);
}

TEST_F(CredentialsFile, WriterRoundTrips) {
    struct Case {
        const char* name;
        QString password;
        QString server;
    };
    const Case cases[] = {
        {"ascii", "secret", "file:/srv/farms"},
        {"empty password", "", "db.farm.local,1433"},
        {"persian in the code page", QStringLiteral("رمز كاربر"), "srv"},
        {"outside the code page", QStringLiteral("گذرواژه"), "srv"},
        {"long, key past 128", longClean(150), "srv"},
    };
    for (const Case& c : cases) {
        const da::ConnectParams written{c.server, QStringLiteral("Farm ' DB"), QStringLiteral("sa"), c.password};
        conn::writeCredentialsFile(path(), written);
        const da::ConnectParams read = conn::readCredentialsFile(path());
        EXPECT_EQ(read.password, c.password) << c.name;
        EXPECT_EQ(read.server, c.server) << c.name;
        EXPECT_EQ(read.database, written.database) << c.name;
        EXPECT_EQ(read.user, written.user) << c.name;
        EXPECT_TRUE(readAll(path()).endsWith("\r\n")) << c.name;
    }
}

TEST_F(CredentialsFile, PlainAsciiIsWrittenWithoutByteOrderMark) {
    conn::writeCredentialsFile(path(), {"srv", "Farm", "sa", "pw"});
    EXPECT_EQ(readAll(path()), scrambledAnsi({"pw", "srv", "Farm", "sa"}));
}

TEST_F(CredentialsFile, WriterRefusesValueThatScramblesIntoLineBreak) {
    // 'c' (0x63) at position 55 meets the key 110 (0x6E): 0x63 xor 0x6E is CR.
    const QString password = QString(54, QLatin1Char('x')) + QLatin1Char('c');
    ASSERT_EQ(conn::positionScramble(password).at(54), QChar(u'\r'));
    EXPECT_THROW(conn::writeCredentialsFile(path(), {"srv", "Farm", "sa", password}), std::runtime_error);
}

TEST_F(CredentialsFile, EmbeddedServerIsRespelledWhenItWouldScrambleIntoLineBreak) {
    // The '/' at position 17 meets the key 34: 0x2F xor 0x22 is CR.
    const QString server = QStringLiteral("file:/tmp/abcdef/x");
    ASSERT_EQ(conn::positionScramble(server).at(16), QChar(u'\r'));
    conn::writeCredentialsFile(path(), {server, "Farm", "sa", "pw"});
    const QString read = conn::readCredentialsFile(path()).server;
    EXPECT_NE(read, server);
    ASSERT_TRUE(read.startsWith("file:"));
    EXPECT_EQ(QDir::cleanPath(read.mid(5)), QStringLiteral("/tmp/abcdef/x"));
    EXPECT_EQ(conn::readCredentialsFile(path()).database, "Farm");
}

TEST_F(CredentialsFile, RememberedConnectionIsFourPlainAnsiLines) {
    conn::writeRememberedConnection(path("MultiConnect.Dat"), {"file:/srv", "master", "sa", QStringLiteral("رمز")});
    EXPECT_EQ(readAll(path("MultiConnect.Dat")),
              QByteArray("file:/srv\r\nmaster\r\nsa\r\n") + plat::toAnsi(QStringLiteral("رمز")) + "\r\n");
    expectParams(conn::readRememberedConnection(path("MultiConnect.Dat")), "رمز", "file:/srv", "master", "sa");

    writeAll(path("MultiConnect.Dat"), "srv\r\nmaster\r\nsa\r\n");
    EXPECT_THROW(conn::readRememberedConnection(path("MultiConnect.Dat")), std::runtime_error);
}

TEST_F(CredentialsFile, RememberedConnectionIsOwnerOnly) {
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QString fresh = path("MultiConnect.Dat");
    conn::writeRememberedConnection(fresh, {"s", "d", "u", "p"});
    EXPECT_EQ(QFile::permissions(fresh) & ~QFileDevice::Permissions(QFileDevice::ReadUser | QFileDevice::WriteUser),
              ownerOnly);

    // An older file readable by everyone is narrowed before the password goes in.
    const QString older = path("older.Dat");
    writeAll(older, "x\r\n");
    QFile::setPermissions(older, ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    conn::writeRememberedConnection(older, {"s", "d", "u", "p"});
    EXPECT_FALSE(QFile::permissions(older) & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_EQ(readAll(older), "s\r\nd\r\nu\r\np\r\n");
}

// Anyone who can read the credentials file can unscramble its password: it is never
// readable by others, whatever the umask or the mode of the file it replaces.
TEST_F(CredentialsFile, CredentialsFileIsReadableByItsOwnerOrTheNamedGroupOnly) {
    auto modeOf = [](const QString& file) {
        struct stat st {};
        return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
    };
    const struct group* own = getgrgid(getgid());
    ASSERT_NE(own, nullptr);
    const QString ownGroup = QString::fromLocal8Bit(own->gr_name);
    const mode_t oldMask = umask(0);  // the loosest umask there is
    struct Case {
        const char* name;
        int modeBefore;  // -1: no file before
        QString group;
        int modeAfter;
    };
    const Case cases[] = {
        {"new file", -1, {}, 0600},
        {"world-readable file replaced", 0666, {}, 0600},
        {"group-readable file replaced without a group", 0640, {}, 0600},
        {"new file for the farm users' group", -1, ownGroup, 0640},
        {"world-readable file replaced for the group", 0644, ownGroup, 0640},
    };
    for (const Case& c : cases) {
        const QString file = path(c.name);
        if (c.modeBefore >= 0) {
            writeAll(file, "old\r\n");
            ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), static_cast<mode_t>(c.modeBefore)), 0);
        }
        conn::writeCredentialsFile(file, {"srv", "Farm", "sa", "secret"}, c.group);
        EXPECT_EQ(modeOf(file), c.modeAfter) << c.name;
        expectParams(conn::readCredentialsFile(file), "secret", "srv", "Farm", "sa");
    }
    // A group that does not exist is refused; the file written stays its owner's.
    const QString refused = path("refused");
    EXPECT_THROW(conn::writeCredentialsFile(refused, {"srv", "Farm", "sa", "secret"}, "no-such-group-of-farm-users"),
                 std::runtime_error);
    EXPECT_EQ(modeOf(refused) & 077, 0);
    umask(oldMask);
}

}  // namespace
