#include "tests/fixtures/qstringprint.h"
#include "app/batcharguments.h"

#include <gtest/gtest.h>

namespace {

using Mode = BatchArguments::Mode;

BatchArguments parse(std::initializer_list<const char*> arguments) {
    QStringList list{QStringLiteral("/opt/bv/bvtransfer")};
    for (const char* a : arguments)
        list << QString::fromUtf8(a);
    return parseBatchArguments(list);
}

TEST(BatchArguments, WindowWhenNoHeadlessOption) {
    EXPECT_EQ(parse({}).mode, Mode::Window);
    EXPECT_EQ(parse({"--app-dir", "/srv/farm"}).mode, Mode::Window);
    EXPECT_EQ(parse({"--screenshot", "x.png"}).mode, Mode::Window);
    EXPECT_TRUE(parse({"--screenshot", "x.png"}).error.isEmpty());
}

TEST(BatchArguments, Transfer) {
    const BatchArguments a = parse({"--app-dir", "/srv/farm", "--transfer", "/data/my file.txt", "--dry-run",
                                    "--customer=مزرعه ' 1"});
    EXPECT_TRUE(a.error.isEmpty()) << a.error.toStdString();
    EXPECT_EQ(a.mode, Mode::Transfer);
    EXPECT_EQ(a.transferFile, "/data/my file.txt");
    EXPECT_TRUE(a.dryRun);
    EXPECT_EQ(a.customer, QStringLiteral("مزرعه ' 1"));
}

TEST(BatchArguments, WriteCredentials) {
    const BatchArguments a = parse({"--write-credentials", "--server", "db,1433", "--database", "Farm", "--user",
                                    "sa", "--password", "-"});
    EXPECT_TRUE(a.error.isEmpty()) << a.error.toStdString();
    EXPECT_EQ(a.mode, Mode::WriteCredentials);
    EXPECT_EQ(a.server, "db,1433");
    EXPECT_EQ(a.database, "Farm");
    EXPECT_EQ(a.user, "sa");
    EXPECT_EQ(a.password, "-");
    const BatchArguments empty =
        parse({"--write-credentials", "--server", "s", "--database", "d", "--user", "u", "--password="});
    EXPECT_TRUE(empty.error.isEmpty());
    EXPECT_EQ(empty.password, "");
}

TEST(BatchArguments, UnusableCombinationsAreErrors) {
    const std::initializer_list<const char*> cases[] = {
        {"--transfer"},
        {"--transfer", "f.txt", "--bogus"},
        {"--transfer", "f.txt", "--write-credentials"},
        {"--write-credentials", "--server", "s", "--database", "d", "--user", "u"},
        {"--write-credentials", "--server", "s", "--database", "d", "--password", "p"},
        {"--write-credentials", "--server", "s", "--database", "d", "--user", "u", "--password", "p", "--dry-run"},
        {"--transfer", "f.txt", "--app-dir"},
    };
    for (const auto& c : cases) {
        const BatchArguments a = parse(c);
        EXPECT_FALSE(a.error.isEmpty()) << "case starting " << *c.begin() << " of " << c.size();
    }
}

}  // namespace
