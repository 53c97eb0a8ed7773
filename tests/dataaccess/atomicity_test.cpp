// Every statement is atomic: a process killed in the middle of a large INSERT .. SELECT
// leaves the target table as it was.
#include "embeddedserver.h"

#include "dataaccess/embedded/embeddedsession.h"
#include "dataaccess/embedded/sqlitedb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace da::testing {
namespace {

class Atomicity : public EmbeddedServer {};

// The child's progress handler: once the statement has written pages into the database
// file (the file grew), it tells the parent through the pipe and waits to be killed.
struct KillPoint {
    QByteArray file;
    qint64 sizeBefore = 0;
    int tell = -1;
    int wait = -1;
};

int stopWhenFileGrew(void* p) {
    auto* k = static_cast<KillPoint*>(p);
    if (QFileInfo(QString::fromLocal8Bit(k->file)).size() <= k->sizeBefore) return 0;
    const char ready = 'k';
    if (write(k->tell, &ready, 1) != 1) _exit(3);
    char never = 0;
    const ssize_t got = read(k->wait, &never, 1);  // the parent kills us before writing
    _exit(got == 0 ? 4 : 5);
}

TEST_F(Atomicity, KilledInsertSelectLeavesTargetUnchanged) {
    run(QStringLiteral("CREATE TABLE Big (N int, Name nvarchar(40), W float)"));
    run(QStringLiteral("CREATE TABLE Target (N int, Name nvarchar(40), W float)"));
    run(QStringLiteral("INSERT INTO Target VALUES (-1, 'before', 0)"));
    {
        // Filling the source with SQLite itself is quicker than many INSERTs.
        auto& db = static_cast<embedded::EmbeddedSession&>(m_connection.session()).database();
        db.exec(QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000) "
                               "INSERT INTO Big SELECT x, 'cow number ' || x, x * 0.5 FROM c"));
    }
    m_connection.disconnect();
    const QByteArray file = QFile::encodeName(QDir(m_dir.path()).filePath(QStringLiteral("Farm.db")));

    int toParent[2];
    int toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(toParent[0]);
        close(toChild[1]);
        try {
            Connection c;
            c.setServer(server());
            c.setDatabase(QStringLiteral("Farm"));
            c.connect();
            auto& db = static_cast<embedded::EmbeddedSession&>(c.session()).database();
            // A small page cache spills the statement's pages into the file long before
            // it ends.
            db.exec(QStringLiteral("PRAGMA cache_size=16"));
            KillPoint k{file, QFileInfo(QString::fromLocal8Bit(file)).size(), toParent[1], toChild[0]};
            sqlite3_progress_handler(db.handle(), 1000, stopWhenFileGrew, &k);
            c.session().execute(QStringLiteral("INSERT INTO Target SELECT N, Name, W FROM Big"));
        } catch (...) {
            _exit(2);
        }
        _exit(0);  // the statement ended without writing into the file: the parent reads no byte
    }
    close(toParent[1]);
    close(toChild[0]);
    char signal = 0;
    const ssize_t got = read(toParent[0], &signal, 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(toParent[0]);
    close(toChild[1]);
    ASSERT_EQ(got, 1) << "the child ended before the statement wrote into the file, status " << status;
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_TRUE(QFile::exists(QString::fromLocal8Bit(file) + QStringLiteral("-journal")))
        << "killed without a journal to roll back";

    connectTo(QStringLiteral("Farm"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Target")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Name FROM Target")).toString(), QStringLiteral("before"));
    auto& db = static_cast<embedded::EmbeddedSession&>(m_connection.session()).database();
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    // The same statement run to its end copies every row.
    run(QStringLiteral("INSERT INTO Target SELECT N, Name, W FROM Big WHERE N <= 1000"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Target")).toInt(), 1001);
}

// A statement that fails at a later row leaves every row as it was, whether it runs as
// one engine statement (UPDATE, INSERT .. SELECT, DELETE) or as several (SELECT INTO).
TEST_F(Atomicity, StatementFailingAtALaterRowChangesNothing) {
    run(QStringLiteral("CREATE TABLE Cows (N int, Name nvarchar(40), W float)"));
    run(QStringLiteral("INSERT INTO Cows VALUES (1, '10', 1), (2, '20', 2), (3, 'x', 3), (4, '40', 4)"));
    run(QStringLiteral("CREATE TABLE Copy (W float)"));
    run(QStringLiteral("INSERT INTO Copy VALUES (7)"));
    struct Case {
        const char* name;
        const char* statement;
    };
    const Case cases[] = {
        {"update converting text", "UPDATE Cows SET W = Name"},
        {"update cutting text", "UPDATE Cows SET Name = SUBSTRING(Name, 1, 3 - N) WHERE N > 0"},
        {"insert .. select converting text", "INSERT INTO Copy SELECT Name FROM Cows"},
        {"select into adding to text", "SELECT N, Name + 1 AS Next INTO Made FROM Cows"},
    };
    const QString cowsBefore = QStringLiteral("1 10 1|2 20 2|3 x 3|4 40 4");
    auto cows = [&] {
        QStringList rows;
        for (const auto& row : run(QStringLiteral("SELECT N, Name, W FROM Cows ORDER BY N")).rows)
            rows << QStringLiteral("%1 %2 %3").arg(row[0].toString(), row[1].toString(), row[2].toString());
        return rows.join(u'|');
    };
    for (const Case& c : cases) {
        EXPECT_NE(errorOf(QString::fromLatin1(c.statement)), QStringLiteral("no error")) << c.name;
        EXPECT_EQ(cows(), cowsBefore) << c.name;
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Copy")).toInt(), 1) << c.name;
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM sysobjects WHERE name = 'Made'")).toInt(), 0) << c.name;
    }
    // The connection goes on working after each failure.
    run(QStringLiteral("DELETE FROM Cows WHERE N = 3"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Cows")).toInt(), 3);
}

// A database an older build left under write-ahead logging opens and works: beside a
// handle that still holds it so the file keeps its mode, and once alone the connection
// moves it to the rollback journal.
TEST_F(Atomicity, DatabaseLeftUnderWriteAheadLoggingOpens) {
    run(QStringLiteral("CREATE TABLE Cows (N int)"));
    run(QStringLiteral("INSERT INTO Cows VALUES (1)"));
    m_connection.disconnect();
    const QByteArray file = QFile::encodeName(QDir(m_dir.path()).filePath(QStringLiteral("Farm.db")));
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(file.constData(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "PRAGMA journal_mode=WAL; SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);

    connectTo(QStringLiteral("Farm"));
    run(QStringLiteral("INSERT INTO Cows VALUES (2)"));
    auto& held = static_cast<embedded::EmbeddedSession&>(m_connection.session()).database();
    EXPECT_EQ(held.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    m_connection.disconnect();
    sqlite3_close(holder);

    connectTo(QStringLiteral("Farm"));
    auto& alone = static_cast<embedded::EmbeddedSession&>(m_connection.session()).database();
    EXPECT_EQ(alone.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Cows")).toInt(), 2);
    EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(file) + QStringLiteral("-wal")));
}

}  // namespace
}  // namespace da::testing
