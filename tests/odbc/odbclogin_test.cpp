// Connecting to SQL Server through FreeTDS where no server answers: the login fails with
// the driver's message, and within the login timeout.
#include "dataaccess/odbc/odbcsession.h"
#include "dataaccess/sqlerror.h"
#include "dataaccess/odbc/odbctarget.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace da;

namespace {

// A TCP socket on 127.0.0.1 with a port of the system's choosing; closed with its owner.
class LocalSocket {
public:
    explicit LocalSocket(bool listen) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        m_port = ntohs(addr.sin_port);
        if (listen && ::listen(m_fd, 4) != 0)
            m_port = 0;
    }
    ~LocalSocket() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LocalSocket(const LocalSocket&) = delete;
    LocalSocket& operator=(const LocalSocket&) = delete;
    int port() const { return m_port; }

private:
    int m_fd;
    int m_port = 0;
};

bool freeTdsAvailable() {
    return odbc::registeredDrivers().contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive) ||
           !qEnvironmentVariableIsEmpty(odbc::driverVariable);
}

}  // namespace

TEST(OdbcLogin, RefusedPortFailsWithTheDriversMessage) {
    if (!freeTdsAvailable())
        GTEST_SKIP() << "FreeTDS ODBC driver not registered";
    LocalSocket bound(false);  // bound, not listening: connections are refused
    ASSERT_GT(bound.port(), 0);
    ConnectParams p;
    p.server = QStringLiteral("127.0.0.1,%1").arg(bound.port());
    p.database = QStringLiteral("master");
    p.user = QStringLiteral("sa");
    p.password = QStringLiteral("secret;pwd");
    p.loginTimeoutSeconds = 5;
    QElapsedTimer clock;
    clock.start();
    try {
        odbc::openSession(p);
        FAIL() << "connected where nothing listens";
    } catch (const SqlError& e) {
        EXPECT_LT(clock.elapsed(), 5000 + 2000);
        EXPECT_EQ(e.sqlState(), QStringLiteral("08S01"));
        EXPECT_TRUE(e.message().contains(QStringLiteral("Unable to connect"))) << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(QStringLiteral("secret")));
        EXPECT_FALSE(e.statement().contains(QStringLiteral("secret")));
    }
}

TEST(OdbcLogin, SilentServerFailsAfterTheLoginTimeout) {
    if (!freeTdsAvailable())
        GTEST_SKIP() << "FreeTDS ODBC driver not registered";
    // Listening, never answering: the TCP connection opens and the login waits for a reply.
    LocalSocket silent(true);
    ASSERT_GT(silent.port(), 0);
    ConnectParams p;
    p.server = QStringLiteral("127.0.0.1,%1").arg(silent.port());
    p.user = QStringLiteral("sa");
    p.loginTimeoutSeconds = 2;
    QElapsedTimer clock;
    clock.start();
    try {
        odbc::openSession(p);
        FAIL() << "connected to a server that never answered";
    } catch (const SqlError& e) {
        const qint64 ms = clock.elapsed();
        EXPECT_GE(ms, 1500) << "failed before the timeout: " << e.message().toStdString();
        EXPECT_LT(ms, 2000 + 4000) << "the login timeout was not applied";
        EXPECT_EQ(e.sqlState(), QStringLiteral("HYT00"));
        EXPECT_TRUE(e.message().contains(QStringLiteral("Timeout expired"))) << e.message().toStdString();
    }
}
