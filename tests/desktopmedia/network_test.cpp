// The network name and address: each failure of the socket library, the choice of
// address, and this machine's own answer.
#include "desktop/network.h"
#include "platform/hostlookup.h"
#include "tests/fixtures/toolsfixture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using plat::Ipv4;

class FakeLookup : public plat::HostLookup {
public:
    int startupError = 0;
    int nameError = 0;
    QByteArray name = "farm-pc";
    std::vector<Ipv4> resolved, interfaces;
    int started = 0;

    int startup() override {
        started += startupError == 0;
        return startupError;
    }
    void cleanup() override { --started; }
    int hostName(QByteArray& out, int bufferSize) override {
        EXPECT_EQ(bufferSize, 202);
        if (!nameError)
            out = name;
        return nameError;
    }
    std::vector<Ipv4> addresses(const QByteArray& n) override { return n == name ? resolved : std::vector<Ipv4>{}; }
    std::vector<Ipv4> interfaceAddresses() override { return interfaces; }
};

struct Outcome {
    bool ok;
    QString host, ip, err;
};

Outcome ask(FakeLookup& lookup) {
    Outcome o{false, QStringLiteral("old host"), QStringLiteral("old ip"), QStringLiteral("old error")};
    o.ok = desk::getIpFromHost(lookup, o.host, o.ip, o.err);
    EXPECT_EQ(lookup.started, 0) << "the library was not stopped";
    return o;
}

TEST(GetIPFromHost, EachFailureIsToldAsTheSocketLibraryNamesIt) {
    struct {
        int startupError, nameError;
        QString host, ip, err;
    } const cases[] = {
        {10091, 0, QStringLiteral("old host"), QStringLiteral("old ip"), QStringLiteral("Winsock is not responding.\"")},
        {0, 10036, QStringLiteral("old host"), QString(), QStringLiteral("WSAEInProgress")},
        {0, 10050, QStringLiteral("old host"), QString(), QStringLiteral("WSAENetDown")},
        {0, 10093, QStringLiteral("old host"), QString(), QStringLiteral("WSANotInitialised")},
        {0, 10014, QStringLiteral("old host"), QString(), QStringLiteral("old error")},
    };
    for (const auto& c : cases) {
        FakeLookup lookup;
        lookup.startupError = c.startupError;
        lookup.nameError = c.nameError;
        lookup.resolved = {{10, 1, 1, 1}};
        const Outcome o = ask(lookup);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.host, c.host);
        EXPECT_EQ(o.ip, c.ip);
        EXPECT_EQ(o.err, c.err);
    }
}

TEST(GetIPFromHost, AnswersTheFirstAddressThatIsNotLoopback) {
    struct {
        std::vector<Ipv4> resolved, interfaces;
        bool ok;
        QString ip;
    } const cases[] = {
        {{{127, 0, 1, 1}, {192, 168, 10, 5}, {10, 0, 0, 2}}, {{10, 9, 9, 9}}, true, QStringLiteral("192.168.10.5")},
        {{{127, 0, 1, 1}}, {{127, 0, 0, 1}, {172, 16, 0, 200}}, true, QStringLiteral("172.16.0.200")},
        {{}, {{127, 0, 0, 1}, {10, 2, 3, 4}}, true, QStringLiteral("10.2.3.4")},
        {{{127, 0, 1, 1}}, {{127, 0, 0, 1}}, true, QStringLiteral("127.0.1.1")},
        {{}, {}, false, QString()},
    };
    for (const auto& c : cases) {
        FakeLookup lookup;
        lookup.resolved = c.resolved;
        lookup.interfaces = c.interfaces;
        const Outcome o = ask(lookup);
        EXPECT_EQ(o.ok, c.ok) << c.ip.toStdString();
        EXPECT_EQ(o.ip, c.ip);
        EXPECT_EQ(o.host, QStringLiteral("farm-pc"));
        EXPECT_EQ(o.err, QStringLiteral("old error"));
    }
}

TEST(GetIPFromHost, HostNameIsDecodedAsAnsiText) {
    FakeLookup lookup;
    lookup.name = "\xe3\xd1\xdf\xd2";  // four Arabic letters in the Persian code page
    lookup.resolved = {{10, 0, 0, 1}};
    const Outcome o = ask(lookup);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.host.size(), 4);
    EXPECT_EQ(o.host[0].unicode(), 0x0645);
}

class ThisMachine : public ToolsFixture {};

TEST_F(ThisMachine, AnswersFourNumbersWithoutATrailingDotAndNoLoopbackWhereThereIsAnother) {
    TTools& tools = create();
    QString host, ip, err;
    ASSERT_TRUE(tools.GetIPFromHost(host, ip, err)) << err.toStdString();
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    EXPECT_EQ(host, QString::fromLocal8Bit(name));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$")).match(ip).hasMatch()) << ip.toStdString();
    bool another = false;
    for (const Ipv4& a : plat::SystemHostLookup().interfaceAddresses())
        another = another || a[0] != 127;
    if (another) {
        EXPECT_FALSE(ip.startsWith(QStringLiteral("127."))) << ip.toStdString();
    }
    EXPECT_EQ(tools.GetComputerNameX(), host.section(u'.', 0, 0));
}

}  // namespace
