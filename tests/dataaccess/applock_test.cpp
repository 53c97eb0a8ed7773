// Application locks of the embedded engine: held by a session, refused to the others
// until it gives them up, and given up by a process that is killed.
#include "embeddedserver.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace da::testing {
namespace {

QString getLock(const QString& resource, int timeoutMs, const char* mode = "Exclusive") {
    return QStringLiteral("DECLARE @r int; EXEC @r = sp_getapplock @Resource = '%1', @LockMode = '%2', "
                          "@LockOwner = 'Session', @LockTimeout = %3; SELECT @r AS Status")
        .arg(resource, QLatin1String(mode))
        .arg(timeoutMs);
}

QString releaseLock(const QString& resource) {
    return QStringLiteral("EXEC sp_releaseapplock @Resource = '%1', @LockOwner = 'Session'").arg(resource);
}

class AppLock : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        m_other.setServer(server());
        m_other.setDatabase(QStringLiteral("Farm"));
        m_other.connect();
    }
    int status(Connection& c, const QString& resource, int timeoutMs, const char* mode = "Exclusive") {
        const ResultSet r = c.session().execute(getLock(resource, timeoutMs, mode));
        return r.rows.empty() ? -1000 : r.rows[0][0].toInt();
    }
    Connection m_other;
};

TEST_F(AppLock, HeldBySessionRefusedToOthersUntilReleased) {
    EXPECT_EQ(status(m_connection, "BVTransfer", 0), 0);
    EXPECT_EQ(status(m_other, "BVTransfer", 0), -1);
    EXPECT_EQ(status(m_other, "BVTransfer", 50), -1);  // waited, then timed out
    EXPECT_EQ(status(m_other, "bvtransfer", 0), 0) << "resource names differ in letter case";
    m_other.session().execute(releaseLock("bvtransfer"));
    // The holder asks again: granted; each grant needs its release.
    EXPECT_EQ(status(m_connection, "BVTransfer", 0), 0);
    run(releaseLock("BVTransfer"));
    EXPECT_EQ(status(m_other, "BVTransfer", 0), -1);
    run(releaseLock("BVTransfer"));
    EXPECT_EQ(status(m_other, "BVTransfer", 0), 0);
    m_other.disconnect();  // a session that ends gives its locks up
    EXPECT_EQ(status(m_connection, "BVTransfer", 0), 0);
}

TEST_F(AppLock, WrongUsesFailWithSqlServersErrors) {
    struct Case {
        QString statement;
        QString error;
    };
    const Case cases[] = {
        {releaseLock("NotHeld"), "Cannot release the application lock (Database Principal: 'public', Resource: "
                                 "'NotHeld') because it is not currently held."},
        {"EXEC sp_getapplock @LockMode = 'Exclusive', @LockOwner = 'Session'",
         "Procedure or function 'sp_getapplock' expects parameter '@Resource', which was not supplied."},
        {"EXEC @r = sp_getapplock @Resource = 'x', @LockMode = 'Exclusive', @LockOwner = 'Session'",
         "Must declare the scalar variable \"@r\"."},
        {"DECLARE @r int; DECLARE @r int", "The variable name '@r' has already been declared. Variable names must be "
                                           "unique within a query batch or stored procedure."},
        {"IF 1 = 1 RAISERROR('busy farm', 16, 1)", "busy farm"},
    };
    for (const Case& c : cases) EXPECT_EQ(errorOf(c.statement), c.error) << c.statement.toStdString();
    // A batch's variables end with it.
    EXPECT_EQ(errorOf(QStringLiteral("EXEC @r = sp_releaseapplock @Resource = 'x', @LockOwner = 'Session'")),
              QStringLiteral("Must declare the scalar variable \"@r\"."));
}

// The lock lives as long as the process holding it: one killed mid-transfer must not
// keep every later transfer out.
TEST_F(AppLock, KilledHolderGivesTheLockUp) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        try {
            Connection c;
            c.setServer(server());
            c.setDatabase(QStringLiteral("Farm"));
            c.connect();
            const bool got = c.session().execute(getLock("BVTransfer", 0)).rows.at(0).at(0).toInt() == 0;
            const char byte = got ? 'y' : 'n';
            if (write(ready[1], &byte, 1) != 1) _exit(3);
            pause();  // until killed
        } catch (...) {
        }
        _exit(2);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    ASSERT_EQ(byte, 'y');
    EXPECT_EQ(status(m_connection, "BVTransfer", 0), -1);
    kill(child, SIGKILL);
    int st = 0;
    waitpid(child, &st, 0);
    EXPECT_EQ(status(m_connection, "BVTransfer", 0), 0);
}

}  // namespace
}  // namespace da::testing
