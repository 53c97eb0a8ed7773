// Every statement is atomic: a process killed in the middle of a large INSERT .. SELECT
// leaves the target table as it was.
#include "embeddedserver.h"

#include "dataaccess/embedded/embeddedsession.h"
#include "dataaccess/embedded/sqlitedb.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace da::testing {
namespace {

class Atomicity : public EmbeddedServer {};

TEST_F(Atomicity, KilledInsertSelectLeavesTargetUnchanged) {
    run(QStringLiteral("CREATE TABLE Big (N int, Name nvarchar(40), W float)"));
    run(QStringLiteral("CREATE TABLE Target (N int, Name nvarchar(40), W float)"));
    run(QStringLiteral("INSERT INTO Target VALUES (-1, 'before', 0)"));
    {
        // Filling the source with SQLite itself is quicker than a million INSERTs.
        auto& db = static_cast<embedded::EmbeddedSession&>(m_connection.session()).database();
        db.exec(QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1500000) "
                               "INSERT INTO Big SELECT x, 'cow number ' || x, x * 0.5 FROM c"));
    }
    m_connection.disconnect();
    const QString started = QDir(m_dir.path()).filePath(QStringLiteral("started"));
    const QString finished = QDir(m_dir.path()).filePath(QStringLiteral("finished"));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            Connection c;
            c.setServer(server());
            c.setDatabase(QStringLiteral("Farm"));
            c.connect();
            QFile(started).open(QIODevice::WriteOnly);
            c.session().execute(QStringLiteral("INSERT INTO Target SELECT N, Name, W FROM Big"));
            QFile(finished).open(QIODevice::WriteOnly);
        } catch (...) {
            _exit(2);
        }
        _exit(0);
    }
    for (int i = 0; i < 3000 && !QFile::exists(started); ++i) QThread::msleep(5);
    ASSERT_TRUE(QFile::exists(started));
    QThread::msleep(250);
    int status = 0;
    const bool stillRunning = waitpid(child, &status, WNOHANG) == 0;
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    ASSERT_TRUE(stillRunning && !QFile::exists(finished)) << "the statement ended before the kill";

    connectTo(QStringLiteral("Farm"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Target")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Name FROM Target")).toString(), QStringLiteral("before"));
    auto& db = static_cast<embedded::EmbeddedSession&>(m_connection.session()).database();
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    // The same statement run to its end copies every row.
    run(QStringLiteral("INSERT INTO Target SELECT N, Name, W FROM Big WHERE N <= 1000"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Target")).toInt(), 1001);
}

}  // namespace
}  // namespace da::testing
