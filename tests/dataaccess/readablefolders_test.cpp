// A confined embedded server: OPENROWSET reads only the folders of readable-folders.txt,
// and a file elsewhere fails as a file that is not there.
#include "dataaccess/embedded/readablefolders.h"
#include "embeddedserver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace da::testing {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

class ReadableFoldersTest : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        ASSERT_TRUE(m_disk.isValid());
        for (const char* folder : {"share", "share/sub", "private"})
            ASSERT_TRUE(QDir(m_disk.path()).mkpath(QLatin1String(folder)));
        for (const char* folder : {"share", "share/sub", "private"})
            writeFile(path(folder) + QStringLiteral("/bv.txt"), "RegNo,BvMilk\nh1,2\n");
    }

    QString path(const char* relative) const { return m_disk.path() + u'/' + QLatin1String(relative); }
    void confine(const QByteArray& list) { writeFile(m_dir.path() + QStringLiteral("/readable-folders.txt"), list); }

    // The fill from the folder's file: "ok" with its rows stored, or the error.
    QString fill(const QString& dir, const QString& file = QStringLiteral("bv.txt")) {
        run(QStringLiteral("IF OBJECT_ID('BVTemp') IS NOT NULL DROP TABLE BVTemp"));
        const QString connection = QStringLiteral("Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir={%1};").arg(dir);
        const QString error = errorOf(QStringLiteral("SELECT * INTO BVTemp FROM OPENROWSET('MSDASQL', '%1', 'SELECT * FROM [%2];')")
                                          .arg(QString(connection).replace(u'\'', QStringLiteral("''")), file));
        if (error != QLatin1String("no error"))
            return error;
        return scalar(QStringLiteral("SELECT COUNT(*) FROM BVTemp")).toInt() == 1 ? QStringLiteral("ok") : QStringLiteral("no rows");
    }
    static QString missing(const QString& dir, const QString& file = QStringLiteral("bv.txt")) {
        return QStringLiteral("The text driver cannot find the file '%1' in folder '%2'.").arg(file, dir);
    }

    QTemporaryDir m_disk;  // the "machine's" disk
};

TEST_F(ReadableFoldersTest, WithoutTheListEveryFolderIsRead) {
    EXPECT_EQ(fill(path("share")), QStringLiteral("ok"));
    EXPECT_EQ(fill(path("private")), QStringLiteral("ok"));
}

TEST_F(ReadableFoldersTest, OnlyListedFoldersAndTheirSubfoldersAreRead) {
    confine("# the office share\n\n" + path("share").toUtf8() + "\n   \n");
    EXPECT_EQ(fill(path("share")), QStringLiteral("ok"));
    EXPECT_EQ(fill(path("share/sub")), QStringLiteral("ok"));
    EXPECT_EQ(fill(path("private")), missing(path("private")));
    // The error is the one of a file that is really missing.
    EXPECT_EQ(fill(path("share"), QStringLiteral("absent.txt")), missing(path("share"), QStringLiteral("absent.txt")));
}

TEST_F(ReadableFoldersTest, EscapesByLinksAndDotDotFail) {
    confine(path("share").toUtf8() + '\n');
    ASSERT_TRUE(QFile::link(path("private/bv.txt"), path("share/link.txt")));
    ASSERT_TRUE(QFile::link(path("private"), path("share/away")));
    EXPECT_EQ(fill(path("share"), QStringLiteral("link.txt")), missing(path("share"), QStringLiteral("link.txt")));
    EXPECT_EQ(fill(path("share/away")), missing(path("share/away")));
    EXPECT_EQ(fill(path("share/../private")), missing(path("share/../private")));
    EXPECT_EQ(fill(path("share"), QStringLiteral("../private/bv.txt")), missing(path("share"), QStringLiteral("../private/bv.txt")));
    // A name of the listed folder's own beginning is no folder inside it.
    ASSERT_TRUE(QDir(m_disk.path()).mkpath(QStringLiteral("shared")));
    writeFile(path("shared/bv.txt"), "RegNo\nh1\n");
    EXPECT_EQ(fill(path("shared")), missing(path("shared")));
}

TEST_F(ReadableFoldersTest, ListedFoldersAreResolvedToo) {
    ASSERT_TRUE(QFile::link(path("share"), path("alias")));
    confine(path("private/../alias").toUtf8() + '\n');
    EXPECT_EQ(fill(path("share/sub")), QStringLiteral("ok"));
    EXPECT_EQ(fill(path("private")), missing(path("private")));
}

TEST_F(ReadableFoldersTest, AnEmptyListReadsNoFolder) {
    confine("");
    EXPECT_EQ(fill(path("share")), missing(path("share")));
    confine("# nothing shared\n\n");
    EXPECT_EQ(fill(path("share")), missing(path("share")));
}

TEST_F(ReadableFoldersTest, ABadListIsNamedInTheError) {
    confine("# shared\nrelative/folder\n");
    const QString bad = fill(path("share"));
    EXPECT_TRUE(bad.contains(QStringLiteral("readable-folders.txt"))) << bad.toStdString();
    EXPECT_TRUE(bad.contains(QStringLiteral("line 2"))) << bad.toStdString();

    QDir(m_dir.path()).remove(QStringLiteral("readable-folders.txt"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("readable-folders.txt")));  // there, but no file to read
    const QString unreadable = fill(path("share"));
    EXPECT_TRUE(unreadable.contains(QStringLiteral("readable-folders.txt"))) << unreadable.toStdString();
}

TEST(ReadableFoldersParse, FoldersThatDoNotExistHoldNothing) {
    QTemporaryDir disk;
    ASSERT_TRUE(disk.isValid());
    writeFile(disk.path() + QStringLiteral("/bv.txt"), "x");
    const auto folders = embedded::ReadableFolders::parse(
        (disk.path() + QStringLiteral("/gone\n  ") + disk.path() + QStringLiteral("  \n")).toUtf8(), QStringLiteral("list"));
    EXPECT_TRUE(folders.allows(disk.path() + QStringLiteral("/bv.txt")));
    EXPECT_FALSE(folders.allows(disk.path() + QStringLiteral("/gone/bv.txt")));
    EXPECT_TRUE(embedded::ReadableFolders().allows(QStringLiteral("/anything")));
}

}  // namespace
}  // namespace da::testing
